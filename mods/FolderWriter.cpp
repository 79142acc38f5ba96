#include "mods/FolderWriter.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <unordered_set>

#include "mods/FolderState.h"
#include "mods/ModFile.h"
#include "platform/Paths.h"

namespace mods {
namespace {

// Another PakOrder's action is waited for this long before the write is refused.
constexpr int kLockAttempts = 10;
constexpr std::chrono::milliseconds kLockPause{100};

// A record as an outcome names it: its states are not needed there.
ChangeRecord WithoutStates(ChangeRecord record)
{
    record.before.clear();
    record.after.clear();
    return record;
}

std::unordered_set<std::wstring> NamesOf(const std::vector<std::wstring>& names)
{
    return std::unordered_set<std::wstring>(names.begin(), names.end());
}

}  // namespace

FolderWriter::FolderWriter(platform::FileSystem& fileSystem, ChangeHistory* history)
    : fileSystem_(fileSystem), history_(history)
{
}

std::unique_ptr<platform::FileLock> FolderWriter::Lock(WriteOutcome& outcome)
{
    if (!history_) {
        outcome.refused = WriteRefusal::NoHistory;
        return nullptr;
    }
    std::unique_ptr<platform::FileLock> lock;
    for (int attempt = 1;; ++attempt) {
        const platform::FsStatus locked = history_->TryLock(lock);
        if (locked.ok())
            return lock;
        if (!platform::IsLocked(locked) || attempt == kLockAttempts) {
            outcome.refused = platform::IsLocked(locked) ? WriteRefusal::Locked : WriteRefusal::CannotRecord;
            outcome.status = locked;
            return nullptr;
        }
        std::this_thread::sleep_for(kLockPause);
    }
}

std::unique_ptr<platform::FileLock> FolderWriter::Start(WriteOutcome& outcome, std::vector<RecordedMod>& state,
                                                        bool overUnfinished)
{
    std::unique_ptr<platform::FileLock> lock = Lock(outcome);
    if (!lock)
        return nullptr;
    // With the lock held, an unfinished record is no one's running action:
    // the program stopped in its middle. A write on top of it would leave
    // it beyond recovery.
    if (!overUnfinished) {
        if (std::optional<ChangeRecord> unfinished = history_->UnfinishedNewest()) {
            outcome.refused = WriteRefusal::Unfinished;
            outcome.unfinished = WithoutStates(std::move(*unfinished));
            return nullptr;
        }
    }
    const platform::FsStatus read = ReadFolderState(fileSystem_, history_->PaksFolder(), state);
    if (!read.ok()) {
        outcome.refused = WriteRefusal::StateUnreadable;
        outcome.status = read;
        return nullptr;
    }
    return lock;
}

WriteOutcome FolderWriter::Write(RecordedAction action, std::vector<std::wstring> intent, const Action& act)
{
    WriteOutcome outcome;
    std::vector<RecordedMod> before;
    const std::unique_ptr<platform::FileLock> lock = Start(outcome, before, false);
    if (!lock)
        return outcome;
    outcome.status = history_->Begin(action, std::move(intent), std::nullopt, before, outcome.sequence);
    if (!outcome.status.ok()) {
        outcome.refused = WriteRefusal::CannotRecord;
        return outcome;
    }
    act(before);
    outcome.completeStatus = history_->Complete(outcome.sequence);
    return outcome;
}

WriteOutcome FolderWriter::Switch(RecordedAction action, const std::vector<StateChange>& changes,
                                  std::vector<SwitchResult>& results)
{
    std::vector<std::wstring> intent;
    for (const StateChange& change : changes)
        intent.push_back(change.name);
    return Write(action, std::move(intent), [&](const std::vector<RecordedMod>&) {
        for (const StateChange& change : changes)
            results.push_back(SwitchMod(fileSystem_, history_->PaksFolder(), change.name, change.enable));
    });
}

WriteOutcome FolderWriter::Delete(const std::vector<std::wstring>& names, std::vector<FileFailure>& failures)
{
    return Write(RecordedAction::Delete, names, [&](const std::vector<RecordedMod>&) {
        for (const std::wstring& name : names) {
            if (const std::optional<FileFailure> failure = DeleteMod(fileSystem_, history_->PaksFolder(), name))
                failures.push_back(*failure);
        }
    });
}

WriteOutcome FolderWriter::SetTime(const std::wstring& name, FileTime time, std::vector<FileFailure>& failures)
{
    return Write(RecordedAction::SetTime, {name}, [&](const std::vector<RecordedMod>&) {
        SetModFileTime(fileSystem_, history_->PaksFolder(), name, time, failures);
    });
}

WriteOutcome FolderWriter::Install(const std::vector<std::wstring>& files, InstallResult& result,
                                   InstallProgress* progress)
{
    std::vector<std::wstring> names;
    for (const std::wstring& file : files)
        names.push_back(platform::FileNameOf(file));
    return Write(RecordedAction::Install, std::move(names), [&](const std::vector<RecordedMod>&) {
        result = InstallMods(fileSystem_, history_->PaksFolder(), files, progress);
    });
}

WriteOutcome FolderWriter::WriteOrder(const std::vector<ListedMod>& mods, FileTime now,
                                      std::vector<FileFailure>& failures, const StepProgress& progress)
{
    std::vector<std::wstring> marked;
    for (const ListedMod& mod : mods) {
        if (mod.marked)
            marked.push_back(mod.name);
    }
    return Write(RecordedAction::SmartSort, std::move(marked), [&](const std::vector<RecordedMod>& before) {
        failures = WriteLoadOrder(fileSystem_, history_->PaksFolder(), mods, now, progress, &before);
    });
}

WriteOutcome FolderWriter::Import(Arrangement& arrangement, const std::vector<StateChange>& switches, bool writeOrder,
                                  FileTime now, std::vector<SwitchResult>& switched, std::vector<FileFailure>& failures)
{
    std::vector<std::wstring> intent;
    for (const StateChange& change : switches)
        intent.push_back(change.name);
    if (writeOrder) {
        for (std::wstring& name : arrangement.MarkedNames()) {
            if (std::find(intent.begin(), intent.end(), name) == intent.end())
                intent.push_back(std::move(name));
        }
    }
    return Write(RecordedAction::Import, std::move(intent), [&](const std::vector<RecordedMod>&) {
        for (const StateChange& change : switches) {
            switched.push_back(SwitchMod(fileSystem_, history_->PaksFolder(), change.name, change.enable));
            arrangement.Rename(change.name, switched.back().name);
        }
        if (writeOrder)
            failures = WriteLoadOrder(fileSystem_, history_->PaksFolder(), arrangement.Listed(), now);
    });
}

RestoreOutcome FolderWriter::Restore(RecordedAction action, const ChangeRecord& record, std::vector<RecordedMod>& state,
                                     const RestorePlan& plan, const StepProgress& progress, bool completeOnlyWhenWhole)
{
    RestoreOutcome outcome;
    outcome.stepped = WithoutStates(record);
    std::vector<std::wstring> intent;
    intent.reserve(plan.steps.size());
    for (const RestoreStep& step : plan.steps)
        intent.push_back(step.now.pak.name);
    WriteOutcome& write = outcome.write;
    write.status = history_->Begin(action, std::move(intent), record.sequence, state, write.sequence);
    if (!write.status.ok()) {
        write.refused = WriteRefusal::CannotRecord;
        return outcome;
    }
    AppliedRestore applied = ApplyRestore(fileSystem_, history_->PaksFolder(), plan, state, progress);
    outcome.filesChanged = applied.filesChanged;
    outcome.notRestored = std::move(applied.notRestored);
    // A mod deleted since cannot come back, however often it is tried; any
    // other problem may pass, and a recovery stays unfinished until it does.
    bool whole = true;
    for (const NotRestored& mod : outcome.notRestored)
        whole = whole && mod.reason == NotRestoredReason::Gone;
    if (completeOnlyWhenWhole && !whole) {
        outcome.recoveryUnfinished = true;
        return outcome;
    }
    // ApplyRestore kept the state up to date: the folder need not be read again.
    write.completeStatus = history_->Complete(write.sequence, state);
    return outcome;
}

bool FolderWriter::Steppable(const std::optional<ChangeRecord>& record, RestoreOutcome& outcome) const
{
    if (!record) {
        outcome.write.refused = WriteRefusal::NothingToDo;
        return false;
    }
    if (!SameFolder(record->paksFolder, history_->PaksFolder())) {
        outcome.write.refused = WriteRefusal::OtherFolder;
        outcome.stepped = WithoutStates(*record);
        return false;
    }
    return true;
}

RestoreOutcome FolderWriter::StepThrough(RecordedAction action, const std::function<std::optional<ChangeRecord>()>& find,
                                         const Planner& plan, const StepProgress& progress)
{
    RestoreOutcome outcome;
    std::vector<RecordedMod> state;
    const std::unique_ptr<platform::FileLock> lock = Start(outcome.write, state, false);
    if (!lock)
        return outcome;
    const std::optional<ChangeRecord> record = find();
    if (!Steppable(record, outcome))
        return outcome;
    return Restore(action, *record, state, plan(*record, state), progress, false);
}

RestoreOutcome FolderWriter::Undo(const StepProgress& progress)
{
    return StepThrough(RecordedAction::Undo, [&] { return history_->NextUndo(); },
                       [](const ChangeRecord& record, const std::vector<RecordedMod>& state) {
                           if (!record.complete)
                               return PlanRestore(state, record.before);
                           // Only an install adds mods, and only those it names.
                           return PlanStep(state, record.after, record.before,
                                           record.action == RecordedAction::Install ? NamesOf(record.intent)
                                                                                    : std::unordered_set<std::wstring>{});
                       },
                       progress);
}

RestoreOutcome FolderWriter::Redo(const StepProgress& progress)
{
    return StepThrough(RecordedAction::Redo, [&] { return history_->NextRedo(); },
                       [](const ChangeRecord& record, const std::vector<RecordedMod>& state) {
                           // Only a delete takes mods away, and only those it names.
                           return PlanStep(state, record.before, record.after,
                                           record.action == RecordedAction::Delete ? NamesOf(record.intent)
                                                                                   : std::unordered_set<std::wstring>{});
                       },
                       progress);
}

RestoreOutcome FolderWriter::RestoreBefore(std::uint64_t sequence, const StepProgress& progress)
{
    return StepThrough(RecordedAction::Restore, [&] { return history_->Record(sequence); },
                       [](const ChangeRecord& record, const std::vector<RecordedMod>& state) {
                           return PlanRestore(state, record.before);
                       },
                       progress);
}

RestoreOutcome FolderWriter::Recover(const StepProgress& progress)
{
    RestoreOutcome outcome;
    std::vector<RecordedMod> state;
    const std::unique_ptr<platform::FileLock> lock = Start(outcome.write, state, true);
    if (!lock)
        return outcome;
    const std::optional<ChangeRecord> unfinished = history_->UnfinishedNewest();
    if (!unfinished) {
        outcome.write.refused = WriteRefusal::NothingToDo;
        return outcome;
    }
    // A recovery that did not finish is recovered as the action it was
    // recovering: back to the state before that one.
    std::optional<ChangeRecord> record = unfinished;
    for (std::size_t hops = 0; record && record->action == RecordedAction::Recover && record->stepOf &&
                               hops < ChangeHistory::kRecordsKept; ++hops)
        record = history_->Record(*record->stepOf);
    if (record && record->action == RecordedAction::Recover)
        record.reset();  // the first action is damaged or gone: there is no state to go back to
    if (!Steppable(record, outcome))
        return outcome;

    // What an install was copying goes: the mods it names that were not there before.
    std::vector<RecordedMod> adding, kept;
    std::unordered_set<std::wstring> before;
    for (const RecordedMod& mod : record->before)
        before.insert(mod.pak.name);
    const std::unordered_set<std::wstring> intent = NamesOf(record->intent);
    for (RecordedMod& mod : state) {
        const bool copied = record->action == RecordedAction::Install && intent.count(mod.pak.name) &&
                            !before.count(mod.pak.name);
        (copied ? adding : kept).push_back(mod);
    }
    RestorePlan plan = PlanRestore(kept, record->before);
    for (const RecordedMod& mod : adding)
        plan.steps.push_back(RestoreStep{mod, std::nullopt});
    // What a delete was removing is finished: a companion its pak went
    // before goes too, so the two never part.
    if (record->action == RecordedAction::Delete) {
        std::vector<NotRestored> left;
        for (NotRestored& mod : plan.notRestored) {
            const auto deleted = std::find_if(record->before.begin(), record->before.end(),
                                              [&](const RecordedMod& m) { return m.pak.name == mod.name; });
            if (mod.reason != NotRestoredReason::Gone || !intent.count(mod.name) || deleted == record->before.end()) {
                left.push_back(std::move(mod));
                continue;
            }
            if (deleted->companion) {
                const platform::FsStatus removed =
                    fileSystem_.RemoveFile(platform::JoinPath(history_->PaksFolder(), deleted->companion->name));
                if (!removed.ok() && !platform::IsNotFound(removed))
                    left.push_back(NotRestored{deleted->companion->name, NotRestoredReason::Failed, removed});
            }
        }
        plan.notRestored = std::move(left);
    }
    // The pairs put whole again come back, with the rest, to the state
    // before. The recovery steps through the record it finds unfinished.
    RestoreOutcome recovered = Restore(RecordedAction::Recover, *unfinished, state, plan, progress, true);
    recovered.stepped = WithoutStates(*record);
    return recovered;
}

WriteOutcome FolderWriter::KeepUnfinished()
{
    WriteOutcome outcome;
    std::vector<RecordedMod> state;
    const std::unique_ptr<platform::FileLock> lock = Start(outcome, state, true);
    if (!lock)
        return outcome;
    std::optional<ChangeRecord> unfinished = history_->UnfinishedNewest();
    if (!unfinished) {
        outcome.refused = WriteRefusal::NothingToDo;
        return outcome;
    }
    outcome.sequence = unfinished->sequence;
    outcome.unfinished = WithoutStates(std::move(*unfinished));
    outcome.completeStatus = history_->Complete(outcome.sequence, state);
    return outcome;
}

std::optional<ChangeRecord> FolderWriter::Crashed()
{
    if (!history_)
        return std::nullopt;
    std::unique_ptr<platform::FileLock> lock;
    if (!history_->TryLock(lock).ok())
        return std::nullopt;  // another PakOrder is writing: its record is not finished yet
    std::optional<ChangeRecord> unfinished = history_->UnfinishedNewest();
    if (!unfinished)
        return std::nullopt;
    return WithoutStates(std::move(*unfinished));
}

std::optional<int> FolderWriter::FilesToRestore(const ChangeRecord& record)
{
    std::vector<RecordedMod> state;
    if (!history_ || !ReadFolderState(fileSystem_, history_->PaksFolder(), state).ok())
        return std::nullopt;
    return PlanRestore(state, record.before).FilesToChange();
}

}  // namespace mods
