#pragma once
// Every write to a PAKS folder, for the window and the command line alike:
// the folder's lock taken for the whole action, refused over an action that
// did not finish, the folder's state read whole, the record begun, the
// action done, its times read back, the record completed, and one outcome
// that names every problem. The front ends ask the player, call it, and
// show the outcome.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mods/Arrangement.h"
#include "mods/ChangeHistory.h"
#include "mods/ChangeRecord.h"
#include "mods/FileFailure.h"
#include "mods/FolderRestore.h"
#include "mods/Install.h"
#include "mods/ListImport.h"
#include "mods/ModSwitch.h"
#include "mods/ModTime.h"
#include "mods/StepProgress.h"
#include "platform/FileSystem.h"

namespace mods {

// Why a write did not start. Nothing in PAKS was touched.
enum class WriteRefusal {
    None,
    NoHistory,        // there is no place for the records, and nothing is written without one
    Locked,           // another PakOrder is writing to this folder
    Unfinished,       // an action did not finish: it is recovered (or kept) first
    StateUnreadable,  // the folder could not be read whole: `status` says why
    CannotRecord,     // the record could not be written: `status` says why
    NothingToDo,      // no record to undo, redo, restore or recover
    OtherFolder,      // the record is another folder's
};

struct WriteOutcome {
    WriteRefusal refused = WriteRefusal::None;
    platform::FsStatus status;               // the system's reason for a refusal, where there is one
    std::optional<ChangeRecord> unfinished;  // Unfinished: the action that did not finish, without its states
    std::uint64_t sequence = 0;              // the action's own record
    // The action ran but its record is not complete: it is offered for
    // recovery, as if the program had stopped in the middle.
    platform::FsStatus completeStatus;

    bool Ran() const { return refused == WriteRefusal::None; }
};

// An undo, redo, restore or recovery.
struct RestoreOutcome {
    WriteOutcome write;
    std::optional<ChangeRecord> stepped;  // the record it stepped through, without its states
    int filesChanged = 0;
    std::vector<NotRestored> notRestored;
    // A recovery that could not bring every mod back leaves the action
    // unfinished: it is offered again.
    bool recoveryUnfinished = false;
};

class FolderWriter {
public:
    // `history` may be null: there is no place for records, and every
    // write is refused. A lock held by another is waited for a moment.
    FolderWriter(platform::FileSystem& fileSystem, ChangeHistory* history);

    // The action is done between the record's beginning and its completion;
    // it is given the folder's state before.
    using Action = std::function<void(const std::vector<RecordedMod>& before)>;
    WriteOutcome Write(RecordedAction action, std::vector<std::wstring> intent, const Action& act);

    // Enables or disables each mod with its companion (an import's switches
    // are recorded as an import); one result per change, in order.
    WriteOutcome Switch(RecordedAction action, const std::vector<StateChange>& changes,
                        std::vector<SwitchResult>& results);
    WriteOutcome Delete(const std::vector<std::wstring>& names, std::vector<FileFailure>& failures);
    WriteOutcome SetTime(const std::wstring& name, FileTime time, std::vector<FileFailure>& failures);
    WriteOutcome Install(const std::vector<std::wstring>& files, InstallResult& result,
                         InstallProgress* progress = nullptr);
    // An import: each switch made and followed in `arrangement` (its rows
    // and the steps that take moves back), then, with `writeOrder`, the
    // arrangement's order written; one record.
    WriteOutcome Import(Arrangement& arrangement, const std::vector<StateChange>& switches, bool writeOrder,
                        FileTime now, std::vector<SwitchResult>& switched, std::vector<FileFailure>& failures);
    // The smart sort: the order shown written as times.
    WriteOutcome WriteOrder(const std::vector<ListedMod>& mods, FileTime now, std::vector<FileFailure>& failures,
                            const StepProgress& progress = {});

    // Takes back what the last action changed, where it is still as that
    // action left it; an install's mods are removed when unchanged.
    RestoreOutcome Undo(const StepProgress& progress = {});
    // Makes the last undone action's change again, on the same terms.
    RestoreOutcome Redo(const StepProgress& progress = {});
    // The whole folder back to its state before that record; mods added
    // since are kept.
    RestoreOutcome RestoreBefore(std::uint64_t sequence, const StepProgress& progress = {});
    // Back to the state before the action that did not finish (before the
    // first one, when a recovery itself did not finish); the mods an
    // unfinished install was copying are removed.
    RestoreOutcome Recover(const StepProgress& progress = {});
    // The unfinished action kept as the folder now is, and undoable as any.
    WriteOutcome KeepUnfinished();

    // The action that did not finish, when no one is writing now: the
    // program stopped in its middle. Empty when another PakOrder holds the
    // lock (its action is running) or all is well.
    std::optional<ChangeRecord> Crashed();

    // The folder's lock alone, for a write beside the records that is not
    // itself recorded (the intended overlaps); waited for as every write
    // waits. Empty, with the outcome saying why, when it cannot be had.
    std::unique_ptr<platform::FileLock> Lock(WriteOutcome& outcome);

    // How many files a restore before that record would change now; empty
    // when the folder or the record cannot be read.
    std::optional<int> FilesToRestore(const ChangeRecord& record);

private:
    // Takes the lock, refuses over an unfinished action (unless `overUnfinished`),
    // reads the state whole.
    std::unique_ptr<platform::FileLock> Start(WriteOutcome& outcome, std::vector<RecordedMod>& state,
                                              bool overUnfinished);
    // A record there is to step through, and of this folder; else the
    // outcome says why not.
    bool Steppable(const std::optional<ChangeRecord>& record, RestoreOutcome& outcome) const;
    // An undo, redo or restore: the lock, the state, the record `find`
    // gives (of this folder), the plan made from them, applied.
    using Planner = std::function<RestorePlan(const ChangeRecord& record, const std::vector<RecordedMod>& state)>;
    RestoreOutcome StepThrough(RecordedAction action, const std::function<std::optional<ChangeRecord>()>& find,
                               const Planner& plan, const StepProgress& progress);
    RestoreOutcome Restore(RecordedAction action, const ChangeRecord& record, std::vector<RecordedMod>& state,
                           const RestorePlan& plan, const StepProgress& progress, bool completeOnlyWhenWhole);

    platform::FileSystem& fileSystem_;
    ChangeHistory* history_;
};

}  // namespace mods
