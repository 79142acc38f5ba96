#pragma once
// The record of one write to a PAKS folder: the state of every mod before
// it, what it was about to change, and the state after it once complete;
// and the record's text form, which people can read and diff.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileTime.h"
#include "platform/FileSystem.h"

namespace mods {

enum class RecordedAction { SmartSort, SetTime, Enable, Disable, Delete, Install, Undo, Redo, Restore, Recover, Import };

// The action's name in a record: "smart-sort", "set-time", ...
std::string_view RecordedActionName(RecordedAction action);

struct RecordedFile {
    std::wstring name;
    FileTime time = 0;  // exact, in 100-ns units
};

struct RecordedMod {
    RecordedFile pak;
    std::optional<RecordedFile> companion;
};

bool operator==(const RecordedFile& a, const RecordedFile& b);
bool operator==(const RecordedMod& a, const RecordedMod& b);

struct ChangeRecord {
    std::uint64_t sequence = 0;  // its number in the folder's history
    std::wstring paksFolder;
    FileTime madeAt = 0;  // UTC
    RecordedAction action{};
    std::vector<std::wstring> intent;     // the mods the action is about to change
    std::optional<std::uint64_t> stepOf;  // Undo, Redo, Restore, Recover: the record it steps through
    bool complete = false;
    std::vector<RecordedMod> before;  // every mod in the folder before the action
    std::vector<RecordedMod> after;   // every mod after it, once complete
    // A record read as a summary: ModsChanged, counted without keeping the states.
    std::optional<int> modsChangedRead;

    // Mods whose pak name or time or companion differ between before and
    // after (a mod matched across them by its ModKey), or that are in one
    // of them only; for a record not complete, the mods it was about to change.
    int ModsChanged() const;
};

// The key that matches a mod across states: its name without the
// extension (enabling and disabling change only that), case folded.
std::wstring ModKey(const std::wstring& pakName);

// The longest lines of a record: a name of 255 UTF-16 units (the most a
// file's name holds) each written as \uXXXX; a state's line of a pak and
// its .MAN so named, each with a time of 20 digits and the longest date
// ("30828-09-14 02:48:05.4775807 UTC"); an intent's line of such a name.
inline constexpr std::size_t kLongestWrittenName = 255 * 6;
inline constexpr std::size_t kLongestStateLine = 6 + 2 * (3 + kLongestWrittenName + 20 + 32) + 1;  // "before", 6 tabs, '\n'
inline constexpr std::size_t kLongestIntentLine = 7 + kLongestWrittenName + 1;                       // "intent\t", '\n'


// UTF-8 text; the first line names the format and its version.
std::string FormatRecord(const ChangeRecord& record);
// The same in two parts, so that a record begun is completed without
// formatting its state before again: all but the state after and the last
// line, in `out` (its storage reused), with `before` for the record's own
// (a caller's state is formatted without a copy) and room for modsToFollow
// more; then the rest, where `after` is null for a record not complete.
void FormatRecordOpening(std::string& out, const ChangeRecord& record, const std::vector<RecordedMod>& before,
                         std::size_t modsToFollow);
void AppendRecordEnd(std::string& text, const std::vector<RecordedMod>* after);

// Why bytes are not a record.
enum class RecordFault {
    NotARecord,     // the first line is not a record's
    OtherVersion,   // a record of a version this program does not read
    Truncated,      // it ends before its last line
    BadLine,        // a line this version does not know, or a value out of form
    MissingField,   // sequence, folder, time or action is not there
    TooLarge,       // the file is larger than any record (status says how it was read)
    Unreadable,     // the file could not be read: status says why
    WrongSequence,  // its number is not the one of its file name
};

struct RecordProblem {
    RecordFault fault = RecordFault::NotARecord;
    int line = 0;                  // the line at fault (1-based), where there is one
    platform::FsStatus status;     // the system's reason for TooLarge and Unreadable
};

// How much of a record to read: all of it; all but the states (`before`
// and `after` stay empty), which is what walking the history needs; or a
// summary, which is that and ModsChanged, from states read and let go (a
// summary refuses whatever a whole read refuses): what listing it needs.
enum class RecordParts { Whole, WithoutStates, Summary };

// Never reads past the bytes, and takes time in proportion to their size.
std::optional<ChangeRecord> ParseRecord(const std::vector<unsigned char>& bytes, RecordProblem& whyNot,
                                        RecordParts parts = RecordParts::Whole);

}  // namespace mods
