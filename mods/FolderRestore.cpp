#include "mods/FolderRestore.h"

#include <unordered_map>
#include <unordered_set>

#include "mods/FolderState.h"
#include "mods/ModFile.h"
#include "mods/ModSwitch.h"
#include "platform/Paths.h"

namespace mods {
namespace {

using ModIndex = std::unordered_map<std::wstring, const RecordedMod*>;

ModIndex IndexByKey(const std::vector<RecordedMod>& mods)
{
    ModIndex index;
    index.reserve(mods.size());
    for (const RecordedMod& mod : mods)
        index.emplace(ModKey(mod.pak.name), &mod);  // of two mods of one key, the first
    return index;
}

// The mods of `from` that `in` does not hold.
std::vector<RecordedMod> Missing(const std::vector<RecordedMod>& from, const std::vector<RecordedMod>& in)
{
    const ModIndex index = IndexByKey(in);
    std::vector<RecordedMod> missing;
    for (const RecordedMod& mod : from) {
        if (!index.count(ModKey(mod.pak.name)))
            missing.push_back(mod);
    }
    return missing;
}

// An unfinished record has no state after: the mods it was adding are
// those of its intent it did not find, taken as they are now.
std::vector<RecordedMod> BeingAdded(const ChangeRecord& record, const std::vector<RecordedMod>& current)
{
    const ModIndex before = IndexByKey(record.before);
    std::unordered_set<std::wstring> intended;
    for (const std::wstring& name : record.intent) {
        if (!before.count(ModKey(name)))
            intended.insert(ModKey(name));
    }
    std::vector<RecordedMod> added;
    for (const RecordedMod& mod : current) {
        if (intended.count(ModKey(mod.pak.name)))
            added.push_back(mod);
    }
    return added;
}

// The folder once every step of the plan has been made.
std::vector<RecordedMod> StateAfter(const std::vector<RecordedMod>& current, const RestorePlan& plan)
{
    std::unordered_map<std::wstring, const RestoreStep*> stepOf;
    for (const RestoreStep& step : plan.steps)
        stepOf.emplace(step.name, &step);
    std::vector<RecordedMod> after;
    after.reserve(current.size());
    for (const RecordedMod& mod : current) {
        const auto found = stepOf.find(mod.pak.name);
        if (found == stepOf.end()) {
            after.push_back(mod);
            continue;
        }
        const RestoreStep& step = *found->second;
        if (step.remove)
            continue;
        RecordedMod made{{step.newName, step.pakTime.value_or(mod.pak.time)}, std::nullopt};
        if (mod.companion)
            made.companion = RecordedFile{CompanionName(step.newName), step.companionTime.value_or(mod.companion->time)};
        after.push_back(std::move(made));
    }
    return after;
}

// Recorded first, then planned from the state the record holds, applied and completed.
RestoreResult RecordedRestore(ChangeHistory& history, platform::FileSystem& fileSystem, RecordedAction action,
                              std::uint64_t stepOf, std::vector<RecordedMod> current,
                              const std::vector<RecordedMod>& target, const std::vector<RecordedMod>& removable,
                              const StepProgress& progress)
{
    const RestorePlan plan = PlanRestore(current, target, removable);
    std::vector<std::wstring> intent;
    intent.reserve(plan.steps.size());
    for (const RestoreStep& step : plan.steps)
        intent.push_back(step.name);

    RestoreResult result;
    std::uint64_t sequence = 0;
    result.beginStatus = history.Begin(action, std::move(intent), stepOf, current, sequence);
    if (!result.beginStatus.ok())
        return result;
    RestoreResult applied = ApplyRestore(fileSystem, history.PaksFolder(), plan, progress);
    // Where every step was made, the folder is known without reading it again.
    const bool allMade = applied.notRestored.size() == plan.notRestored.size();
    applied.completeStatus = allMade ? history.Complete(sequence, StateAfter(current, plan)) : history.Complete(sequence);
    return applied;
}

std::vector<RecordedMod> CurrentState(platform::FileSystem& fileSystem, const std::wstring& paksFolder)
{
    std::vector<RecordedMod> current;
    ReadFolderState(fileSystem, paksFolder, current);
    return current;
}

RestoreResult NothingToDo()
{
    RestoreResult result;
    result.nothingToDo = true;
    return result;
}

}  // namespace

int RestorePlan::FilesToChange() const
{
    int files = 0;
    for (const RestoreStep& step : steps) {
        const bool renamed = step.remove || step.newName != step.name;
        files += renamed || step.pakTime ? 1 : 0;
        if (step.companion)
            files += renamed || step.companionTime ? 1 : 0;
    }
    return files;
}

RestorePlan PlanRestore(platform::FileSystem& fileSystem, const std::wstring& paksFolder,
                        const std::vector<RecordedMod>& target, const std::vector<RecordedMod>& removable)
{
    std::vector<RecordedMod> current;
    ReadFolderState(fileSystem, paksFolder, current);
    return PlanRestore(current, target, removable);
}

RestorePlan PlanRestore(const std::vector<RecordedMod>& current, const std::vector<RecordedMod>& target,
                        const std::vector<RecordedMod>& removable)
{
    const ModIndex byKey = IndexByKey(current);
    std::unordered_map<std::wstring, const RecordedMod*> byName;  // a mod of the very name matches first
    byName.reserve(current.size());
    for (const RecordedMod& mod : current)
        byName.emplace(mod.pak.name, &mod);

    RestorePlan plan;
    std::unordered_set<std::wstring> targetKeys;
    for (const RecordedMod& wanted : target) {
        const std::wstring key = ModKey(wanted.pak.name);
        if (!targetKeys.insert(key).second)
            continue;
        const auto exact = byName.find(wanted.pak.name);
        const auto similar = byKey.find(key);
        if (exact == byName.end() && similar == byKey.end()) {
            plan.notRestored.push_back(NotRestored{wanted.pak.name, NotRestoredReason::Gone, {}});
            continue;
        }
        const RecordedMod& now = exact != byName.end() ? *exact->second : *similar->second;
        RestoreStep step;
        step.name = now.pak.name;
        step.newName = wanted.pak.name;
        if (now.companion)
            step.companion = now.companion->name;
        if (now.pak.time != wanted.pak.time)
            step.pakTime = wanted.pak.time;
        if (wanted.companion && !now.companion)
            plan.notRestored.push_back(NotRestored{wanted.companion->name, NotRestoredReason::Gone, {}});
        else if (wanted.companion && now.companion->time != wanted.companion->time)
            step.companionTime = wanted.companion->time;
        if (step.newName != step.name || step.pakTime || step.companionTime)
            plan.steps.push_back(std::move(step));
    }

    for (const RecordedMod& added : removable) {
        const std::wstring key = ModKey(added.pak.name);
        const auto now = byKey.find(key);
        if (targetKeys.count(key) || now == byKey.end())
            continue;
        if (!(*now->second == added)) {
            plan.notRestored.push_back(NotRestored{now->second->pak.name, NotRestoredReason::Changed, {}});
            continue;
        }
        RestoreStep step;
        step.name = step.newName = added.pak.name;
        if (added.companion)
            step.companion = added.companion->name;
        step.remove = true;
        plan.steps.push_back(std::move(step));
    }
    return plan;
}

RestoreResult ApplyRestore(platform::FileSystem& fileSystem, const std::wstring& paksFolder, const RestorePlan& plan,
                           const StepProgress& progress)
{
    RestoreResult result;
    result.notRestored = plan.notRestored;
    const auto failed = [&](const std::wstring& name, platform::FsStatus status) {
        const auto reason = platform::IsAlreadyExists(status) ? NotRestoredReason::NameTaken : NotRestoredReason::Failed;
        result.notRestored.push_back(NotRestored{name, reason, status});
    };
    for (const RestoreStep& step : plan.steps) {
        if (progress)
            progress(static_cast<std::size_t>(&step - plan.steps.data()), plan.steps.size());
        const int files = step.companion ? 2 : 1;
        if (step.remove) {
            if (const auto failure = DeleteMod(fileSystem, paksFolder, step.name))
                failed(failure->fileName, failure->status);
            else
                result.filesChanged += files;
            continue;
        }
        std::optional<std::wstring> companion = step.companion;
        const bool renamed = step.newName != step.name;
        if (renamed) {
            const SwitchResult switched = RenameMod(fileSystem, paksFolder, step.name, step.newName);
            if (switched.failure) {
                failed(step.name, switched.failure->status);
                continue;  // the mod stays as it is, times included
            }
            result.filesChanged += files;
            if (companion)
                companion = CompanionName(step.newName);
        }
        if (step.pakTime) {
            const auto status = fileSystem.WriteLastWriteTime(platform::JoinPath(paksFolder, step.newName), *step.pakTime);
            if (!status.ok())
                failed(step.newName, status);
            else if (!renamed)
                ++result.filesChanged;
        }
        if (step.companionTime && companion) {
            const auto status = fileSystem.WriteLastWriteTime(platform::JoinPath(paksFolder, *companion), *step.companionTime);
            if (!status.ok())
                failed(*companion, status);
            else if (!renamed)
                ++result.filesChanged;
        }
    }
    return result;
}

RestoreResult Undo(ChangeHistory& history, platform::FileSystem& fileSystem, const StepProgress& progress)
{
    const auto record = history.NextUndo();
    if (!record)
        return NothingToDo();
    std::vector<RecordedMod> current = CurrentState(fileSystem, history.PaksFolder());
    const std::vector<RecordedMod> removable =
        record->complete ? Missing(record->after, record->before) : BeingAdded(*record, current);
    return RecordedRestore(history, fileSystem, RecordedAction::Undo, record->sequence, std::move(current),
                           record->before, removable, progress);
}

RestoreResult Redo(ChangeHistory& history, platform::FileSystem& fileSystem, const StepProgress& progress)
{
    const auto record = history.NextRedo();
    if (!record)
        return NothingToDo();
    return RecordedRestore(history, fileSystem, RecordedAction::Redo, record->sequence,
                           CurrentState(fileSystem, history.PaksFolder()), record->after,
                           Missing(record->before, record->after), progress);
}

RestoreResult RestoreBefore(ChangeHistory& history, platform::FileSystem& fileSystem, std::uint64_t sequence,
                            const StepProgress& progress)
{
    for (const ChangeRecord& record : history.List().records) {
        if (record.sequence == sequence)
            return RecordedRestore(history, fileSystem, RecordedAction::Restore, sequence,
                                   CurrentState(fileSystem, history.PaksFolder()), record.before, {}, progress);
    }
    return NothingToDo();
}

RestoreResult RecoverUnfinished(ChangeHistory& history, platform::FileSystem& fileSystem, const StepProgress& progress)
{
    const auto record = history.UnfinishedNewest();
    if (!record)
        return NothingToDo();
    std::vector<RecordedMod> current = CurrentState(fileSystem, history.PaksFolder());
    const std::vector<RecordedMod> removable = BeingAdded(*record, current);
    return RecordedRestore(history, fileSystem, RecordedAction::Recover, record->sequence, std::move(current),
                           record->before, removable, progress);
}

}  // namespace mods
