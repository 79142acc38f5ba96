#pragma once
// The smart sort: new last-write times for the rows the user moved, so that
// the order on disk becomes the order shown.

#include <functional>
#include <optional>
#include <vector>

#include "base/FileTime.h"

namespace mods {

// Two seconds: the time resolution of FAT32, the coarsest file system a
// game folder may sit on. Every re-timed row is at least this far from its
// neighbours, so the order survives a file system that rounds times.
constexpr FileTime kMinimumStep = 2 * kTicksPerSecond;

// `now` with its year replaced: the base time (2020) and the far time
// (2105; on 29 February, 28 February 2105 at the same time of day).
FileTime BaseTime(FileTime now);
FileTime FarTime(FileTime now);

struct SmartSortRows {
    int count = 0;
    std::function<bool(int row)> isMarked;
    // The row's time as it is on disk now; empty when it cannot be read.
    // Asked once per row and sort.
    std::function<std::optional<FileTime>(int row)> readTime;
    // True when the row's file now has that time.
    std::function<bool(int row, FileTime time)> writeTime;
};

// Walks the rows from the top and re-times, through writeTime, the row 0
// when it is not later than the base time, every run of marked rows, every
// row whose time equals the time of the row above it (the game's order of
// the two is undefined), and the rows a run must take in to keep its times
// strictly increasing: each run
// gets times spread evenly between the row above it and the first row below
// it that is far enough away. A run's lower bound is the time of the nearest
// row above it whose time is known. Times never wrap: sums saturate at the
// largest calendar time. Rows that no run takes in are never written.
// Fewer than two rows: nothing is written. No time chosen is past `latest`,
// the last time the folder's file system keeps.
void SmartSort(const SmartSortRows& rows, FileTime now, FileTime latest = kMaxCalendarTime);

}  // namespace mods
