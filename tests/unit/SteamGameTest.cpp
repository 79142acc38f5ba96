// Steam's KeyValues files: what the reader takes and what it refuses whole;
// the library folders and the game's folder found through them.
#include <gtest/gtest.h>

#include "mods/GameDiscovery.h"
#include "mods/SteamGame.h"
#include "mods/Vdf.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

TEST(Vdf, ReadsSteamsFilesAndRefusesAnythingOutOfForm)
{
    const auto good = ParseVdf("// written by Steam\n\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"C:\\\\Program Files (x86)\\\\Steam\"\n"
                               "\t\t\"apps\" { \"200710\" \"1\" } [$WIN32]\n\t\t\"label\"\t\t\"\\\"mine\\\"\"\n\t}\n\t1 /mnt/games [$LINUX]\n}\n");
    ASSERT_TRUE(good);
    ASSERT_EQ(good->size(), 1u);
    const VdfNode* folders = FindVdfKey(*good, "LibraryFolders");
    ASSERT_TRUE(folders && folders->isSection);
    ASSERT_EQ(folders->children.size(), 2u);
    EXPECT_EQ(FindVdfKey(folders->children[0].children, "path")->value, "C:\\Program Files (x86)\\Steam");
    EXPECT_EQ(FindVdfKey(folders->children[0].children, "label")->value, "\"mine\"");
    EXPECT_EQ(FindVdfKey(folders->children[0].children, "apps")->children[0].key, "200710");
    EXPECT_EQ(folders->children[1].value, "/mnt/games");

    struct Case {
        int line;
        std::string text;
    };
    const Case bad[] = {
        {__LINE__, "\"libraryfolders\"\n{\n\t\"0\" { \"path\" \"/x\" }\n"},  // never closed
        {__LINE__, "\"libraryfolders\" { \"path\" \"/x }\n"},                   // a quote never closed
        {__LINE__, "\"a\" \"b\" }"},
        {__LINE__, "\"key\""},
        {__LINE__, "\"key\" [$WIN32"},
        {__LINE__, "{ \"a\" \"b\" }"},
        {__LINE__, "\"a\" { \"b\" }"},
        {__LINE__, "\"a\" \"b\" \"c\""},
    };
    for (const Case& c : bad)
        EXPECT_FALSE(ParseVdf(c.text)) << "line " << c.line;
    std::string deep;
    for (int i = 0; i < kMaxVdfDepth; ++i)
        deep += "k {";
    EXPECT_TRUE(ParseVdf(deep + std::string(kMaxVdfDepth, '}')));
    EXPECT_FALSE(ParseVdf(deep + "k {" + std::string(kMaxVdfDepth + 1, '}')));
    EXPECT_TRUE(ParseVdf(""));
}

TEST(SteamGame, LibrariesOfBothFormsAndTheGamesFolderInThem)
{
    TempFolder steam, second, third;
    MakeFolder(steam / L"steamapps");
    MakeFolder(second / L"steamapps");
    const std::string current = "\"libraryfolders\" { \"contentstatsid\" \"7\" \"0\" { \"path\" \"" +
                                platform::ToUtf8(steam.path()) + "\" } \"1\" { \"path\" \"" + platform::ToUtf8(second.path()) +
                                "/\" \"apps\" { } } \"2\" { \"label\" \"no path\" } }";
    WriteFile(steam / L"steamapps/libraryfolders.vdf", current);
    platform::FileSystem& fs = platform::SystemFileSystem();
    EXPECT_EQ(SteamLibraryFolders(fs, steam.path()), (std::vector<std::wstring>{steam.path(), second.path()}));
    WriteFile(steam / L"steamapps/libraryfolders.vdf", "\"LibraryFolders\" { \"TimeNextStatsReport\" \"1\" \"1\" \"" +
                                                            platform::ToUtf8(third.path()) + "\" }");
    EXPECT_EQ(SteamLibraryFolders(fs, steam.path()), (std::vector<std::wstring>{steam.path(), third.path()}));

    const std::wstring common = platform::JoinPath(platform::JoinPath(second.path(), L"steamapps"), L"common");
    EXPECT_EQ(GameFolderInLibrary(fs, second.path()), platform::JoinPath(common, L"Torchlight II"));
    for (const auto& [installdir, folder] : {std::pair{"TL2", L"TL2"}, std::pair{"../../etc", L"Torchlight II"},
                                             std::pair{"", L"Torchlight II"}}) {
        WriteFile(second / L"steamapps/appmanifest_200710.acf",
                  std::string("\"AppState\" { \"appid\" \"200710\" \"installdir\" \"") + installdir + "\" }");
        EXPECT_EQ(GameFolderInLibrary(fs, second.path()), platform::JoinPath(common, folder)) << installdir;
    }
    MakeFolder(platform::JoinPath(platform::JoinPath(common, L"Torchlight II"), L"Paks"));
    EXPECT_EQ(PaksSubfolder(fs, platform::JoinPath(common, L"Torchlight II")),
              platform::JoinPath(platform::JoinPath(common, L"Torchlight II"), L"Paks"));
    EXPECT_FALSE(PaksSubfolder(fs, common));
}

TEST(SteamGame, TensOfThousandsOfLibrariesAreEachLookedAtOnce)
{
    // As many libraries as Steam's file holds within its limit, some named
    // twice: each is kept once, where it was first named.
    TempFolder steam, library;
    MakeFolder(steam / L"steamapps");
    const std::wstring game =
        platform::JoinPath(platform::JoinPath(platform::JoinPath(library.path(), L"steamapps"), L"common"), L"Torchlight II");
    MakeFolder(platform::JoinPath(game, L"PAKS"));
    for (const wchar_t* pak : {L"a.pak", L"b.pak"})
        WriteFile(platform::JoinPath(platform::JoinPath(game, L"PAKS"), pak));
    std::string vdf = "\"libraryfolders\"\n{\n";
    std::vector<std::wstring> expected{steam.path()};
    for (int i = 0; i < 62000; ++i) {
        const int number = i % 50000;
        const std::wstring named = number == 49999 ? library.path() : L"/n/" + std::to_wstring(number);
        std::string quoted;
        for (const char c : platform::ToUtf8(named))
            quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);  // as Steam writes Windows paths
        vdf += std::to_string(i) + " \"" + quoted + "\"\n";
        if (i == number)
            expected.push_back(named);
    }
    vdf += "}\n";
    ASSERT_LT(vdf.size(), 1u << 20);
    WriteFile(steam / L"steamapps/libraryfolders.vdf", vdf);
    platform::FileSystem& fs = platform::SystemFileSystem();
    EXPECT_EQ(SteamLibraryFolders(fs, steam.path()), expected);

    // The game found once, though named twice.
    const DiscoveredGames found = DiscoverGames(fs, {L"/n/1", game, L"/n/2", platform::WithTrailingSeparator(game)});
    EXPECT_EQ(found.paksFolders, std::vector<std::wstring>{platform::WithTrailingSeparator(platform::JoinPath(game, L"PAKS"))});
}

}  // namespace
