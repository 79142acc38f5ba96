// Which folder pakorder manages: --folder, the current folder, the game
// where Steam installed it; and where the records go.
#include <gtest/gtest.h>

#include <filesystem>

#include "commandline/CliHarness.h"
#include "commandline/JsonSchema.h"
#ifdef _WIN32
#include <windows.h>

#include "platform/IniProfile.h"
#endif
#include "platform/Utf8.h"

using namespace cli_testing;
using namespace testing_files;

namespace {

TEST(Discovery, TheFolderNamedThenTheCurrentOne)
{
    Cli cli;
    cli.AddMods({L"a.pak"});
    TempFolder elsewhere;
    WriteFile(elsewhere / L"DATA.PAK");  // one pak: not a PAKS folder
    for (const std::wstring& named : {cli.game, cli.paks, cli.paks + L"/"}) {
        cli.system.current = elsewhere.path();
        const Result result = cli.Run({L"list", L"--folder", named});
        EXPECT_EQ(result.status, 0) << result;
        EXPECT_EQ(result.out, "   1  [x]  ?   2021-1-2    a.pak\n1 mod, 1 enabled\n");
    }
    cli.system.current = cli.paks;
    EXPECT_EQ(cli.Run({L"list"}).status, 0);

    cli.system.current = elsewhere.path();
    const Result named = cli.Run({L"--folder", elsewhere.path(), L"list"});
    EXPECT_EQ(named.status, 1);
    EXPECT_EQ(named.err, "pakorder: " + platform::ToUtf8(elsewhere.path()) +
                             " is not a PAKS folder nor a game folder with one (a PAKS folder holds at least two .PAK files)\n");
    const Result none = cli.Run({L"list"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "pakorder: no game folder found: run pakorder in the game's folder or its PAKS folder, or "
                        "name it with --folder PATH\n");
    EXPECT_EQ(none.out, "");
}

#ifdef _WIN32
TEST(Discovery, BesideTheProgramThenTheFolderTheWindowLastChose)
{
    Cli cli;
    cli.AddMods({L"a.pak"});
    TempFolder elsewhere;
    cli.system.current = elsewhere.path();
    cli.system.program = cli.game;  // beside PakOrder.exe in the game's folder
    EXPECT_EQ(cli.Run({L"list"}).status, 0);
    cli.system.program = elsewhere.path();
    EXPECT_EQ(cli.Run({L"list"}).status, 1);
    MakeFolder(cli.root / L"appdata\\PakOrder");
    platform::IniProfile(cli.root / L"appdata\\PakOrder\\PakOrder.INI").Write(L"FolderHistory", L"Folder", cli.paks);
    const Result found = cli.Run({L"list", L"--json"});
    EXPECT_EQ(found.status, 0) << found;
    EXPECT_EQ(ParseJson(found.out).value_or(Json{})["folder"].text, platform::ToUtf8(platform::WithTrailingSeparator(cli.paks)));
}

// A registry value the test sets, and takes away again however the test ends.
struct RegistryValue {
    HKEY root;
    std::wstring removeFrom;
    RegistryValue(HKEY r, const std::wstring& key, const wchar_t* name, const std::wstring& value, std::wstring removed)
        : root(r), removeFrom(std::move(removed))
    {
        EXPECT_EQ(RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    ~RegistryValue() { RegDeleteTreeW(root, removeFrom.c_str()); }
};

// An installation of the game whose PAKS holds a mod of its own.
std::wstring Installed(const TempFolder& game, const wchar_t* mod)
{
    MakeFolder(game / L"PAKS");
    WriteFile(game / L"PAKS\\DATA.PAK");
    WriteFile(platform::JoinPath(game / L"PAKS", mod));
    WriteFile(game / L"Torchlight2.exe");
    return platform::WithTrailingSeparator(game / L"PAKS");
}

TEST(Discovery, SteamAndGogAsTheWindowFindsThemAfterTheProgramsFolderBeforeTheWindowsLast)
{
    Cli cli;
    cli.AddMods({L"a.pak"});
    TempFolder elsewhere, steam, gog;
    const std::wstring steamPaks = Installed(steam, L"steam.pak"), gogPaks = Installed(gog, L"gog.pak");
    cli.system.current = elsewhere.path();
    cli.system.program = elsewhere.path();
    MakeFolder(cli.root / L"appdata\\PakOrder");
    platform::IniProfile(cli.root / L"appdata\\PakOrder\\PakOrder.INI").Write(L"FolderHistory", L"Folder", cli.paks);
    const auto found = [&] {
        const Result listed = cli.Run({L"list", L"--json"});
        EXPECT_EQ(listed.status, 0) << listed;
        return platform::FromUtf8(ParseJson(listed.out).value_or(Json{})["folder"].text);
    };
    EXPECT_EQ(found(), platform::WithTrailingSeparator(cli.paks));
    {
        const RegistryValue gogEntry(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\GOG.com\\Games\\1207658694", L"path",
                                     gog.path(), L"SOFTWARE\\WOW6432Node\\GOG.com");
        EXPECT_EQ(found(), gogPaks);
        const std::wstring uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 200710";
        const RegistryValue steamEntry(HKEY_LOCAL_MACHINE, uninstall, L"InstallLocation", steam.path(), uninstall);
        EXPECT_EQ(found(), steamPaks);
        cli.system.program = cli.game;  // beside PakOrder.exe in the game's folder
        EXPECT_EQ(found(), platform::WithTrailingSeparator(cli.paks));
        cli.system.program = elsewhere.path();
    }
    EXPECT_EQ(found(), platform::WithTrailingSeparator(cli.paks));
}
#else
// Steam in the home folder with a second library elsewhere, which holds the game.
struct SteamTree {
    Cli cli;
    TempFolder elsewhere, library;
    std::wstring home = cli.root / L"home";
    std::wstring steam = home + L"/.local/share/Steam";
    std::wstring paks = library.path() + L"/steamapps/common/Torchlight II/paks";

    SteamTree()
    {
        MakeFolder(steam + L"/steamapps/common");
        MakeFolder(paks);
        for (const wchar_t* name : {L"DATA.PAK", L"steam.pak"})
            WriteFile(platform::JoinPath(paks, name));
        WriteFile(steam + L"/steamapps/libraryfolders.vdf",
                  "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\t\"-123\"\n"
                  "\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + platform::ToUtf8(steam) + "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n"
                  "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + platform::ToUtf8(library.path()) + "\"\n"
                  "\t\t\"apps\"\n\t\t{\n\t\t\t\"200710\"\t\t\"2345\"\n\t\t}\n\t}\n}\n");
        cli.system.current = elsewhere.path();
    }
    std::string Found() { return cli.Run({L"history", L"--json"}).out; }
};

TEST(Discovery, TheGameInSteamsSecondLibrary)
{
    SteamTree tree;
    const Result result = tree.cli.Run({L"list"});
    EXPECT_EQ(result.status, 0) << result;
    EXPECT_NE(result.out.find("steam.pak"), std::string::npos) << result;

    // Through the appmanifest's installdir, under ~/.steam/steam, and in the Flatpak.
    const std::wstring renamed = tree.library.path() + L"/steamapps/common/TL2";
    std::filesystem::rename(FsPath(tree.library.path() + L"/steamapps/common/Torchlight II"), FsPath(renamed));
    EXPECT_EQ(tree.cli.Run({L"list"}).status, 1);
    WriteFile(tree.library.path() + L"/steamapps/appmanifest_200710.acf",
              "\"AppState\"\n{\n\t\"appid\"\t\t\"200710\"\n\t\"installdir\"\t\t\"TL2\"\n}\n");
    EXPECT_NE(tree.Found().find(platform::ToUtf8(renamed) + "/paks/"), std::string::npos);
    for (const wchar_t* place : {L"/.steam/steam", L"/.var/app/com.valvesoftware.Steam/.local/share/Steam"}) {
        MakeFolder(tree.home + place);
        std::filesystem::remove(FsPath(tree.home + place));
        std::filesystem::create_directories(FsPath(tree.home + place).parent_path());
        std::filesystem::rename(FsPath(tree.steam), FsPath(tree.home + place));
        EXPECT_EQ(tree.cli.Run({L"list"}).status, 0) << platform::ToUtf8(place);
        std::filesystem::rename(FsPath(tree.home + place), FsPath(tree.steam));
    }
}

TEST(Discovery, ABrokenSteamFileFindsNothingAndHarmsNothing)
{
    for (const std::string& broken :
         {std::string("\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"/nowhere"), std::string("\"libraryfolders\" }"),
          std::string("\0\1\2\3", 4), std::string(100, '{'), std::string("\"libraryfolders\" { \"1\" { \"path\" { } } }")}) {
        SteamTree tree;
        WriteFile(tree.steam + L"/steamapps/libraryfolders.vdf", broken);
        const Result result = tree.cli.Run({L"list"});
        EXPECT_EQ(result.status, 1) << result;
        EXPECT_NE(result.err.find("no game folder found"), std::string::npos) << result;
    }
}

TEST(Discovery, RecordsLiveUnderTheStateFolder)
{
    Cli cli;
    cli.AddMods({L"a.pak", L"b.pak"});
    ASSERT_EQ(cli.Run({L"disable", L"a"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(FsPath(cli.root / L"state/pakorder")));
    cli.system.variables.erase(L"XDG_STATE_HOME");
    EXPECT_EQ(cli::RecordsRoot(cli.system), cli.root / L"home/.local/state/pakorder");
    cli.system.variables[L"XDG_STATE_HOME"] = L"relative/state";  // not absolute: ignored
    EXPECT_EQ(cli::RecordsRoot(cli.system), cli.root / L"home/.local/state/pakorder");
    ASSERT_EQ(cli.Run({L"enable", L"a"}).status, 0);
    EXPECT_EQ(cli.Run({L"history"}).out.find("    1  "), 0u);  // a history of its own
}
#endif

}  // namespace
