#pragma once
// A mod list to share: the mods in load order, each enabled or disabled,
// named without their extensions so that the list does not depend on the
// state. UTF-8 text:
//
//   # PakOrder mod list 1
//   + BetterLoot
//   + BetterLoot Patch
//   - 更多宠物
//   = BetterLoot Patch > BetterLoot
//
// The first line names the format and its version; "+" is enabled, "-"
// disabled, one space, then the name to the end of the line; "=", one
// space, then an overlap the player intends, as IntendedOverlaps writes it.
// Other lines starting with "#" are comments; blank lines are skipped; CRLF
// and LF both read. The bytes come from anywhere and are not trusted. (A
// reader older than the "=" line refuses a list holding one, naming the
// line, so the version stays 1.)

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mods/IntendedOverlaps.h"

namespace mods {

struct ModListEntry {
    std::wstring name;  // without the extension: "a" for a.pak and a.G1O
    bool enabled = true;
    friend bool operator==(const ModListEntry&, const ModListEntry&) = default;
};

// No list a player shares comes near: a larger file is refused unread.
inline constexpr std::size_t kMaxModListBytes = 4u << 20;

// The entry of a pak on disk: "a.G1O" -> {"a", disabled}.
ModListEntry ModListEntryOf(std::wstring_view pakName);

// True for strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsStrictUtf8(std::string_view text);
// The rules of our line-based files (mod lists, intended overlaps): a line
// without its line end and trailing blanks, and the N of a first line
// "<magic>N" (none when the line is not such a first line).
std::string_view TrimLineEnd(std::string_view line);
std::optional<unsigned> HeaderVersion(std::string_view firstLine, std::string_view magic);

// True when name + ".PAK" (and its ".MAN") can be a file's name on every
// system the game runs on: not empty, no path separator or control
// character, none of the characters Windows refuses, no reserved device
// name, no trailing dot or space, not too long.
bool IsModListName(std::wstring_view name);

// The list's text. Mods whose names IsModListName refuses cannot be
// written: they are left out and appended to `leftOut`.
std::string FormatModList(const std::vector<ModListEntry>& mods, std::vector<std::wstring>* leftOut = nullptr);

// The same with the overlaps the player intends after the mods. Pairs
// FormatOverlapPair refuses are left out too.
std::string FormatModList(const std::vector<ModListEntry>& mods, const std::vector<IntendedOverlap>& intended,
                          std::vector<std::wstring>* leftOut = nullptr);

// The names that more than one of the mods take, compared as the reader
// compares them (a.pak beside a.G1O, or a.pak beside A.PAK): a list of such
// mods names one twice and could never be read back, so none is written.
// Each name once, as the first of them spells it; names FormatModList
// leaves out do not count.
std::vector<std::wstring> NamesTakenTwice(const std::vector<ModListEntry>& mods);

struct ArrangedMod;
struct ModEntry;

// The list of mods in load order, as exported: its text, or none when
// names are taken twice (a list its own import would refuse is not
// written at all).
struct ModListExport {
    std::string text;
    std::vector<std::wstring> leftOut;     // FormatModList's
    std::vector<std::wstring> takenTwice;  // NamesTakenTwice's: when any, there is no text
};
// The rows the window shows, or the folder's mods as read.
ModListExport ExportModList(const std::vector<ArrangedMod>& rows);
ModListExport ExportModList(const std::vector<ModEntry>& mods);

enum class ModListFault {
    NotAModList,   // the first line is not a mod list's
    OtherVersion,  // a list of a version this program does not read
    Binary,        // a NUL byte, or bytes that are not UTF-8
    TooLarge,      // more than kMaxModListBytes
    BadLine,       // neither a comment nor a mark, a space and a name (or a pair)
    BadName,       // a name that cannot be a mod's file name
    Duplicate,     // a mod or a pair named twice (names compared as Windows does)
};

struct ModListProblem {
    ModListFault fault = ModListFault::NotAModList;
    int line = 0;       // the line at fault (1-based), where there is one
    std::wstring name;  // BadName, Duplicate: the name
};

struct ModListContents {
    std::vector<ModListEntry> mods;
    std::vector<IntendedOverlap> intended;
};

// Never reads past the bytes; time in proportion to their size. A pair may
// name mods the list does not.
std::optional<ModListContents> ParseModListContents(const std::vector<unsigned char>& bytes, ModListProblem& whyNot);
// The mods alone.
std::optional<std::vector<ModListEntry>> ParseModList(const std::vector<unsigned char>& bytes, ModListProblem& whyNot);

}  // namespace mods
