#include "mods/SmartSort.h"

#include <algorithm>

namespace mods {
namespace {

FileTime WithYear(FileTime now, int year)
{
    std::optional<CalendarTime> fields = CalendarFromFileTime(now);
    if (!fields)
        return now;
    fields->year = year;
    if (fields->month == 2 && fields->day == 29 && !FileTimeFromCalendar(*fields))
        fields->day = 28;  // the year has no 29 February
    return FileTimeFromCalendar(*fields).value_or(now);
}

// time + ticks, never past the largest time a file can be given.
FileTime SaturatingAdd(FileTime time, FileTime ticks, FileTime limit = kMaxCalendarTime)
{
    time = std::min(time, limit);
    return ticks > limit - time ? limit : time + ticks;
}

// The rows' times, read once each; a successful write replaces the cached time.
class RowTimes {
public:
    RowTimes(const SmartSortRows& rows) : rows_(rows), times_(static_cast<std::size_t>(rows.count)) {}

    std::optional<FileTime> Get(int row)
    {
        Entry& entry = times_[static_cast<std::size_t>(row)];
        if (!entry.read) {
            entry.time = rows_.readTime(row);
            entry.read = true;
        }
        return entry.time;
    }

    void Write(int row, FileTime time)
    {
        if (rows_.writeTime(row, time))
            times_[static_cast<std::size_t>(row)] = Entry{true, time};
    }

private:
    struct Entry {
        bool read = false;
        std::optional<FileTime> time;
    };
    const SmartSortRows& rows_;
    std::vector<Entry> times_;
};

}  // namespace

FileTime BaseTime(FileTime now) { return WithYear(now, 2020); }

FileTime FarTime(FileTime now) { return WithYear(now, 2105); }

void SmartSort(const SmartSortRows& rows, FileTime now, FileTime latest)
{
    latest = std::min(latest, kMaxCalendarTime);
    const int n = rows.count;
    if (n < 2)
        return;
    RowTimes times(rows);
    const FileTime base = BaseTime(now);
    // A time that cannot be read counts as not later than the base time.
    auto notLaterThanBase = [&](int row) {
        const std::optional<FileTime> time = times.Get(row);
        return !time || *time <= base;
    };
    // The run must stay below every row shown above it whose time is known.
    auto lowerBound = [&](int first) {
        for (int row = first - 1; row >= 0; --row) {
            if (const std::optional<FileTime> time = times.Get(row))
                return std::min(*time, latest);
        }
        return base;
    };

    // Equal times leave the game's order undefined: the later row moves on.
    auto tiedWithAbove = [&](int row) {
        if (row == 0)
            return false;
        const std::optional<FileTime> time = times.Get(row);
        const std::optional<FileTime> above = times.Get(row - 1);
        return time && above && *time == *above;
    };

    bool chain = false;
    int i = 0;
    if (notLaterThanBase(0)) {
        times.Write(0, base);
        chain = true;
        i = 1;
    }

    while (i < n) {
        if (!rows.isMarked(i) && !(chain && notLaterThanBase(i)) && !tiedWithAbove(i)) {
            chain = false;
            ++i;
            continue;
        }

        const FileTime lower = i == 0 ? base : lowerBound(i);
        // Take in the following rows that are marked, unreadable, or too close
        // above the lower bound to leave every row of the run a full step.
        FileTime length = 1;
        std::optional<FileTime> upper;
        int k = i + 1;
        for (; k < n; ++k, ++length) {
            if (rows.isMarked(k))
                continue;
            const std::optional<FileTime> time = times.Get(k);
            if (time && *time >= SaturatingAdd(lower, (length + 1) * kMinimumStep, latest)) {
                upper = std::min(*time, latest);
                break;
            }
        }
        if (!upper)  // the run reaches the end of the list
            upper = std::min(latest, std::max(FarTime(now), SaturatingAdd(lower, (length + 1) * kMinimumStep, latest)));
        const FileTime step = *upper > lower ? (*upper - lower) / (length + 1) : 0;
        for (int row = i; row < k; ++row)
            times.Write(row, SaturatingAdd(lower, static_cast<FileTime>(row - i + 1) * step, latest));
        i = k + 1;  // row k bounded the run and keeps its time
    }
}

}  // namespace mods
