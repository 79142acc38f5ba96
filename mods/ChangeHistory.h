#pragma once
// The records of one PAKS folder's writes, kept in a folder of their own:
// written before the action touches PAKS, completed after it, the newest
// ones kept. Undo and redo walk them as two stacks, computed from the
// records alone, so they survive a restart.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mods/ChangeRecord.h"
#include "platform/FileSystem.h"

namespace mods {

// One record file that could not be read, and why.
struct DamagedRecord {
    std::wstring fileName;
    RecordProblem problem;
};

class ChangeHistory {
public:
    static constexpr std::size_t kRecordsKept = 50;
    // The most mods a record holds in its states and its intent: far more
    // than any game folder holds. Begin refuses an action beyond it, so
    // that every record written fits kMaxRecordBytes and is read back.
    static constexpr std::size_t kMaxRecordedMods = 40'000;
    // The largest record, with its intent and both states that many mods
    // of the longest lines, and room for the lines about the action (an
    // escaped path of 32,767 characters): a larger file is refused unread.
    static constexpr std::size_t kMaxRecordBytes =
        (256u << 10) + kMaxRecordedMods * (kLongestIntentLine + 2 * kLongestStateLine);

    // The records are kept in historyRoot/<a stable id of the folder's path>/.
    ChangeHistory(platform::FileSystem& fileSystem, std::wstring historyRoot, std::wstring paksFolder);

    const std::wstring& PaksFolder() const { return paksFolder_; }
    const std::wstring& RecordsFolder() const { return recordsFolder_; }

    // The lock of the folder's writes (a file beside the records), taken
    // without waiting: LockedStatus() while another holder has it.
    platform::FsStatus TryLock(std::unique_ptr<platform::FileLock>& lock);
    // The record of that number, read whole; empty when it cannot be read.
    std::optional<ChangeRecord> Record(std::uint64_t sequence);

    // Records the folder's state and the intent, durably, before anything
    // in PAKS is touched: on failure the caller must not write to PAKS.
    platform::FsStatus Begin(RecordedAction action, std::vector<std::wstring> intent,
                             std::optional<std::uint64_t> stepOf, std::uint64_t& sequence);
    // The same with the state the caller has just read.
    platform::FsStatus Begin(RecordedAction action, std::vector<std::wstring> intent,
                             std::optional<std::uint64_t> stepOf, const std::vector<RecordedMod>& before,
                             std::uint64_t& sequence);
    // Reads the state after, marks the record complete (durably) and
    // removes all but the newest kRecordsKept records, and any record's
    // temporary file a stopped program left (the caller holds the lock).
    platform::FsStatus Complete(std::uint64_t sequence);
    // The same with the state after that the caller knows to be on disk.
    platform::FsStatus Complete(std::uint64_t sequence, const std::vector<RecordedMod>& after);

    struct Listing {
        std::vector<ChangeRecord> records;   // newest first
        std::vector<DamagedRecord> damaged;  // newest first
    };
    Listing List(RecordParts parts = RecordParts::Whole);

    // The numbers of the records NextUndo and NextRedo give, from a listing
    // that read every line (Whole or Summary): what the history shows.
    struct NextSteps {
        std::optional<std::uint64_t> undo, redo;
    };
    static NextSteps StepsOf(const Listing& listing);

    // The newest readable record when it is not complete: the program
    // stopped in the middle of that action.
    std::optional<ChangeRecord> UnfinishedNewest();

    // What Ctrl+Z undoes and Ctrl+Y redoes: every action is pushed on the
    // undo stack and clears the redo stack; an undo moves its record to the
    // redo stack and a redo moves it back. A recovered record counts as
    // never made; an unfinished one cannot be redone.
    std::optional<ChangeRecord> NextUndo();
    std::optional<ChangeRecord> NextRedo();

private:
    std::vector<std::uint64_t> RecordNumbers();  // ascending
    std::wstring RecordPath(std::uint64_t sequence) const;
    std::optional<ChangeRecord> Read(std::uint64_t sequence, RecordProblem& whyNot,
                                     RecordParts parts = RecordParts::Whole);
    // The same through `bytes`, whatever they held.
    std::optional<ChangeRecord> Read(std::uint64_t sequence, RecordProblem& whyNot, RecordParts parts,
                                     std::vector<unsigned char>& bytes);
    // The top of the undo stack (or of the redo stack), read whole.
    std::optional<ChangeRecord> TopOfStack(bool undo);
    void Prune();

    platform::FileSystem& fileSystem_;
    std::wstring paksFolder_;
    std::wstring recordsFolder_;
    // The record begun and not yet completed, whose text without its last
    // line is in text_.
    std::optional<std::uint64_t> begun_;
    std::string text_;
    std::optional<std::uint64_t> newest_;  // the newest record's number, as last seen or written
};

// The folder under the history root that holds a PAKS folder's records:
// the same for every spelling of the path that the system takes as the
// same (letter case folded on Windows only).
std::wstring RecordsFolderName(const std::wstring& paksFolder);
// True when the two paths name one folder by that rule.
bool SameFolder(const std::wstring& a, const std::wstring& b);

}  // namespace mods
