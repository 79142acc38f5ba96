#pragma once
// Making a PAKS folder match a recorded state, and the undo, redo, restore
// and crash recovery built on it. A mod is matched across states by
// ModKey; only what differs is touched; a mod's pak and companion are
// renamed together or not at all, and no rename ever replaces a file.
// Nothing is ever created: a mod gone since cannot come back.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mods/ChangeHistory.h"
#include "mods/ChangeRecord.h"
#include "mods/StepProgress.h"
#include "platform/FileSystem.h"

namespace mods {

enum class NotRestoredReason {
    Gone,       // deleted since: it cannot come back
    NameTaken,  // a file of the name it must take is there
    Failed,     // a rename, time write or removal failed: status says why
    Changed,    // an installed mod to remove has changed since: kept
};

struct NotRestored {
    std::wstring name;
    NotRestoredReason reason = NotRestoredReason::Failed;
    platform::FsStatus status;
};

// What one mod needs to reach its target.
struct RestoreStep {
    std::wstring name;                     // the pak's name now
    std::wstring newName;                  // its name in the target; == name when it keeps it
    std::optional<std::wstring> companion;  // the companion's name now, when there is one
    std::optional<FileTime> pakTime;        // to write, when it differs
    std::optional<FileTime> companionTime;  // likewise
    bool remove = false;                    // an installed mod still as it was: goes
};

struct RestorePlan {
    std::vector<RestoreStep> steps;
    std::vector<NotRestored> notRestored;  // known before anything is written: Gone, Changed
    // The files (paks and companions) the steps rename, re-time or remove.
    int FilesToChange() const;
};

// target: the state to reach. removable: mods that may be removed when they
// are still exactly as recorded (those an undone install added). A mod now
// in neither is kept with its times; one in the target but gone now is
// Gone.
RestorePlan PlanRestore(platform::FileSystem& fileSystem, const std::wstring& paksFolder,
                        const std::vector<RecordedMod>& target, const std::vector<RecordedMod>& removable);
// The same from a state the caller has just read.
RestorePlan PlanRestore(const std::vector<RecordedMod>& current, const std::vector<RecordedMod>& target,
                        const std::vector<RecordedMod>& removable);

struct RestoreResult {
    bool nothingToDo = false;             // no record to step through (or none of that number)
    platform::FsStatus beginStatus;       // the record could not be written: nothing was touched
    platform::FsStatus completeStatus;    // the folder was changed but its record not marked complete
    int filesChanged = 0;
    std::vector<NotRestored> notRestored;  // the plan's, then those the writes could not reach
};

// Applies the steps one mod at a time: a mod that cannot follow is left as
// it is (or as far as it got) and named; the others go on.
// `progress` is told of each step as it is made.
RestoreResult ApplyRestore(platform::FileSystem& fileSystem, const std::wstring& paksFolder, const RestorePlan& plan,
                           const StepProgress& progress = {});

// Each is recorded first like any write (Begin, plan, apply, Complete).
// Back to the state before the top of the undo stack: an install's mods are
// removed when unchanged.
RestoreResult Undo(ChangeHistory& history, platform::FileSystem& fileSystem, const StepProgress& progress = {});
// On to the state after the top of the redo stack: a delete removes its mods
// again when unchanged; an install cannot copy again (its mods are Gone).
RestoreResult Redo(ChangeHistory& history, platform::FileSystem& fileSystem, const StepProgress& progress = {});
// Back to the state before the record of that number; mods added since are kept.
RestoreResult RestoreBefore(ChangeHistory& history, platform::FileSystem& fileSystem, std::uint64_t sequence,
                            const StepProgress& progress = {});
// Back to the state before the newest record when it is unfinished; a mod
// an unfinished install was copying is removed.
RestoreResult RecoverUnfinished(ChangeHistory& history, platform::FileSystem& fileSystem,
                                const StepProgress& progress = {});

}  // namespace mods
