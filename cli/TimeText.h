#pragma once
// Times as the command line writes and reads them, always UTC.

#include <optional>
#include <string>

#include "base/FileTime.h"

namespace cli {

// ISO 8601 to the 100-ns unit: 2024-03-05T17:04:09.1234567Z (ASCII).
std::string IsoTime(mods::FileTime time);
// For people: 2024-03-05 17:04:09 UTC.
std::wstring ReadableTime(mods::FileTime time);

struct Date {
    int year = 0, month = 0, day = 0;
};
// YYYY-MM-DD, or as the list shows dates (2024-3-5); empty for anything
// else, or a day the calendar does not have.
std::optional<Date> ParseDate(const std::wstring& text);

// The date dialog's rule: `time` on another day, the time of day kept (to
// the millisecond).
std::optional<mods::FileTime> OnDate(mods::FileTime time, const Date& date);

}  // namespace cli
