#include "cli/TimeText.h"

namespace cli {
namespace {

// By hand: std::to_wstring goes through swprintf, too slow for a list of thousands.
std::wstring Padded(int value, int width)
{
    wchar_t digits[16];
    wchar_t* end = digits + 16;
    wchar_t* next = end;
    do {
        *--next = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value > 0 || end - next < width);
    return std::wstring(next, end);
}

std::wstring DateAndTime(const mods::CalendarTime& t, wchar_t between)
{
    return Padded(t.year, 4) + L'-' + Padded(t.month, 2) + L'-' + Padded(t.day, 2) + between + Padded(t.hour, 2) +
           L':' + Padded(t.minute, 2) + L':' + Padded(t.second, 2);
}

}  // namespace

std::string IsoTime(mods::FileTime time)
{
    const auto fields = mods::CalendarFromFileTime(time);
    if (!fields)
        return {};
    // By hand, into one buffer: a list writes thousands.
    char text[32];
    char* at = text;
    auto put = [&](long long value, int width, char after) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            at[i] = static_cast<char>('0' + value % 10);
        at += width;
        if (after)
            *at++ = after;
    };
    put(fields->year, fields->year > 9999 ? 5 : 4, '-');
    put(fields->month, 2, '-');
    put(fields->day, 2, 'T');
    put(fields->hour, 2, ':');
    put(fields->minute, 2, ':');
    put(fields->second, 2, '.');
    put(static_cast<long long>(time % mods::kTicksPerSecond), 7, 'Z');
    return std::string(text, static_cast<std::size_t>(at - text));
}

std::wstring ReadableTime(mods::FileTime time)
{
    const auto fields = mods::CalendarFromFileTime(time);
    return fields ? DateAndTime(*fields, L' ') + L" UTC" : std::wstring();
}

std::optional<Date> ParseDate(const std::wstring& text)
{
    int fields[3] = {};
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t start = at;
        const std::size_t most = i == 0 ? 5 : 2;
        while (at < text.size() && at - start < most && text[at] >= L'0' && text[at] <= L'9')
            fields[i] = fields[i] * 10 + (text[at++] - L'0');
        if (at == start || (i < 2 && (at == text.size() || text[at++] != L'-')))
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    mods::CalendarTime day;
    day.year = fields[0];
    day.month = fields[1];
    day.day = fields[2];
    if (!mods::FileTimeFromCalendar(day))
        return std::nullopt;
    return Date{fields[0], fields[1], fields[2]};
}

std::optional<mods::FileTime> OnDate(mods::FileTime time, const Date& date)
{
    std::optional<mods::CalendarTime> fields = mods::CalendarFromFileTime(time);
    if (!fields)
        return std::nullopt;
    fields->year = date.year;
    fields->month = date.month;
    fields->day = date.day;
    return mods::FileTimeFromCalendar(*fields);
}

}  // namespace cli
