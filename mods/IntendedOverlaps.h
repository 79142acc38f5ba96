#pragma once
// Overlaps the player means: "A is meant to override B". Such a pair raises
// no conflict mark, and the report lists its files apart. Mods are named as
// in a mod list, without their extensions, so that a pair survives enabling
// and disabling. Kept per PAKS folder beside its records, in UTF-8 text:
//
//   # PakOrder intended overlaps 1
//   # each line: a mod, " > ", a mod it is meant to override
//   BetterLoot Patch > BetterLoot
//
// The first line names the format and its version; then one pair per line,
// the two names joined by ">" with one space (or tab) on each side (no
// name holds ">"). Other lines starting with "#" are comments; blank lines
// are skipped; CRLF and LF both read. The player may edit it, so a line out
// of form is named and skipped, and the other pairs still count.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace mods {

struct IntendedOverlap {
    std::wstring overriding;  // the mod loaded later on purpose
    std::wstring overridden;
    friend bool operator==(const IntendedOverlap&, const IntendedOverlap&) = default;
};

// Far more pairs than anyone marks: a larger file is refused unread.
inline constexpr std::size_t kMaxIntendedOverlapsBytes = 1u << 20;

// The file beside a folder's records (ChangeHistory::RecordsFolder).
std::wstring IntendedOverlapsPath(const std::wstring& recordsFolder);

// "A > B", both names as a mod list writes them; empty when either name
// could not be a mod list's (IsModListName) or the two are one mod.
std::optional<std::string> FormatOverlapPair(const IntendedOverlap& pair);
// The pair of "A > B"; empty when the text is not one.
std::optional<IntendedOverlap> ParseOverlapPair(std::string_view text);

// The same pair, names compared as Windows compares file names.
bool SameOverlap(const IntendedOverlap& a, const IntendedOverlap& b);
// Adds the pair unless it is there; true when it was added.
bool AddOverlap(std::vector<IntendedOverlap>& pairs, const IntendedOverlap& pair);
// Removes the pair; true when it was there.
bool RemoveOverlap(std::vector<IntendedOverlap>& pairs, const IntendedOverlap& pair);

// The file's text. Pairs FormatOverlapPair refuses are left out.
std::string FormatIntendedOverlaps(const std::vector<IntendedOverlap>& pairs);

// The file's text with the pair on a line of its own at the end, or with
// every line naming the pair taken out; every other line stays as it was:
// comments, and lines at fault that the player may yet mend. `text` is a
// whole file of this format (no fault of the whole file), or empty for
// none; a new line ends as the first line does.
std::string WithOverlapAdded(std::string_view text, const IntendedOverlap& pair);
std::string WithOverlapRemoved(std::string_view text, const IntendedOverlap& pair);

enum class OverlapsFault {
    NotOverlapsFile,  // the first line is not this file's
    OtherVersion,     // a file of a version this program does not read
    TooLarge,         // more than kMaxIntendedOverlapsBytes
    BadLine,          // not a comment and not "A > B", or not UTF-8 text
    BadName,          // a name that cannot be a mod's file name
    SameMod,          // a mod meant to override itself
    Duplicate,        // a pair named twice
};

struct OverlapsProblem {
    OverlapsFault fault = OverlapsFault::NotOverlapsFile;
    int line = 0;       // the line at fault (1-based), where there is one
    std::wstring name;  // BadName: the name
};

// The pairs of the text. A line at fault is named in `problems` and
// skipped; a fault of the whole file (its first line, its size) leaves the
// result empty. Never reads past the bytes; time in proportion to their
// size, whatever they hold.
std::vector<IntendedOverlap> ParseIntendedOverlaps(const std::vector<unsigned char>& bytes,
                                                   std::vector<OverlapsProblem>& problems);

// The pairs of the file at `path`; none, and no problem, when there is no
// file. A file that cannot be read is a failure.
platform::FsStatus ReadIntendedOverlaps(platform::FileSystem& fileSystem, const std::wstring& path,
                                        std::vector<IntendedOverlap>& pairs, std::vector<OverlapsProblem>& problems);
// Writes the pairs durably (WriteFileDurably), creating the folder.
platform::FsStatus WriteIntendedOverlaps(platform::FileSystem& fileSystem, const std::wstring& path,
                                         const std::vector<IntendedOverlap>& pairs);

}  // namespace mods
