#pragma once
// Making a PAKS folder match a recorded state. Files are matched by their
// exact names (a mod renamed by enabling or disabling it, by its name
// without the extension when that names one mod only); only what differs
// is touched; a pak and its companion are renamed together or not at all,
// and no rename ever replaces a file. Nothing is ever created: a mod gone
// since cannot come back.

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "mods/ChangeRecord.h"
#include "mods/StepProgress.h"
#include "platform/FileSystem.h"

namespace mods {

enum class NotRestoredReason {
    Gone,         // deleted since: it cannot come back
    NameTaken,    // a file of the name it must take is there
    Failed,       // a rename, time write or removal failed: status says why
    Changed,      // changed since the action: left as it is
    TimeNotKept,  // the time was written, but the disk keeps another one
};

struct NotRestored {
    std::wstring name;
    NotRestoredReason reason = NotRestoredReason::Failed;
    platform::FsStatus status;
};

// One mod taken from what it is now to what it must be.
struct RestoreStep {
    RecordedMod now;
    std::optional<RecordedMod> wanted;  // empty: the mod is removed
};

struct RestorePlan {
    std::vector<RestoreStep> steps;
    std::vector<NotRestored> notRestored;  // known before anything is written: Gone, Changed
    // The files (paks and companions) the steps rename, re-time or remove.
    int FilesToChange() const;
};

// The whole folder back to `target`: every mod of it found now (by exact
// name, else by its name without the extension when that names one mod on
// each side) takes its recorded name and times; a mod now in no state of
// the target is kept as it is. Nothing is removed.
RestorePlan PlanRestore(const std::vector<RecordedMod>& current, const std::vector<RecordedMod>& target);

// One action's own change taken back (from = its after, to = its before) or
// made again (from = before, to = after): only the mods that change between
// the two, and each only while it is now exactly as `from` has it; others
// are left alone and named as Changed. A mod that `from` has and `to` lacks
// is removed only when `removable` names it (what an install added, what a
// delete took); otherwise it is kept and named.
RestorePlan PlanStep(const std::vector<RecordedMod>& current, const std::vector<RecordedMod>& from,
                     const std::vector<RecordedMod>& to, const std::unordered_set<std::wstring>& removable);

struct AppliedRestore {
    int filesChanged = 0;
    std::vector<NotRestored> notRestored;  // the plan's, then those the writes could not reach
};

// Applies the steps one mod at a time: a mod that cannot follow is left as
// it was (a pak whose companion cannot follow goes back) and named; the
// others go on. Every time written is read back. `state` (the folder as
// the plan found it) is kept up to date with what was done, so that it is
// the folder afterwards. `progress` is told of each step.
AppliedRestore ApplyRestore(platform::FileSystem& fileSystem, const std::wstring& paksFolder, const RestorePlan& plan,
                            std::vector<RecordedMod>& state, const StepProgress& progress = {});

}  // namespace mods
