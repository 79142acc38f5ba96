#pragma once
// Where the window keeps its settings, and both the window and the command
// line the records of their writes, under the roaming application data:
//   %APPDATA%\PakOrder\<program>.INI   the window's settings
//   %APPDATA%\PakOrder\History\        the records
// The folder keeps the window's name whatever its file is called; the INI is
// named after the program, so a renamed copy keeps settings of its own and
// shares the records.

#include <string>
#include <string_view>

namespace mods {

// The window's name: the folder under the application data, and the program
// whose INI the command line reads (its own file is named otherwise).
inline constexpr const wchar_t* kWindowName = L"PakOrder";
// The folder picker's history in the INI, whose key without a number holds
// the folder last accepted.
inline constexpr const wchar_t* kFolderHistorySection = L"FolderHistory";
inline constexpr const wchar_t* kLastFolderKey = L"Folder";

struct SettingsPlace {
    std::wstring settingsFile;   // <appData>\PakOrder\<program>.INI
    std::wstring recordsFolder;  // <appData>\PakOrder\History
};

// Both empty without an application data folder.
SettingsPlace SettingsPlaceOf(std::wstring_view appData, std::wstring_view programBaseName);
// The records beside a settings file: a test's INI elsewhere takes them along.
std::wstring RecordsBeside(std::wstring_view settingsFile);
// The program's file name without its extension: "PakOrder" of "...\PakOrder.exe".
std::wstring ProgramBaseName(std::wstring_view programPath);

}  // namespace mods
