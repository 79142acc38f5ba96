#include <gtest/gtest.h>

#include "mods/Install.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "mods/ModFile.h"
#include "unit/FaultyFileSystem.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

TEST(Install, OnlyModsByTheScansOwnRuleAreTaken)
{
    TempFolder downloads;
    std::vector<std::wstring> dropped;
    for (const wchar_t* name : {L"a.PAK", L"b.pak", L"c.G1O", L"d.Pak", L"e.g1o", L"f.zip", L"mypak", L"x.TPAK",
                                L"DATA.PAK", L"a.PAK.MAN"}) {
        WriteFile(downloads / name);
        dropped.push_back(downloads / name);
    }
    const DropPlan plan = PlanDrop(Fs(), dropped);
    EXPECT_FALSE(plan.paksFolder);
    EXPECT_EQ(plan.files, (std::vector<std::wstring>{downloads / L"a.PAK", downloads / L"b.pak", downloads / L"c.G1O"}));
}

TEST(Install, APaksFolderEndsTheWalk)
{
    TempFolder downloads, game, notPaks;
    WriteFile(game / L"DATA.PAK");
    WriteFile(game / L"m.pak");
    WriteFile(notPaks / L"one.pak");
    WriteFile(downloads / L"before.pak");
    WriteFile(downloads / L"after.pak");

    const DropPlan plan = PlanDrop(Fs(), {notPaks.path(), downloads / L"before.pak", game.path(), downloads / L"after.pak"});
    ASSERT_TRUE(plan.paksFolder);
    EXPECT_EQ(*plan.paksFolder, platform::WithTrailingSeparator(game.path()));
    EXPECT_EQ(plan.files, (std::vector<std::wstring>{downloads / L"before.pak"}));
}

TEST(Install, CopiesNeverReplaceAndCompanionsFollowOnlyTheirMod)
{
    TempFolder downloads, paks;
    const FileTime time = Time(2016, 6, 6);
    WriteFileWithTime(downloads / L"new.PAK", time, "new");
    WriteFile(downloads / L"new.PAK.MAN", "new man");
    WriteFile(downloads / L"solo.pak", "solo");
    WriteFile(downloads / L"old.pak", "dropped old");
    WriteFile(downloads / L"old.pak.MAN", "dropped old man");
    WriteFile(paks / L"old.pak", "installed old");

    const InstallResult result = InstallMods(Fs(), paks.path(),
        {downloads / L"new.PAK", downloads / L"solo.pak", downloads / L"old.pak", downloads / L"gone.pak"});
    EXPECT_EQ(result.copied, (std::vector<std::wstring>{L"new.PAK", L"solo.pak"}));
    ASSERT_EQ(result.notCopied.size(), 2u);
    EXPECT_EQ(result.notCopied[0].fileName, L"old.pak");
    EXPECT_EQ(result.notCopied[0].reason, NotInstalledReason::AlreadyThere);
    EXPECT_EQ(result.notCopied[1].fileName, L"gone.pak");
    EXPECT_EQ(result.notCopied[1].reason, NotInstalledReason::CopyFailed);
    EXPECT_TRUE(platform::IsNotFound(result.notCopied[1].status));

    EXPECT_EQ(ReadFile(paks / L"new.PAK"), "new");
    EXPECT_EQ(ReadFile(paks / L"new.PAK.MAN"), "new man");
    FileTime copied = 0;
    ASSERT_TRUE(Fs().ReadLastWriteTime(paks / L"new.PAK", copied).ok());
    EXPECT_EQ(copied, time);  // the load order travels with the mod
    EXPECT_EQ(ReadFile(paks / L"solo.pak"), "solo");
    EXPECT_FALSE(Exists(paks / L"solo.pak.MAN"));
    EXPECT_EQ(ReadFile(paks / L"old.pak"), "installed old");
    EXPECT_FALSE(Exists(paks / L"old.pak.MAN"));  // no new manifest beside the old pak
}

TEST(Install, AModIsInstalledWholeOrNotAtAll)
{
    struct Case {
        const char* what;
        const wchar_t* dropped;
        std::vector<std::wstring> inPaks;
        std::wstring failingCopy;  // a copy into PAKS that fails
        std::wstring expectedName;
        NotInstalledReason expectedReason;
        std::wstring failingRemoval = L"";    // a removal from PAKS that fails: the file stays
        std::wstring createdMeanwhile = L"";  // created by another program after the name checks
        std::wstring outOfMemory = L"";       // its copy runs out of memory
    };
    const Case cases[] = {
        {"a stray manifest has the companion's name", L"a.PAK", {L"a.PAK.MAN"}, L"", L"a.PAK", NotInstalledReason::ManifestTaken},
        {"the mod is there, disabled", L"a.PAK", {L"a.G1O"}, L"", L"a.PAK", NotInstalledReason::AlreadyThereDisabled},
        {"the mod is there, enabled", L"a.G1O", {L"a.pak"}, L"", L"a.G1O", NotInstalledReason::AlreadyThereEnabled},
        {"the companion cannot be copied", L"a.pak", {}, L"a.pak.MAN", L"a.pak.MAN", NotInstalledReason::CopyFailed},
        {"nor the pak removed again", L"a.pak", {}, L"a.pak.MAN", L"a.pak", NotInstalledReason::PakLeftBehind, L"a.pak"},
        {"the pak's name is taken between the check and the copy", L"a.pak", {}, L"", L"a.pak",
         NotInstalledReason::AlreadyThere, L"", L"a.pak"},
        {"memory runs out in the companion's copy: the pak goes again and the failure goes on up", L"a.pak", {}, L"",
         L"", NotInstalledReason::CopyFailed, L"", L"", L"a.pak.MAN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder downloads, paks;
        WriteFile(downloads / c.dropped, "new pak");
        WriteFile(downloads / CompanionName(c.dropped), "new man");
        for (const std::wstring& name : c.inPaks)
            WriteFile(paks / name, "old");
        FaultyFileSystem fs(Fs());
        if (!c.failingCopy.empty())
            fs.uncopyable.insert(paks / c.failingCopy);
        if (!c.failingRemoval.empty())
            fs.unremovable.insert(paks / c.failingRemoval);
        if (!c.createdMeanwhile.empty())
            fs.createdBeforeCopy.insert(paks / c.createdMeanwhile);

        if (!c.outOfMemory.empty()) {
            fs.outOfMemory.insert(paks / c.outOfMemory);
            EXPECT_THROW(InstallMods(fs, paks.path(), {downloads / c.dropped}), std::bad_alloc);
        } else {
            const InstallResult result = InstallMods(fs, paks.path(), {downloads / c.dropped});
            EXPECT_TRUE(result.copied.empty());
            ASSERT_EQ(result.notCopied.size(), 1u);  // one line per mod, not per file
            EXPECT_EQ(result.notCopied[0].fileName, c.expectedName);
            EXPECT_EQ(result.notCopied[0].reason, c.expectedReason);
        }
        // PAKS holds what it held before, what another program put there and
        // what could not go, and nothing else.
        std::vector<platform::FolderEntry> entries;
        ASSERT_TRUE(Fs().ListFolder(paks.path(), entries).ok());
        EXPECT_EQ(entries.size(), c.inPaks.size() + (c.createdMeanwhile.empty() ? 0 : 1) +
                                      (c.failingRemoval.empty() ? 0 : 1));
        for (const std::wstring& name : c.inPaks)
            EXPECT_EQ(ReadFile(paks / name), "old");
        if (!c.createdMeanwhile.empty()) {
            EXPECT_EQ(ReadFile(paks / c.createdMeanwhile), "other");
        }
    }
}

TEST(Install, AStoppedInstallLeavesNothingOfTheModItWasCopying)
{
    // Stopped at the first chunk of b.pak.MAN: a.pak is in, b.pak goes again, c.pak never starts.
    struct StopAtManifestOf : InstallProgress {
        std::wstring mod, current;
        std::vector<std::wstring> told;
        bool inManifest = false;
        void CopyingMod(const std::wstring& name, std::size_t, std::size_t) override
        {
            current = name;
            told.push_back(name);
            inManifest = false;
        }
        bool Copied(std::uint64_t bytes, std::uint64_t total) override
        {
            if (bytes == total)
                inManifest = true;  // the pak is done; the next file is its companion
            return !(current == mod && inManifest && bytes == 0);
        }
    } progress;
    progress.mod = L"b.pak";
    TempFolder downloads, paks;
    for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak"}) {
        WriteFile(downloads / name, std::string(200000, 'p'));
        WriteFile(downloads / CompanionName(name), "man");
    }
    const InstallResult result =
        InstallMods(Fs(), paks.path(), {downloads / L"a.pak", downloads / L"b.pak", downloads / L"c.pak"}, &progress);
    EXPECT_EQ(result.copied, std::vector<std::wstring>{L"a.pak"});
    ASSERT_EQ(result.notCopied.size(), 2u);
    EXPECT_EQ(result.notCopied[0].fileName, L"b.pak");
    EXPECT_EQ(result.notCopied[0].reason, NotInstalledReason::Cancelled);
    EXPECT_EQ(result.notCopied[1].fileName, L"c.pak");
    EXPECT_EQ(result.notCopied[1].reason, NotInstalledReason::Cancelled);
    EXPECT_EQ(progress.told, (std::vector<std::wstring>{L"a.pak", L"b.pak"}));
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(Fs().ListFolder(paks.path(), entries).ok());
    EXPECT_EQ(entries.size(), 2u);  // a.pak and its companion
    EXPECT_FALSE(Exists(paks / L"b.pak"));
}

}  // namespace
