#include <gtest/gtest.h>

#include "mods/GameDiscovery.h"
#include "mods/GameFolder.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/TestFiles.h"

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace mods;
using namespace testing_files;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

TEST(GameFolder, AFolderHoldsPaksWithTwoEnabledPaks)
{
    TempFolder folder;
    EXPECT_FALSE(FolderHoldsPaks(Fs(), folder.path()));
    WriteFile(folder / L"DATA.PAK");
    EXPECT_FALSE(FolderHoldsPaks(Fs(), folder.path()));
    WriteFile(folder / L"b.G1O");
    WriteFile(folder / L"x.Pak");
    WriteFile(folder / L"DATA.PAK.MAN");
    MakeFolder(folder / L"sub.pak");
    EXPECT_FALSE(FolderHoldsPaks(Fs(), folder.path()));
#ifndef _WIN32
    // A link is no pak, in a scan or in a listing.
    ASSERT_EQ(::symlink("DATA.PAK", platform::ToUtf8(folder / L"link.pak").c_str()), 0);
    EXPECT_FALSE(FolderHoldsPaks(Fs(), folder.path()));
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(Fs().ListFolder(folder.path(), entries).ok());
    EXPECT_FALSE(ListingHoldsPaks(entries));
#endif
    WriteFile(folder / L"a.pak");
    EXPECT_TRUE(FolderHoldsPaks(Fs(), folder.path()));
    EXPECT_TRUE(FolderHoldsPaks(Fs(), folder.path() + platform::kPathSeparator + platform::kPathSeparator));
    EXPECT_FALSE(FolderHoldsPaks(Fs(), folder / L"missing"));
}

struct Asker {
    std::wstring answer;
    int asked = 0;
    std::function<std::wstring()> fn() { return [this] { ++asked; return answer; }; }
};

TEST(GameFolder, TheProgramsOwnFolderComesFirst)
{
    TempFolder paks;
    WriteFile(paks / L"DATA.PAK");
    WriteFile(paks / L"a.PAK");
    MakeFolder(paks / L"PAKS");
    Asker asker;
    const auto choice = FindPaksFolder(Fs(), platform::WithTrailingSeparator(paks.path()), asker.fn());
    EXPECT_TRUE(choice.qualifies);
    EXPECT_EQ(choice.folder, platform::WithTrailingSeparator(paks.path()));
    EXPECT_EQ(asker.asked, 0);
}

TEST(GameFolder, ThenThePaksSubfolder)
{
    TempFolder game;
    MakeFolder(game / L"PAKS");
    WriteFile(platform::JoinPath(game / L"PAKS", L"DATA.PAK"));
    WriteFile(platform::JoinPath(game / L"PAKS", L"a.pak"));
    WriteFile(game / L"Torchlight2.exe");
    Asker asker;
    const auto choice = FindPaksFolder(Fs(), platform::WithTrailingSeparator(game.path()), asker.fn());
    EXPECT_TRUE(choice.qualifies);
    EXPECT_EQ(choice.folder, platform::WithTrailingSeparator(game / L"PAKS"));
    EXPECT_EQ(asker.asked, 0);
}

TEST(GameFolder, ThenTheUsersChoiceWithOneTrailingSeparator)
{
    TempFolder elsewhere, picked;
    WriteFile(picked / L"DATA.PAK");
    WriteFile(picked / L"m.pak");
    Asker asker{picked.path() + platform::kPathSeparator + platform::kPathSeparator};
    const auto choice = FindPaksFolder(Fs(), platform::WithTrailingSeparator(elsewhere.path()), asker.fn());
    EXPECT_EQ(asker.asked, 1);
    EXPECT_TRUE(choice.qualifies);
    EXPECT_EQ(choice.folder, platform::WithTrailingSeparator(picked.path()));
}

TEST(GameFolder, NothingQualifiesKeepsThePickedFolder)
{
    TempFolder elsewhere, picked;
    WriteFile(picked / L"DATA.PAK");
    WriteFile(picked / L"only.G1O");
    Asker asker{picked.path()};
    const auto choice = FindPaksFolder(Fs(), elsewhere.path(), asker.fn());
    EXPECT_EQ(asker.asked, 1);
    EXPECT_FALSE(choice.qualifies);
    EXPECT_EQ(choice.folder, platform::WithTrailingSeparator(picked.path()));
}

TEST(GameFolder, InstallationsOfferTheirQualifyingPaksFoldersOrElseAGameFolder)
{
    TempFolder steam, gog, empty, gone;
    MakeFolder(steam / L"paks");  // spelled as the disk has it
    WriteFile(platform::JoinPath(steam / L"paks", L"DATA.PAK"));
    WriteFile(platform::JoinPath(steam / L"paks", L"m.pak"));
    WriteFile(gog / L"Torchlight2.exe");
    MakeFolder(gog / L"PAKS");
    WriteFile(platform::JoinPath(gog / L"PAKS", L"DATA.PAK"));  // one pak: does not qualify
    const std::wstring missing = gone / L"not installed";

    const DiscoveredGames found =
        DiscoverGames(Fs(), {missing, empty.path(), steam.path(), steam.path() + platform::kPathSeparator, gog.path()});
    EXPECT_EQ(found.paksFolders, std::vector<std::wstring>{platform::WithTrailingSeparator(steam / L"paks")});
    EXPECT_EQ(found.gameFolder, platform::WithTrailingSeparator(gog.path()));
    EXPECT_TRUE(DiscoverGames(Fs(), {missing}).paksFolders.empty());
    EXPECT_FALSE(DiscoverGames(Fs(), {missing}).gameFolder);
}

// A game folder whose PAKS holds paks.
std::wstring GameWithPaks(const TempFolder& folder)
{
    MakeFolder(folder / L"PAKS");
    WriteFile(platform::JoinPath(folder / L"PAKS", L"DATA.PAK"));
    WriteFile(platform::JoinPath(folder / L"PAKS", L"m.pak"));
    return folder.path();
}

TEST(GameFolder, OwnPlacesThenInstallationsThenTheFolderLastChosen)
{
    TempFolder current, program, steam, gog, chosen, nothing;
    int installedRead = 0, chosenRead = 0;
    GamePlaces places;
    places.own = {current.path(), program.path()};
    std::vector<std::wstring> installations{nothing.path(), steam.path(), gog.path()};
    places.installed = [&] { ++installedRead; return installations; };
    std::optional<std::wstring> lastChosen = platform::JoinPath(chosen.path(), L"PAKS");
    places.lastChosen = [&] { ++chosenRead; return lastChosen; };
    const auto found = [&] {
        const GameSearch search = SearchGamePlaces(Fs(), places);
        return std::make_pair(search.where, search.paks.value_or(L""));
    };

    EXPECT_EQ(found(), std::make_pair(FoundIn::Nowhere, std::wstring()));
    EXPECT_EQ(installedRead, 1);
    EXPECT_EQ(chosenRead, 1);
    GameWithPaks(chosen);
    EXPECT_EQ(found(), std::make_pair(FoundIn::LastChosen, platform::JoinPath(chosen.path(), L"PAKS")));
    GameWithPaks(gog);
    GameWithPaks(steam);
    const GameSearch both = SearchGamePlaces(Fs(), places);
    EXPECT_EQ(both.where, FoundIn::Installations);
    EXPECT_EQ(both.installations.paksFolders.size(), 2u);  // the window offers both
    EXPECT_EQ(both.paks, platform::WithTrailingSeparator(steam / L"PAKS"));  // Steam's first
    installedRead = chosenRead = 0;
    GameWithPaks(program);
    EXPECT_EQ(found(), std::make_pair(FoundIn::Own, platform::JoinPath(program.path(), L"PAKS")));
    WriteFile(current / L"DATA.PAK");
    WriteFile(current / L"x.pak");
    EXPECT_EQ(found(), std::make_pair(FoundIn::Own, current.path()));
    EXPECT_EQ(installedRead + chosenRead, 0);  // not read once an own place qualifies
}

}  // namespace
