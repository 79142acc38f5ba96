#pragma once
// What makes a file in the PAKS folder a mod, and the names derived from it.

#include <string>
#include <string_view>

namespace mods {

// Comma-separated extensions, compared case-sensitively.
inline constexpr std::wstring_view kModExtensions = L"PAK,pak,G1O";
inline constexpr std::wstring_view kEnabledPakExtensions = L"PAK,pak";
// '|'-separated whole names of the game's own data, never listed as mods.
inline constexpr std::wstring_view kGameDataNames = L"DATA.PAK|data.pak";
inline constexpr std::wstring_view kDisabledSuffix = L"G1O";
inline constexpr std::wstring_view kCompanionSuffix = L".MAN";

// The text after the last dot, unless that dot is the name's first character.
std::wstring_view FileExtension(std::wstring_view name);

// True when the extension is one of the comma-separated entries of the list.
bool HasExtensionIn(std::wstring_view name, std::wstring_view extensionList);

// True when the name equals one of the '|'-separated names.
bool IsOneOfNames(std::wstring_view name, std::wstring_view nameList);

// A mod file: a listed extension and not the game's own data.
bool IsModFileName(std::wstring_view name);

// A mod is disabled when its name ends in "G1O".
bool IsDisabledModName(std::wstring_view name);

// "a.PAK" -> "a.PAK.MAN"; the companion need not exist.
std::wstring CompanionName(std::wstring_view modName);

}  // namespace mods
