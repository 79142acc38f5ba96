#pragma once
// File times as the file system keeps them: 100-nanosecond intervals since
// 1601-01-01 00:00 UTC. The program never converts to local time.

#include <cstdint>
#include <optional>
#include <string>

namespace mods {

using FileTime = std::uint64_t;

constexpr FileTime kTicksPerSecond = 10'000'000;
constexpr FileTime kTicksPerDay = kTicksPerSecond * 86'400;
// The largest time the system's calendar conversion accepts (30828-09-14).
constexpr FileTime kMaxCalendarTime = 0x7FFF'FFFF'FFFF'FFFFull;

// Calendar fields of a UTC time, laid out like the system's SYSTEMTIME.
struct CalendarTime {
    int year = 1601;
    int month = 1;       // 1..12
    int dayOfWeek = 1;   // 0 = Sunday; ignored by FileTimeFromCalendar
    int day = 1;         // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

bool operator==(const CalendarTime& a, const CalendarTime& b);

// Fails for times beyond kMaxCalendarTime, as the system's conversion does.
std::optional<CalendarTime> CalendarFromFileTime(FileTime time);
// Fails for fields out of range (before 1601, after kMaxCalendarTime, a day
// the month does not have, ...).
std::optional<FileTime> FileTimeFromCalendar(const CalendarTime& fields);

// "year-month-day" of the UTC date, without leading zeros: 2013-2-5.
// Empty when the time cannot be shown as a date.
std::wstring FormatFileDate(FileTime time);

}  // namespace mods
