// Where the window's settings and the records of both front ends live.

#include <gtest/gtest.h>

#include "mods/SettingsPlace.h"
#include "platform/Paths.h"

using namespace mods;

namespace {

// Paths are written with '/' and turned into the system's separators.
std::wstring P(std::wstring text)
{
    for (wchar_t& c : text)
        if (c == L'/')
            c = platform::kPathSeparator;
    return text;
}

TEST(SettingsPlace, TheFolderIsTheWindowsTheIniTheProgramsTheRecordsShared)
{
    const SettingsPlace window = SettingsPlaceOf(P(L"/u/AppData/Roaming"), L"PakOrder");
    EXPECT_EQ(window.settingsFile, P(L"/u/AppData/Roaming/PakOrder/PakOrder.INI"));
    EXPECT_EQ(window.recordsFolder, P(L"/u/AppData/Roaming/PakOrder/History"));

    // A renamed window keeps settings of its own beside the same records.
    const SettingsPlace renamed = SettingsPlaceOf(P(L"/u/AppData/Roaming/"), L"Mods");
    EXPECT_EQ(renamed.settingsFile, P(L"/u/AppData/Roaming/PakOrder/Mods.INI"));
    EXPECT_EQ(renamed.recordsFolder, window.recordsFolder);

    // A settings file named elsewhere takes its records along.
    EXPECT_EQ(RecordsBeside(window.settingsFile), window.recordsFolder);
    EXPECT_EQ(RecordsBeside(P(L"/tmp/t1/PakOrder.INI")), P(L"/tmp/t1/History"));

    const SettingsPlace nowhere = SettingsPlaceOf(L"", L"PakOrder");
    EXPECT_TRUE(nowhere.settingsFile.empty());
    EXPECT_TRUE(nowhere.recordsFolder.empty());
}

TEST(SettingsPlace, TheProgramsBaseNameDropsOnlyItsExtension)
{
    EXPECT_EQ(ProgramBaseName(P(L"/games/t2/PakOrder.exe")), L"PakOrder");
    EXPECT_EQ(ProgramBaseName(P(L"/games/t2/Pak.Order.exe")), L"Pak.Order");
    EXPECT_EQ(ProgramBaseName(P(L"/games/t2.v2/PakOrder")), L"PakOrder");
    EXPECT_EQ(ProgramBaseName(L"PakOrder.EXE"), L"PakOrder");
    EXPECT_EQ(ProgramBaseName(P(L"/games/.exe")), L".exe");  // never an INI without a name
#ifdef _WIN32
    EXPECT_EQ(ProgramBaseName(L"C:\\Games\\T2\\PakOrder.exe"), L"PakOrder");
    EXPECT_EQ(SettingsPlaceOf(L"C:\\Users\\u\\AppData\\Roaming", L"PakOrder").settingsFile,
              L"C:\\Users\\u\\AppData\\Roaming\\PakOrder\\PakOrder.INI");
#endif
}

}  // namespace
