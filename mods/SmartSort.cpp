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

}  // namespace

FileTime BaseTime(FileTime now) { return WithYear(now, 2020); }

FileTime FarTime(FileTime now) { return WithYear(now, 2105); }

void SmartSort(const SmartSortRows& rows, FileTime now)
{
    const int n = rows.count;
    if (n < 2)
        return;
    const FileTime base = BaseTime(now);
    // A time that cannot be read counts as not later than the base time.
    auto notLaterThanBase = [&](int row) {
        const std::optional<FileTime> time = rows.readTime(row);
        return !time || *time <= base;
    };

    bool chain = false;
    int i = 0;
    if (notLaterThanBase(0)) {
        rows.writeTime(0, base);
        chain = true;
        i = 1;
    }

    while (i < n) {
        if (!rows.isMarked(i) && !(chain && notLaterThanBase(i))) {
            chain = false;
            ++i;
            continue;
        }

        const FileTime lower = i == 0 ? base : rows.readTime(i - 1).value_or(base);
        // Take in the following rows that are marked, unreadable, or too close
        // above the lower bound to leave every row of the run a full step.
        FileTime length = 1;
        std::optional<FileTime> upper;
        int k = i + 1;
        for (; k < n; ++k, ++length) {
            if (rows.isMarked(k))
                continue;
            const std::optional<FileTime> time = rows.readTime(k);
            if (time && *time >= lower + (length + 1) * kMinimumStep) {
                upper = time;
                break;
            }
        }
        if (!upper)  // the run reaches the end of the list
            upper = std::max(FarTime(now), lower + (length + 1) * kMinimumStep);
        const FileTime step = (*upper - lower) / (length + 1);
        for (int row = i; row < k; ++row)
            rows.writeTime(row, lower + static_cast<FileTime>(row - i + 1) * step);
        i = k + 1;  // row k bounded the run and keeps its time
    }
}

}  // namespace mods
