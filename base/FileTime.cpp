#include "base/FileTime.h"

namespace mods {
namespace {

constexpr int kMinYear = 1601;
constexpr int kMaxYear = 30828;  // up to 30828-09-14, where file times end

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the given civil date (proleptic Gregorian calendar).
std::int64_t DaysSince1601(int year, int month, int day)
{
    // Count from March so that the leap day falls at the end of a year.
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = y / 400;  // years are positive here
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t daysSince0000March = era * 146097 + dayOfEra;
    // 1601-01-01 counted the same way.
    constexpr std::int64_t k1601 = 4 * 146097 + 0 * 365 + 306;  // 1600-03-01 + 306 days
    return daysSince0000March - k1601;
}

}  // namespace

bool operator==(const CalendarTime& a, const CalendarTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.milliseconds == b.milliseconds;
}

std::optional<CalendarTime> CalendarFromFileTime(FileTime time)
{
    if (time > kMaxCalendarTime)
        return std::nullopt;

    CalendarTime fields;
    const std::int64_t days = static_cast<std::int64_t>(time / kTicksPerDay);
    const FileTime ticksOfDay = time % kTicksPerDay;
    fields.hour = static_cast<int>(ticksOfDay / (3600 * kTicksPerSecond));
    fields.minute = static_cast<int>(ticksOfDay / (60 * kTicksPerSecond) % 60);
    fields.second = static_cast<int>(ticksOfDay / kTicksPerSecond % 60);
    fields.milliseconds = static_cast<int>(ticksOfDay / 10'000 % 1000);
    fields.dayOfWeek = static_cast<int>((days + 1) % 7);  // 1601-01-01 was a Monday

    // Inverse of DaysSince1601, counting from 1600-03-01.
    const std::int64_t z = days + 306;
    const std::int64_t era = z / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    fields.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    fields.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    fields.year = static_cast<int>(1600 + era * 400 + yearOfEra + (fields.month <= 2 ? 1 : 0));
    return fields;
}

std::optional<FileTime> FileTimeFromCalendar(const CalendarTime& f)
{
    if (f.year < kMinYear || f.year > kMaxYear || f.month < 1 || f.month > 12 || f.day < 1 ||
        f.day > DaysInMonth(f.year, f.month) || f.hour < 0 || f.hour > 23 || f.minute < 0 ||
        f.minute > 59 || f.second < 0 || f.second > 59 || f.milliseconds < 0 || f.milliseconds > 999)
        return std::nullopt;

    const FileTime days = static_cast<FileTime>(DaysSince1601(f.year, f.month, f.day));
    const FileTime seconds = static_cast<FileTime>((f.hour * 60 + f.minute) * 60 + f.second);
    const FileTime time = days * kTicksPerDay + seconds * kTicksPerSecond +
                          static_cast<FileTime>(f.milliseconds) * 10'000;
    if (time > kMaxCalendarTime)
        return std::nullopt;
    return time;
}

std::wstring FormatFileDate(FileTime time)
{
    const auto fields = CalendarFromFileTime(time);
    if (!fields)
        return {};
    // By hand: std::to_wstring goes through swprintf, which costs more than
    // the file's time read on a refill of thousands of mods.
    wchar_t text[16];
    wchar_t* end = text + 16;
    wchar_t* next = end;
    for (int field : {fields->day, fields->month, fields->year}) {
        if (next != end)
            *--next = L'-';
        do {
            *--next = static_cast<wchar_t>(L'0' + field % 10);
            field /= 10;
        } while (field != 0);
    }
    return std::wstring(next, end);
}

}  // namespace mods
