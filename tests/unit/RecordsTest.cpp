// The records of every write on real files: their text, their folder, and
// undo, redo, restore and crash recovery through them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>

#include "mods/ChangeHistory.h"
#include "mods/FolderRestore.h"
#include "mods/FolderState.h"
#include "mods/FolderWriter.h"
#include "mods/Install.h"
#include "mods/ModFile.h"
#include "mods/ModSwitch.h"
#include "mods/ModTime.h"
#include "unit/FaultyFileSystem.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The folder's state in name order, for comparing two states.
std::vector<RecordedMod> State(const std::wstring& folder)
{
    std::vector<RecordedMod> mods;
    EXPECT_TRUE(ReadFolderState(Fs(), folder, mods).ok());
    std::sort(mods.begin(), mods.end(), [](const RecordedMod& a, const RecordedMod& b) { return a.pak.name < b.pak.name; });
    return mods;
}

// A PAKS folder and its history beside it, each mod with a companion whose
// time differs from its pak's.
struct Folder {
    TempFolder root;
    std::wstring paks = root / L"PAKS";
    std::wstring history = root / L"history";

    explicit Folder(int mods = 0)
    {
        MakeFolder(paks);
        for (int i = 0; i < mods; ++i)
            AddMod(L"mod" + std::to_wstring(i) + L".pak", Time(2010, 1, 1) + static_cast<FileTime>(i) * 977 * kTicksPerSecond);
    }
    void AddMod(const std::wstring& name, FileTime time, bool companion = true)
    {
        WriteFileWithTime(platform::JoinPath(paks, name), time);
        if (companion)
            WriteFileWithTime(platform::JoinPath(paks, CompanionName(name)), time + 12345);
    }
    std::wstring operator/(const std::wstring& name) const { return platform::JoinPath(paks, name); }
};

RestoreOutcome Undo(ChangeHistory& history, platform::FileSystem& fileSystem) { return FolderWriter(fileSystem, &history).Undo(); }
RestoreOutcome Redo(ChangeHistory& history, platform::FileSystem& fileSystem) { return FolderWriter(fileSystem, &history).Redo(); }
RestoreOutcome Recover(ChangeHistory& history, platform::FileSystem& fileSystem) { return FolderWriter(fileSystem, &history).Recover(); }
RestoreOutcome RestoreBefore(ChangeHistory& history, platform::FileSystem& fileSystem, std::uint64_t sequence)
{
    return FolderWriter(fileSystem, &history).RestoreBefore(sequence);
}

// An action as the window makes it: recorded first, then done, then completed.
void Recorded(ChangeHistory& history, RecordedAction action, std::vector<std::wstring> intent,
              const std::function<void()>& write)
{
    std::uint64_t sequence = 0;
    ASSERT_TRUE(history.Begin(action, std::move(intent), std::nullopt, sequence).ok());
    write();
    ASSERT_TRUE(history.Complete(sequence).ok());
}

// Every mod marked, in the reverse of the load order: the smart sort re-times them all.
void SmartSortAll(platform::FileSystem& fileSystem, const Folder& folder)
{
    std::vector<ListedMod> rows;
    for (const RecordedMod& mod : State(folder.paks))
        rows.insert(rows.begin(), ListedMod{mod.pak.name, true});
    WriteLoadOrder(fileSystem, folder.paks, rows, Time(2024, 6, 1));
}

TEST(ChangeRecord, TextRoundTripsNamesAndTimesExactly)
{
    ChangeRecord record;
    record.sequence = 42;
    record.paksFolder = L"C:\\Games\\火炬之光2\\PAKS";
    record.madeAt = Time(2024, 3, 5, 17, 4, 9) + 1234567;
    record.action = RecordedAction::Undo;
    record.stepOf = 41;
    record.intent = {L"a.pak", L"名字\t与\n换行\\.G1O"};
    record.before = {
        {{L"a.pak", 0}, RecordedFile{L"a.pak.MAN", kMaxCalendarTime}},
        {{L"Ünïcødé 🎮.PAK", std::numeric_limits<FileTime>::max()}, std::nullopt},
        {{L"名字\t与\n换行\\.G1O", 1}, RecordedFile{L"名字\t与\n换行\\.G1O.MAN", 2}},
        {{std::wstring(L"ctl\x01\x7F") + static_cast<wchar_t>(0xD800) + L".pak", 3}, std::nullopt},
    };
    for (const bool complete : {false, true}) {
        record.complete = complete;
        record.after = complete ? std::vector<RecordedMod>{record.before[1]} : std::vector<RecordedMod>{};
        const std::string text = FormatRecord(record);
        EXPECT_EQ(text.substr(0, text.find('\n')), "PakOrder change record 1");
        RecordProblem problem;
        const auto read = ParseRecord(Bytes(text), problem);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(read->sequence, record.sequence);
        EXPECT_EQ(read->paksFolder, record.paksFolder);
        EXPECT_EQ(read->madeAt, record.madeAt);
        EXPECT_EQ(read->action, record.action);
        EXPECT_EQ(read->stepOf, record.stepOf);
        EXPECT_EQ(read->intent, record.intent);
        EXPECT_EQ(read->complete, complete);
        EXPECT_EQ(read->before, record.before);
        EXPECT_EQ(read->after, record.after);
        EXPECT_EQ(read->ModsChanged(), complete ? 3 : 2);
    }
    EXPECT_NE(FormatRecord(record).find("2024-03-05 17:04:09.1234567 UTC"), std::string::npos);

    // People read both times of a mod, and years of five digits.
    ChangeRecord people;
    people.before = {{{L"same.pak", record.madeAt}, RecordedFile{L"same.pak.MAN", record.madeAt}},
                     {{L"late.pak", kMaxCalendarTime}, std::nullopt}};
    const std::string time = std::to_string(record.madeAt) + "\t2024-03-05 17:04:09.1234567 UTC";
    const std::string text = FormatRecord(people);
    EXPECT_NE(text.find("before\tsame.pak\t" + time + "\tsame.pak.MAN\t" + time + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\t30828-09-14 02:48:05.4775807 UTC\n"), std::string::npos) << text;
}

TEST(ChangeRecord, BadBytesAreNamedNeverTaken)
{
    ChangeRecord record;
    record.sequence = 7;
    record.paksFolder = L"/paks";
    record.before = {{{L"a.pak", 5}, std::nullopt}};
    const std::string good = FormatRecord(record);
    struct Case {
        const char* what;
        std::string text;
        RecordFault fault;
    };
    const Case cases[] = {
        {"empty", "", RecordFault::NotARecord},
        {"garbage", "\x89PNG\r\n\x1a\n\0\0\0", RecordFault::NotARecord},
        {"a newer version", "PakOrder change record 2\n" + good.substr(good.find('\n') + 1), RecordFault::OtherVersion},
        {"cut in a line", good.substr(0, good.size() - 5), RecordFault::Truncated},
        {"cut after a line", good.substr(0, good.rfind("before")), RecordFault::Truncated},
        {"a time that is no number", std::string(good).replace(good.find("\t5\t"), 3, "\t5x\t"), RecordFault::BadLine},
        {"a time past 64 bits", std::string(good).replace(good.find("\t5\t"), 3, "\t18446744073709551616\t"),
         RecordFault::BadLine},
        {"an unknown line", std::string(good).insert(good.find("before"), "colour\tred\n"), RecordFault::BadLine},
        {"a bad escape", std::string(good).replace(good.find("a.pak"), 5, "a\\q.pak"), RecordFault::BadLine},
        {"no action", std::string(good).erase(good.find("action"), good.find('\n', good.find("action")) - good.find("action") + 1),
         RecordFault::MissingField},
    };
    for (const Case& c : cases) {
        for (const RecordParts parts : {RecordParts::Whole, RecordParts::Summary}) {
            RecordProblem problem;
            EXPECT_FALSE(ParseRecord(Bytes(c.text), problem, parts)) << c.what;
            EXPECT_EQ(problem.fault, c.fault) << c.what;
        }
    }
}

TEST(ChangeRecord, ASummaryCountsTheModsChangedAsTheWholeRecordDoes)
{
    const FileTime t = Time(2021, 1, 1);
    const RecordedMod a{{L"a.pak", t}, RecordedFile{L"a.pak.MAN", t}};
    const RecordedMod b{{L"b.pak", t}, std::nullopt};
    const RecordedMod c{{L"c.pak", t}, RecordedFile{L"c.pak.MAN", t}};
    const RecordedMod wide{{L"火炬 \u00C9t\u00E9.pak", t}, RecordedFile{L"火炬 \u00C9t\u00E9.pak.MAN", t}};
    const RecordedMod escaped{{L"tab\there\\.pak", t}, std::nullopt};
    const auto with = [](RecordedMod mod, const wchar_t* name, FileTime time) {
        mod.pak = RecordedFile{name, time};
        if (mod.companion)
            mod.companion->name = CompanionName(name);
        return mod;
    };
    struct Case {
        int line;
        std::vector<RecordedMod> before, after;
        int changed;
    };
    const Case cases[] = {
        {__LINE__, {a, b, c}, {a, b, c}, 0},
        {__LINE__, {a, b, c}, {a, with(b, L"b.pak", t + 1), c}, 1},                  // re-timed
        {__LINE__, {a, b, c}, {a, with(b, L"b.G1O", t), c}, 1},                      // disabled
        {__LINE__, {a, b, c}, {with(a, L"A.G1O", t), b, c}, 1},                      // one key in any letter case
        {__LINE__, {a, b, c}, {a, {b.pak, RecordedFile{L"b.pak.MAN", t}}, c}, 1},    // a manifest added
        {__LINE__, {a, b, c}, {a, c}, 1},                                            // deleted
        {__LINE__, {a, b}, {a, wide, b}, 1},                                         // installed
        {__LINE__, {a, b, c, wide}, {c, with(wide, L"火炬 \u00C9t\u00E9.G1O", t), b, with(a, L"a.pak", t + 5)}, 2},
        {__LINE__, {escaped, a}, {a, escaped}, 0},                                   // listed in another order
        {__LINE__, {escaped, wide}, {with(escaped, L"tab\there\\.G1O", t), wide}, 1},
        {__LINE__, {}, {a, b}, 2},
    };
    for (const Case& c : cases) {
        ChangeRecord record;
        record.sequence = 3;
        record.paksFolder = L"/paks";
        record.complete = true;
        record.before = c.before;
        record.after = c.after;
        const std::string text = FormatRecord(record);
        RecordProblem problem;
        const auto whole = ParseRecord(Bytes(text), problem, RecordParts::Whole);
        const auto summary = ParseRecord(Bytes(text), problem, RecordParts::Summary);
        ASSERT_TRUE(whole && summary) << "line " << c.line;
        EXPECT_EQ(whole->ModsChanged(), c.changed) << "line " << c.line;
        EXPECT_EQ(summary->ModsChanged(), c.changed) << "line " << c.line;
        EXPECT_TRUE(summary->before.empty() && summary->after.empty()) << "line " << c.line;
    }
}

TEST(ChangeHistory, UndoAfterASmartSortGivesBackEveryTimeExactly)
{
    Folder folder(40);
    const auto before = State(folder.paks);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    Recorded(history, RecordedAction::SmartSort, {}, [&] { SmartSortAll(Fs(), folder); });
    const auto sorted = State(folder.paks);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        ASSERT_NE(sorted[i].pak.time, before[i].pak.time);
        ASSERT_NE(sorted[i].companion->time, before[i].companion->time);
    }

    const RestoreOutcome undone = Undo(history, Fs());
    EXPECT_TRUE(undone.write.Ran() && undone.write.completeStatus.ok());
    EXPECT_TRUE(undone.notRestored.empty());
    EXPECT_EQ(undone.filesChanged, 80);
    EXPECT_EQ(State(folder.paks), before);

    // A new start of the program: the redo is still there, and brings the sort back.
    ChangeHistory restarted(Fs(), folder.history, folder.paks);
    const RestoreOutcome redone = Redo(restarted, Fs());
    EXPECT_FALSE(redone.write.refused == WriteRefusal::NothingToDo);
    EXPECT_EQ(State(folder.paks), sorted);
    EXPECT_TRUE(Redo(restarted, Fs()).write.refused == WriteRefusal::NothingToDo);
    EXPECT_EQ(restarted.NextUndo()->action, RecordedAction::SmartSort);
}

TEST(ChangeHistory, UndoStepsBackThroughDisableAndHandSetTime)
{
    Folder folder;
    folder.AddMod(L"a.pak", Time(2011, 1, 1));
    folder.AddMod(L"b.PAK", Time(2012, 1, 1));
    const auto start = State(folder.paks);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    Recorded(history, RecordedAction::Disable, {L"a.pak"}, [&] { SwitchMod(Fs(), folder.paks, L"a.pak", false); });
    const auto disabled = State(folder.paks);
    Recorded(history, RecordedAction::SetTime, {L"b.PAK"}, [&] {
        std::vector<FileFailure> failures;
        SetModFileTime(Fs(), folder.paks, L"b.PAK", Time(2030, 1, 1), failures);
    });

    Undo(history, Fs());
    EXPECT_EQ(State(folder.paks), disabled);
    const RestoreOutcome renamedBack = Undo(history, Fs());
    EXPECT_TRUE(renamedBack.notRestored.empty());
    EXPECT_EQ(State(folder.paks), start);  // "a.pak" and "a.pak.MAN" again, each with its own time
    std::vector<RecordedMod> recordedAfter = history.List().records.front().after;
    std::sort(recordedAfter.begin(), recordedAfter.end(),
              [](const RecordedMod& a, const RecordedMod& b) { return a.pak.name < b.pak.name; });
    EXPECT_EQ(recordedAfter, start);  // the undo's own record holds the folder as it left it
    EXPECT_TRUE(Undo(history, Fs()).write.refused == WriteRefusal::NothingToDo);

    // A new action clears the redo side.
    Redo(history, Fs());
    Recorded(history, RecordedAction::Enable, {L"a.G1O"}, [&] { SwitchMod(Fs(), folder.paks, L"a.G1O", true); });
    EXPECT_TRUE(Redo(history, Fs()).write.refused == WriteRefusal::NothingToDo);
}

TEST(ChangeHistory, UndoOfAnInstallRemovesOnlyWhatIsUnchanged)
{
    Folder folder;
    folder.AddMod(L"old.pak", Time(2011, 1, 1));
    TempFolder dropped;
    WriteFileWithTime(dropped / L"kept.pak", Time(2013, 1, 1));
    WriteFileWithTime(dropped / L"gone.pak", Time(2013, 1, 1));
    WriteFile(dropped / L"gone.pak.MAN");
    ChangeHistory history(Fs(), folder.history, folder.paks);
    Recorded(history, RecordedAction::Install, {L"kept.pak", L"gone.pak"},
             [&] { InstallMods(Fs(), folder.paks, {dropped / L"kept.pak", dropped / L"gone.pak"}); });
    ASSERT_TRUE(Fs().WriteLastWriteTime(folder / L"kept.pak", Time(2020, 1, 1)).ok());  // changed since

    const RestoreOutcome undone = Undo(history, Fs());
    ASSERT_EQ(undone.notRestored.size(), 1u);
    EXPECT_EQ(undone.notRestored[0].name, L"kept.pak");
    EXPECT_EQ(undone.notRestored[0].reason, NotRestoredReason::Changed);
    EXPECT_FALSE(Exists(folder / L"gone.pak"));
    EXPECT_FALSE(Exists(folder / L"gone.pak.MAN"));
    EXPECT_TRUE(Exists(folder / L"kept.pak"));

    // The install cannot copy again: its mod is named, not pretended.
    const RestoreOutcome redone = Redo(history, Fs());
    ASSERT_EQ(redone.notRestored.size(), 1u);
    EXPECT_EQ(redone.notRestored[0].reason, NotRestoredReason::Gone);
    EXPECT_EQ(redone.notRestored[0].name, L"gone.pak");
}

TEST(ChangeHistory, ADeletedModIsGoneAndABlockedOneDoesNotStopTheOthers)
{
    Folder folder;
    folder.AddMod(L"a.pak", Time(2011, 1, 1));
    folder.AddMod(L"b.pak", Time(2012, 1, 1));
    folder.AddMod(L"c.pak", Time(2013, 1, 1));
    const auto start = State(folder.paks);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    Recorded(history, RecordedAction::Disable, {L"a.pak", L"b.pak"}, [&] {
        SwitchMod(Fs(), folder.paks, L"a.pak", false);
        SwitchMod(Fs(), folder.paks, L"b.pak", false);
    });
    Recorded(history, RecordedAction::Delete, {L"c.pak"}, [&] { DeleteMod(Fs(), folder.paks, L"c.pak"); });
    WriteFile(folder / L"a.pak.MAN", "a stray manifest");  // a.G1O cannot take its old name now

    const RestoreOutcome restored = RestoreBefore(history, Fs(), 1);
    ASSERT_EQ(restored.notRestored.size(), 2u);
    EXPECT_EQ(restored.notRestored[0].name, L"c.pak");
    EXPECT_EQ(restored.notRestored[0].reason, NotRestoredReason::Gone);
    EXPECT_EQ(restored.notRestored[1].name, L"a.G1O");
    EXPECT_EQ(restored.notRestored[1].reason, NotRestoredReason::NameTaken);
    EXPECT_TRUE(Exists(folder / L"a.G1O.MAN"));
    EXPECT_EQ(State(folder.paks)[1], start[1]);  // b.pak, back with its companion
}

TEST(ChangeHistory, DamagedRecordsAreNamedAndTheOthersStillRestore)
{
    Folder folder(3);
    const auto start = State(folder.paks);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    Recorded(history, RecordedAction::SmartSort, {}, [&] { SmartSortAll(Fs(), folder); });
    for (int i = 0; i < 3; ++i)
        Recorded(history, RecordedAction::SetTime, {L"mod0.pak"}, [&] {
            std::vector<FileFailure> failures;
            SetModFileTime(Fs(), folder.paks, L"mod0.pak", Time(2030 + i, 1, 1), failures);
        });
    const std::wstring records = history.RecordsFolder();
    const std::string third = ReadFile(platform::JoinPath(records, L"change-00000003.txt"));
    WriteFile(platform::JoinPath(records, L"change-00000002.txt"), "\x01\x02 garbage");
    WriteFile(platform::JoinPath(records, L"change-00000003.txt"), third.substr(0, third.size() / 2));
    const std::wstring tooLarge = platform::JoinPath(records, L"change-00000004.txt");
    WriteFile(tooLarge, "x");
    std::filesystem::resize_file(FsPath(tooLarge), ChangeHistory::kMaxRecordBytes + 1);  // sparse: nothing is held

    const ChangeHistory::Listing listing = history.List();
    ASSERT_EQ(listing.damaged.size(), 3u);
    EXPECT_EQ(listing.damaged[0].fileName, L"change-00000004.txt");
    EXPECT_EQ(listing.damaged[0].problem.fault, RecordFault::TooLarge);
    EXPECT_EQ(listing.damaged[1].problem.fault, RecordFault::Truncated);
    EXPECT_EQ(listing.damaged[2].problem.fault, RecordFault::NotARecord);
    ASSERT_EQ(listing.records.size(), 1u);

    EXPECT_TRUE(RestoreBefore(history, Fs(), 1).notRestored.empty());
    EXPECT_EQ(State(folder.paks), start);

    // Damaged past its first lines: undo skips it as the listing does.
    Recorded(history, RecordedAction::SetTime, {L"mod1.pak"}, [&] {
        std::vector<FileFailure> failures;
        SetModFileTime(Fs(), folder.paks, L"mod1.pak", Time(2031, 1, 1), failures);
    });
    const std::wstring sixth = platform::JoinPath(records, L"change-00000006.txt");
    std::string text = ReadFile(sixth);
    text.insert(text.rfind("\nafter\t") + 7, "\tstray");
    WriteFile(sixth, text);
    EXPECT_EQ(history.List().damaged.front().fileName, L"change-00000006.txt");
    ASSERT_TRUE(history.NextUndo().has_value());
    EXPECT_EQ(history.NextUndo()->sequence, 5u);
}

TEST(ChangeHistory, AnUnwritableRecordStopsTheActionBeforePaks)
{
    Folder folder(2);
    WriteFile(folder.history, "a file where the history folder should be");
    ChangeHistory history(Fs(), folder.history, folder.paks);
    std::uint64_t sequence = 0;
    EXPECT_FALSE(history.Begin(RecordedAction::SmartSort, {}, std::nullopt, sequence).ok());

    // Neither does an undo write anything without its record.
    ChangeHistory earlier(Fs(), folder.root / L"earlier", folder.paks);
    Recorded(earlier, RecordedAction::SmartSort, {}, [&] { SmartSortAll(Fs(), folder); });
    const auto sorted = State(folder.paks);
    WriteFile(platform::JoinPath(earlier.RecordsFolder(), L"change-00000002.txt"), "a damaged record");
    ASSERT_TRUE(Fs().CreateFolders(platform::JoinPath(earlier.RecordsFolder(), L"change-00000003.txt")).ok());
    const RestoreOutcome undone = Undo(earlier, Fs());
    EXPECT_FALSE(undone.write.refused == WriteRefusal::NothingToDo);
    EXPECT_EQ(undone.write.refused, WriteRefusal::CannotRecord);
    EXPECT_EQ(State(folder.paks), sorted);
}

TEST(ChangeHistory, ACrashInTheMiddleOfASmartSortIsRecoveredExactly)
{
    Folder folder(300);
    const auto before = State(folder.paks);
    {
        testing_files::FaultyFileSystem crashing(Fs());
        crashing.writesBeforeCrash = 211;  // then the program stops
        ChangeHistory history(crashing, folder.history, folder.paks);
        std::uint64_t sequence = 0;
        ASSERT_TRUE(history.Begin(RecordedAction::SmartSort, {}, std::nullopt, sequence).ok());
        SmartSortAll(crashing, folder);
    }
    const auto crashed = State(folder.paks);
    ASSERT_NE(crashed, before);
    int retimed = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
        retimed += (crashed[i].pak.time != before[i].pak.time) + (crashed[i].companion->time != before[i].companion->time);

    ChangeHistory history(Fs(), folder.history, folder.paks);
    ASSERT_TRUE(history.UnfinishedNewest());
    const RestoreOutcome recovered = Recover(history, Fs());
    EXPECT_TRUE(recovered.notRestored.empty());
    EXPECT_EQ(recovered.filesChanged, retimed);
    EXPECT_EQ(State(folder.paks), before);
    EXPECT_FALSE(history.UnfinishedNewest());
    EXPECT_FALSE(history.NextUndo());  // the half sort is as if never made
}

TEST(ChangeHistory, AnUnfinishedInstallIsTakenOutAgain)
{
    Folder folder;
    folder.AddMod(L"old.pak", Time(2011, 1, 1));
    const auto before = State(folder.paks);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    std::uint64_t sequence = 0;
    ASSERT_TRUE(history.Begin(RecordedAction::Install, {L"new.pak"}, std::nullopt, sequence).ok());
    folder.AddMod(L"new.pak", Time(2015, 1, 1));  // copied, then the power went

    Recover(history, Fs());
    EXPECT_EQ(State(folder.paks), before);
}

TEST(ChangeHistory, KeepsTheNewest50)
{
    Folder folder(1);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    for (int i = 0; i < 53; ++i)
        Recorded(history, RecordedAction::SetTime, {L"mod0.pak"}, [] {});
    const ChangeHistory::Listing listing = history.List();
    ASSERT_EQ(listing.records.size(), 50u);
    EXPECT_EQ(listing.records.front().sequence, 53u);
    EXPECT_EQ(listing.records.back().sequence, 4u);
    EXPECT_TRUE(listing.damaged.empty());

    // A second PakOrder on the same folder takes the next number: neither overwrites the other's.
    ChangeHistory other(Fs(), folder.history, folder.paks);
    Recorded(other, RecordedAction::SetTime, {L"mod0.pak"}, [] {});
    Recorded(history, RecordedAction::Enable, {L"mod0.pak"}, [] {});
    const ChangeHistory::Listing both = history.List(RecordParts::WithoutStates);
    ASSERT_GE(both.records.size(), 2u);
    EXPECT_EQ(both.records[0].sequence, 55u);
    EXPECT_EQ(both.records[0].action, RecordedAction::Enable);
    EXPECT_EQ(both.records[1].sequence, 54u);
    EXPECT_EQ(both.records[1].action, RecordedAction::SetTime);
}


// The one write path: what it refuses, and what undo, redo and recovery
// leave alone when a call fails, the program stops, or someone else writes.

// The folder's files by name with size and exact time, for "nothing changed".
std::vector<std::pair<std::wstring, FileTime>> Files(const std::wstring& folder)
{
    std::vector<platform::FolderEntry> entries;
    EXPECT_TRUE(Fs().ListFolder(folder, entries).ok());
    std::vector<std::pair<std::wstring, FileTime>> files;
    for (const platform::FolderEntry& entry : entries) {
        FileTime time = 0;
        Fs().ReadLastWriteTime(platform::JoinPath(folder, entry.name), time);
        files.emplace_back(entry.name, time);
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FolderWriter, AFolderThatCannotBeReadWholeIsNeverWrittenNorTakenForEmpty)
{
    Folder folder(4);
    const auto start = Files(folder.paks);
    FaultyFileSystem failing(Fs());
    ChangeHistory history(failing, folder.history, folder.paks);
    FolderWriter writer(failing, &history);
    std::vector<FileFailure> failures;

    failing.unlistable.insert(folder.paks);  // a listing that fails part-way
    EXPECT_EQ(writer.SetTime(L"mod0.pak", Time(2022, 6, 1), failures).refused, WriteRefusal::StateUnreadable);
    failing.unlistable.clear();
#ifndef _WIN32  // (Windows reads every time from the listing itself)
    failing.unreadable.insert(folder / L"mod2.pak.MAN");  // one time that cannot be read
    EXPECT_EQ(writer.SetTime(L"mod0.pak", Time(2022, 6, 1), failures).refused, WriteRefusal::StateUnreadable);
    failing.unreadable.clear();
#endif
    EXPECT_EQ(Files(folder.paks), start);
    EXPECT_TRUE(history.List().records.empty());

    // The record's completion fails: the action is unfinished, undo is
    // refused, and the recovery puts back the one mod it changed.
    failing.durableWritesBeforeFailure = 1;
    const WriteOutcome set = writer.SetTime(L"mod0.pak", Time(2022, 6, 1), failures);
    EXPECT_TRUE(set.Ran());
    EXPECT_FALSE(set.completeStatus.ok());
    failing.durableWritesBeforeFailure = -1;
    EXPECT_EQ(writer.Undo().write.refused, WriteRefusal::Unfinished);
    const RestoreOutcome recovered = writer.Recover();
    EXPECT_TRUE(recovered.notRestored.empty());
    EXPECT_EQ(Files(folder.paks), start);
}

TEST(FolderWriter, UndoRemovesOnlyWhatItsInstallAddedNeverWhatAStateLacks)
{
    // A record whose state before was read short (as a failing listing used
    // to leave it): its undo must not take every mod for one it added.
    Folder folder(3);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    std::uint64_t sequence = 0;
    ASSERT_TRUE(history.Begin(RecordedAction::SetTime, {L"mod0.pak"}, std::nullopt, {}, sequence).ok());
    ASSERT_TRUE(Fs().WriteLastWriteTime(folder / L"mod0.pak", Time(2022, 6, 1)).ok());
    ASSERT_TRUE(history.Complete(sequence).ok());
    FolderWriter writer(Fs(), &history);
    writer.Undo();
    EXPECT_EQ(State(folder.paks).size(), 3u);
    writer.Redo();
    EXPECT_EQ(State(folder.paks).size(), 3u);
}

TEST(FolderWriter, APakPartedFromItsManifestByACrashIsRejoined)
{
    Folder folder;
    folder.AddMod(L"a.PAK", Time(2011, 1, 1));
    folder.AddMod(L"b.pak", Time(2012, 1, 1));
    const auto start = Files(folder.paks);
    {
        // Stopped between the pak's rename and its manifest's: the pak cannot go back either.
        FaultyFileSystem crashing(Fs());
        crashing.writesBeforeCrash = 1;
        crashing.durableWritesBeforeFailure = 1;  // nor is the record completed
        ChangeHistory history(crashing, folder.history, folder.paks);
        std::vector<SwitchResult> switched;
        FolderWriter(crashing, &history).Switch(RecordedAction::Disable, {{L"a.PAK", false}}, switched);
    }
    ASSERT_TRUE(Exists(folder / L"a.G1O"));
    ASSERT_TRUE(Exists(folder / L"a.PAK.MAN"));
    // The scan sees the manifest as the pak's own, in the middle of a switch.
    const auto state = State(folder.paks);
    ASSERT_TRUE(state[0].companion.has_value());
    EXPECT_EQ(state[0].companion->name, L"a.PAK.MAN");

    ChangeHistory history(Fs(), folder.history, folder.paks);
    FolderWriter writer(Fs(), &history);
    std::vector<FileFailure> failures;
    EXPECT_EQ(writer.SetTime(L"b.pak", Time(2020, 1, 1), failures).refused, WriteRefusal::Unfinished);
    ASSERT_TRUE(writer.Crashed().has_value());
    const RestoreOutcome recovered = writer.Recover();
    EXPECT_TRUE(recovered.notRestored.empty());
    EXPECT_FALSE(recovered.recoveryUnfinished);
    EXPECT_EQ(Files(folder.paks), start);
    EXPECT_FALSE(writer.Crashed());
}

TEST(FolderWriter, ARecoveryThatIsItselfStoppedIsRecoveredToTheFirstActionsStart)
{
    Folder folder(30);
    const auto start = Files(folder.paks);
    {
        FaultyFileSystem crashing(Fs());
        crashing.writesBeforeCrash = 23;
        crashing.durableWritesBeforeFailure = 1;
        ChangeHistory history(crashing, folder.history, folder.paks);
        std::vector<FileFailure> failures;
        std::vector<ListedMod> rows;
        for (const RecordedMod& mod : State(folder.paks))
            rows.insert(rows.begin(), ListedMod{mod.pak.name, true});
        FolderWriter(crashing, &history).WriteOrder(rows, Time(2024, 6, 1), failures);
        crashing.writesBeforeCrash = 7;  // and the recovery stops too
        crashing.durableWritesBeforeFailure = 1;
        const RestoreOutcome stopped = FolderWriter(crashing, &history).Recover();
        EXPECT_TRUE(stopped.recoveryUnfinished);
    }
    ChangeHistory history(Fs(), folder.history, folder.paks);
    FolderWriter writer(Fs(), &history);
    ASSERT_TRUE(writer.Crashed().has_value());
    EXPECT_EQ(writer.Crashed()->action, RecordedAction::Recover);
    const RestoreOutcome recovered = writer.Recover();
    EXPECT_TRUE(recovered.notRestored.empty());
    EXPECT_EQ(recovered.stepped->action, RecordedAction::SmartSort);
    EXPECT_EQ(Files(folder.paks), start);
    EXPECT_FALSE(writer.Crashed());
    EXPECT_FALSE(history.NextUndo());  // the sort, and both recoveries, as if never made
}

TEST(FolderWriter, ASecondWriterIsRefusedAndItsRunningActionIsNoCrash)
{
    Folder folder(2);
    const auto start = Files(folder.paks);
    ChangeHistory mine(Fs(), folder.history, folder.paks);
    std::uint64_t sequence = 0;
    std::unique_ptr<platform::FileLock> lock;
    ASSERT_TRUE(mine.TryLock(lock).ok());
    ASSERT_TRUE(mine.Begin(RecordedAction::Install, {L"big.pak"}, std::nullopt, sequence).ok());

    ChangeHistory theirs(Fs(), folder.history, folder.paks);
    FolderWriter other(Fs(), &theirs);
    std::vector<FileFailure> failures;
    EXPECT_EQ(other.SetTime(L"mod0.pak", Time(2022, 6, 1), failures).refused, WriteRefusal::Locked);
    EXPECT_FALSE(other.Crashed());  // the install is running, not stopped
    EXPECT_EQ(other.Recover().write.refused, WriteRefusal::Locked);
    EXPECT_EQ(Files(folder.paks), start);

    ASSERT_TRUE(mine.Complete(sequence).ok());
    lock.reset();
    EXPECT_TRUE(other.SetTime(L"mod0.pak", Time(2022, 6, 1), failures).Ran());
}

TEST(FolderWriter, UndoTakesBackOnlyItsOwnChangeWhereItIsStillAsLeft)
{
    Folder folder;
    folder.AddMod(L"a.pak", Time(2011, 1, 1));
    folder.AddMod(L"a.G1O", Time(2012, 1, 1));  // two mods of one stem
    folder.AddMod(L"b.pak", Time(2013, 1, 1));
    folder.AddMod(L"c.pak", Time(2014, 1, 1));
#ifndef _WIN32
    folder.AddMod(L"A.PAK", Time(2015, 1, 1));  // and of one name but for case
#endif
    const auto start = Files(folder.paks);
    ChangeHistory history(Fs(), folder.history, folder.paks);
    FolderWriter writer(Fs(), &history);
    std::vector<FileFailure> failures;
    for (const wchar_t* name : {L"a.pak", L"a.G1O"
#ifndef _WIN32
                                , L"A.PAK"
#endif
         }) {
        ASSERT_TRUE(writer.SetTime(name, Time(2030, 1, 1), failures).Ran());
        const RestoreOutcome undone = writer.Undo();
        EXPECT_TRUE(undone.notRestored.empty()) << name;
        EXPECT_EQ(Files(folder.paks), start) << name;
    }

    // Others' changes since are not undone: b disabled by hand, c replaced.
    ASSERT_TRUE(writer.SetTime(L"a.pak", Time(2030, 1, 1), failures).Ran());
    ASSERT_TRUE(Fs().RenameNoReplace(folder / L"b.pak", folder / L"b.G1O").ok());
    ASSERT_TRUE(Fs().WriteLastWriteTime(folder / L"c.pak", Time(2031, 1, 1)).ok());
    EXPECT_TRUE(writer.Undo().notRestored.empty());
    EXPECT_TRUE(Exists(folder / L"b.G1O"));
    FileTime a = 0, c = 0;
    ASSERT_TRUE(Fs().ReadLastWriteTime(folder / L"a.pak", a).ok());
    EXPECT_EQ(a, Time(2011, 1, 1));
    ASSERT_TRUE(Fs().ReadLastWriteTime(folder / L"c.pak", c).ok());
    EXPECT_EQ(c, Time(2031, 1, 1));

    // A file the action changed and someone changed again is left and named.
    ASSERT_TRUE(writer.SetTime(L"c.pak", Time(2032, 1, 1), failures).Ran());
    ASSERT_TRUE(Fs().WriteLastWriteTime(folder / L"c.pak", Time(2033, 1, 1)).ok());
    const RestoreOutcome undone = writer.Undo();
    ASSERT_EQ(undone.notRestored.size(), 1u);
    EXPECT_EQ(undone.notRestored[0].name, L"c.pak");
    EXPECT_EQ(undone.notRestored[0].reason, NotRestoredReason::Changed);
}

TEST(FolderWriter, TimesTheDiskDoesNotKeepAreNamedNotReported)
{
    Folder folder(3);
    FaultyFileSystem earlyEnd(Fs());
    earlyEnd.latestTimeKept = Time(2038, 1, 19);
    ChangeHistory history(earlyEnd, folder.history, folder.paks);
    FolderWriter writer(earlyEnd, &history);
    std::vector<FileFailure> failures;
    ASSERT_TRUE(writer.SetTime(L"mod1.pak", Time(2040, 1, 1), failures).Ran());
    ASSERT_EQ(failures.size(), 2u);  // the pak and its companion
    EXPECT_TRUE(platform::IsTimeNotKept(failures[0].status));

    // The smart sort chooses times the disk keeps: a mod moved to the
    // bottom loads last, where the far time it would take lies past 2038.
    std::vector<ListedMod> rows;
    for (const wchar_t* name : {L"mod0.pak", L"mod2.pak", L"mod1.pak"})
        rows.push_back(ListedMod{name, std::wstring(name) == L"mod1.pak"});
    failures.clear();
    ASSERT_TRUE(writer.WriteOrder(rows, Time(2024, 6, 1), failures).Ran());
    EXPECT_TRUE(failures.empty());
    const auto sorted = State(folder.paks);
    EXPECT_LT(sorted[0].pak.time, sorted[2].pak.time);
    EXPECT_LT(sorted[2].pak.time, sorted[1].pak.time);
    EXPECT_LE(sorted[1].pak.time, Time(2038, 1, 19));
}

TEST(FolderWriter, RecordsOfOneFolderAreNeverAppliedToAnother)
{
#ifdef _WIN32
    EXPECT_EQ(RecordsFolderName(L"C:\\Game\\PAKS"), RecordsFolderName(L"c:/game/paks/"));
#else
    EXPECT_NE(RecordsFolderName(L"/x/Game/PAKS"), RecordsFolderName(L"/x/game/PAKS"));
#endif
    Folder one(2), two(2);
    const auto untouched = Files(two.paks);
    ChangeHistory history(Fs(), one.history, one.paks);
    std::vector<FileFailure> failures;
    ASSERT_TRUE(FolderWriter(Fs(), &history).SetTime(L"mod0.pak", Time(2022, 6, 1), failures).Ran());
    // The record carried over into the other folder's history, as a shared id would have it.
    ChangeHistory other(Fs(), one.history, two.paks);
    ASSERT_TRUE(Fs().CreateFolders(other.RecordsFolder()).ok());
    WriteFile(platform::JoinPath(other.RecordsFolder(), L"change-00000001.txt"),
              ReadFile(platform::JoinPath(history.RecordsFolder(), L"change-00000001.txt")));
    EXPECT_EQ(FolderWriter(Fs(), &other).Undo().write.refused, WriteRefusal::OtherFolder);
    EXPECT_EQ(FolderWriter(Fs(), &other).RestoreBefore(1).write.refused, WriteRefusal::OtherFolder);
    EXPECT_EQ(Files(two.paks), untouched);
}

TEST(ChangeHistory, RecordNumbersRunThroughTheWholeRangeAndStopAtItsEnd)
{
    struct Case {
        int line;
        const wchar_t* stray;                // a file in the records' folder
        std::vector<std::uint64_t> numbers;  // that the next records take; 0: none is written
    };
    const std::uint64_t last = std::numeric_limits<std::uint64_t>::max();
    const Case cases[] = {
        {__LINE__, L"change-999999999999999999.txt", {1000000000000000000u, 1000000000000000001u}},
        {__LINE__, L"change-18446744073709551614.txt", {last, 0}},
        {__LINE__, L"change-18446744073709551615.txt", {0}},
        {__LINE__, L"change-18446744073709551616.txt", {1, 2}},  // past the range: no record's
        {__LINE__, L"change-99999999999999999999.txt", {1, 2}},
        {__LINE__, L"change-1.txt", {1, 2}},  // not the name record 1 is given
    };
    for (const Case& c : cases) {
        Folder folder(1);
        const std::wstring records = ChangeHistory(Fs(), folder.history, folder.paks).RecordsFolder();
        ASSERT_TRUE(Fs().CreateFolders(records).ok());
        WriteFile(platform::JoinPath(records, c.stray), "not a record");
        std::vector<std::uint64_t> written;
        for (const std::uint64_t number : c.numbers) {
            // Each as a new run of the program makes it, from the names on disk.
            ChangeHistory history(Fs(), folder.history, folder.paks);
            std::uint64_t sequence = 0;
            const platform::FsStatus begun = history.Begin(RecordedAction::Enable, {L"mod0.pak"}, std::nullopt, sequence);
            EXPECT_EQ(begun.ok(), number != 0) << "line " << c.line;
            if (!begun.ok())
                continue;
            EXPECT_EQ(sequence, number) << "line " << c.line;
            EXPECT_TRUE(history.Complete(sequence).ok()) << "line " << c.line;
            written.insert(written.begin(), sequence);
        }
        std::vector<std::uint64_t> listed;
        for (const ChangeRecord& record : ChangeHistory(Fs(), folder.history, folder.paks).List().records)
            listed.push_back(record.sequence);
        EXPECT_EQ(listed, written) << "line " << c.line;
    }
}

TEST(ChangeHistory, WhatIsWrittenIsReadBackAndWhatCouldNotBeIsNotWritten)
{
    // The longest lines are no longer than the limit counts them.
    const std::wstring longest(255, static_cast<wchar_t>(0xD800));  // 255 units, each written as \uXXXX
    for (const FileTime time : {kMaxCalendarTime, std::numeric_limits<FileTime>::max()}) {
        ChangeRecord record;
        record.paksFolder = L"/paks";
        record.intent = {longest};
        record.before = {{{longest, time}, RecordedFile{longest, time}}};
        const std::string text = FormatRecord(record);
        const std::size_t state = text.find("\nbefore\t") + 1, intent = text.find("\nintent\t") + 1;
        EXPECT_LE(text.find('\n', state) + 1 - state, kLongestStateLine);
        EXPECT_LE(text.find('\n', intent) + 1 - intent, kLongestIntentLine);
    }

    // A record larger than 32 MiB, of names as long as names get.
    Folder folder;
    std::vector<RecordedMod> state;
    for (int i = 0; i < 5700; ++i) {
        const std::wstring name = std::wstring(240, static_cast<wchar_t>(0xD800)) + std::to_wstring(i) + L".pak";
        state.push_back({{name, Time(2020, 1, 1) + static_cast<FileTime>(i)}, RecordedFile{CompanionName(name), Time(2020, 1, 1)}});
    }
    ChangeHistory history(Fs(), folder.history, folder.paks);
    std::uint64_t sequence = 0;
    ASSERT_TRUE(history.Begin(RecordedAction::SmartSort, {}, std::nullopt, state, sequence).ok());
    ASSERT_TRUE(history.Complete(sequence, state).ok());
    const std::wstring file = platform::JoinPath(history.RecordsFolder(), L"change-00000001.txt");
    EXPECT_GT(std::filesystem::file_size(FsPath(file)), 32u << 20);
    const std::optional<ChangeRecord> undo = history.NextUndo();
    ASSERT_TRUE(undo);
    EXPECT_TRUE(undo->before == state);

    // A folder past the most a record holds is not written to: its record could not be read.
    std::vector<RecordedMod> many(ChangeHistory::kMaxRecordedMods - 1, RecordedMod{{L"m.pak", 0}, std::nullopt});
    ChangeHistory past(Fs(), folder.root / L"past", folder.paks);
    EXPECT_TRUE(platform::IsTooLarge(past.Begin(RecordedAction::Install, {L"n.pak", L"o.pak"}, std::nullopt, many, sequence)));
    EXPECT_FALSE(Exists(past.RecordsFolder()));
    ChangeHistory at(Fs(), folder.root / L"at", folder.paks);
    EXPECT_TRUE(at.Begin(RecordedAction::Install, {L"n.pak"}, std::nullopt, many, sequence).ok());
}

}  // namespace
