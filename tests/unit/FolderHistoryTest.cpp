#include <gtest/gtest.h>

#include <set>

#include "dialogs/folder/FolderHistory.h"
#include "platform/Profile.h"
#include "unit/TestFiles.h"

#ifdef _WIN32
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/IniProfile.h"
#endif

using folder::FolderHistory;

namespace {

const std::wstring kSection = L"FolderHistory";
const std::wstring kPrefix = L"Folder";

std::wstring Path(int i) { return L"D:\\Games\\Mods" + std::to_wstring(i); }

struct Disk {
    std::set<std::wstring> folders;
    FolderHistory::ExistsCheck check()
    {
        return [this](const std::wstring& path) { return folders.count(path) > 0; };
    }
};

#ifdef _WIN32
// A UTF-16LE file's text, its byte-order mark included.
std::wstring ReadUtf16(const std::wstring& path)
{
    const std::string bytes = testing_files::ReadFile(path);
    std::wstring text(bytes.size() / 2, L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
}
#endif

// The same rules on any profile: in memory natively, in a real INI file under Wine.
void CheckHistoryRules(platform::Profile& profile)
{
    Disk disk;
    for (int i = 0; i < 60; ++i)
        disk.folders.insert(Path(i));
    disk.folders.insert(L"C:\\Trimmed");
    disk.folders.insert(L"C:\\MiXeD");

    {   // Nothing stored yet.
        FolderHistory history(profile, disk.check());
        EXPECT_EQ(history.ReadHistory(kSection, kPrefix), L"");
        EXPECT_TRUE(history.items().empty());
        history.WriteHistory(L"  C:\\Trimmed  ");
        EXPECT_EQ(history.items(), (std::vector<std::wstring>{L"C:\\Trimmed"}));
    }
    EXPECT_EQ(profile.Read(kSection, L"Folder0000"), L"C:\\Trimmed");
    // INI files drop the blanks around values; the text itself is kept.
    EXPECT_EQ(folder::Trim(profile.Read(kSection, L"Folder")), L"C:\\Trimmed");

    {   // Equal but for letter case: the new spelling replaces the old entry.
        FolderHistory history(profile, disk.check());
        EXPECT_EQ(folder::Trim(history.ReadHistory(kSection, kPrefix)), L"C:\\Trimmed");
        history.WriteHistory(L"c:\\trimmed");
        EXPECT_EQ(history.items(), (std::vector<std::wstring>{L"c:\\trimmed"}));
        history.WriteHistory(L"C:\\MiXeD");
        history.WriteHistory(L"c:\\TRIMMED");
        EXPECT_EQ(history.items(), (std::vector<std::wstring>{L"c:\\TRIMMED", L"C:\\MiXeD"}));
    }
    {   // The current text comes back in its entry's spelling.
        profile.Write(kSection, L"Folder", L"C:\\mixed");
        FolderHistory history(profile, disk.check());
        EXPECT_EQ(history.ReadHistory(kSection, kPrefix), L"C:\\MiXeD");
    }
    {   // Fifty at most: a new one drops the oldest.
        FolderHistory history(profile, disk.check());
        history.ReadHistory(kSection, kPrefix);
        for (int i = 0; i < 50; ++i)
            history.WriteHistory(Path(i));
        ASSERT_EQ(history.items().size(), 50u);
        EXPECT_EQ(history.items().front(), Path(49));
        EXPECT_EQ(history.items().back(), Path(0));
        history.WriteHistory(Path(50));
        EXPECT_EQ(history.items().size(), 50u);
        EXPECT_EQ(history.items().back(), Path(1));
    }
    EXPECT_EQ(profile.Read(kSection, L"Folder0049"), Path(1));
    EXPECT_EQ(profile.Read(kSection, L"Folder0050"), L"");
    {   // A folder that is gone is not shown but uses up one of the fifty reads.
        disk.folders.erase(Path(50));
        FolderHistory history(profile, disk.check());
        history.ReadHistory(kSection, kPrefix);
        EXPECT_EQ(history.items().size(), 49u);
        EXPECT_EQ(history.items().front(), Path(49));
        // Writing the shorter list deletes the keys beyond it.
        history.WriteHistory(L"");
    }
    EXPECT_EQ(profile.Read(kSection, L"Folder0048"), Path(1));
    EXPECT_EQ(profile.Read(kSection, L"Folder0049"), L"");
    EXPECT_EQ(profile.Read(kSection, L"Folder"), L"");
}

TEST(FolderHistory, RulesInMemory)
{
    platform::MemoryProfile profile;
    CheckHistoryRules(profile);
}

TEST(FolderHistory, StaleKeysGoUpToTheFirstGap)
{
    platform::MemoryProfile profile;
    for (int i : {0, 1, 2, 3, 4, 6})
        profile.Write(kSection, FolderHistory::Key(kPrefix, i), Path(i));
    Disk disk{{Path(0), Path(1)}};
    FolderHistory history(profile, disk.check());
    history.ReadHistory(kSection, kPrefix);
    EXPECT_EQ(history.items(), (std::vector<std::wstring>{Path(0), Path(1)}));
    history.WriteHistory(Path(1));
    EXPECT_EQ(profile.Read(kSection, L"Folder0000"), Path(1));
    EXPECT_EQ(profile.Read(kSection, L"Folder0001"), Path(0));
    for (int i : {2, 3, 4})
        EXPECT_EQ(profile.Read(kSection, FolderHistory::Key(kPrefix, i)), L"") << i;
    EXPECT_EQ(profile.Read(kSection, L"Folder0006"), Path(6));  // beyond the gap
}

TEST(FolderHistory, KeysHaveFourDigitsAndTrimmingIsOnBothEnds)
{
    EXPECT_EQ(FolderHistory::Key(L"Folder", 7), L"Folder0007");
    EXPECT_EQ(FolderHistory::Key(L"Folder", 999), L"Folder0999");
    EXPECT_EQ(folder::Trim(L" \t D:\\x \r\n"), L"D:\\x");
    EXPECT_EQ(folder::Trim(L"   "), L"");
}

TEST(FolderHistory, EqualIgnoringCaseFoldsEveryCasedScript)
{
    struct Case { int line; std::wstring a, b; bool equal; };
    const Case cases[] = {
        {__LINE__, L"D:\\Games", L"d:\\gAMES", true},
        {__LINE__, L"D:\\Games", L"D:\\Game", false},
        {__LINE__, L"Ж", L"ж", true},
        {__LINE__, L"C:\\Игры\\Ёлка", L"c:\\ИГРЫ\\ёлка", true},
        {__LINE__, L"Σ", L"σ", true},
        {__LINE__, L"ΣΟΦΟΣ", L"σοφος", true},
        {__LINE__, L"Ａ", L"ａ", true},  // full-width
        {__LINE__, L"Éléphant Ÿ", L"éLÉPHANT ÿ", true},
        {__LINE__, L"Łódź", L"łÓDŹ", true},
        {__LINE__, L"Ж", L"Ш", false},
        {__LINE__, L"Σ", L"Τ", false},
        {__LINE__, L"Ａ", L"A", false},  // full-width is not ASCII
        {__LINE__, L"Ａ", L"ｂ", false},
        {__LINE__, L"火炬之光2", L"火炬之光2", true},
        {__LINE__, L"火炬之光2", L"火炬之光3", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(folder::EqualIgnoringCase(c.a, c.b), c.equal) << "line " << c.line;
        EXPECT_EQ(folder::EqualIgnoringCase(c.b, c.a), c.equal) << "line " << c.line;
    }
}

#ifdef _WIN32
TEST(FolderHistory, RulesInARealIniFile)
{
    testing_files::TempFolder folder;
    platform::IniProfile profile(folder / L"sub\\PakOrder.INI");  // the folder is made on the first write
    CheckHistoryRules(profile);
    EXPECT_NE(ReadUtf16(profile.path()).find(L"[FolderHistory]"), std::wstring::npos);
}

TEST(FolderHistory, ARealIniFileKeepsEveryCharacterAndAnOldAnsiFileStillWorks)
{
    testing_files::TempFolder folder;
    const auto isFolder = [](const std::wstring& path) { return platform::SystemFileSystem().FolderExists(path); };
    {   // A new file is Unicode: names outside the system's code page come back whole.
        const std::wstring paks = folder / L"Games\\화염 火炬之光2 Ж\\PAKS";
        testing_files::MakeFolder(paks);
        platform::IniProfile profile(folder / L"PakOrder.INI");
        FolderHistory written(profile, isFolder);
        written.ReadHistory(kSection, kPrefix);
        written.WriteHistory(paks);
        FolderHistory read(profile, isFolder);
        EXPECT_EQ(read.ReadHistory(kSection, kPrefix), paks);
        EXPECT_EQ(read.items(), (std::vector<std::wstring>{paks}));
    }
    {   // A file in the system's code page, as older versions left it.
        Disk disk{{L"C:\\Older", L"C:\\Newer"}};
        const std::wstring ini = folder / L"Ansi.INI";
        testing_files::WriteFile(ini, "[FolderHistory]\r\nFolder0000=C:\\Older\r\n");
        platform::IniProfile profile(ini);
        FolderHistory history(profile, disk.check());
        history.ReadHistory(kSection, kPrefix);
        EXPECT_EQ(history.items(), (std::vector<std::wstring>{L"C:\\Older"}));
        history.WriteHistory(L"C:\\Newer");
        FolderHistory read(profile, disk.check());
        EXPECT_EQ(read.ReadHistory(kSection, kPrefix), L"C:\\Newer");
        EXPECT_EQ(read.items(), (std::vector<std::wstring>{L"C:\\Newer", L"C:\\Older"}));
    }
}
#endif

}  // namespace
