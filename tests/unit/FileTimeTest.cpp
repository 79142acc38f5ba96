#include <gtest/gtest.h>

#include <random>

#include "base/FileTime.h"
#include "unit/TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace mods;
using testing_files::Time;

namespace {

CalendarTime Fields(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    CalendarTime f;
    f.year = y, f.month = mo, f.day = d, f.hour = h, f.minute = mi, f.second = s, f.milliseconds = ms;
    return f;
}

TEST(FileTime, KnownInstants)
{
    EXPECT_EQ(FileTimeFromCalendar(Fields(1601, 1, 1)), FileTime{0});
    EXPECT_EQ(FileTimeFromCalendar(Fields(1970, 1, 1)), FileTime{116'444'736'000'000'000});
    EXPECT_EQ(FileTimeFromCalendar(Fields(2000, 3, 1)), FileTime{125'963'424'000'000'000});
    const auto epoch = CalendarFromFileTime(116'444'736'000'000'000);
    ASSERT_TRUE(epoch);
    EXPECT_EQ(epoch->dayOfWeek, 4);  // a Thursday
    EXPECT_EQ(CalendarFromFileTime(0)->dayOfWeek, 1);  // a Monday
}

TEST(FileTime, RoundTripsAtTheLimits)
{
    const FileTime lastMillisecond = kMaxCalendarTime - kMaxCalendarTime % 10'000;
    for (FileTime time : {FileTime{0}, FileTime{10'000}, kTicksPerDay - 10'000, lastMillisecond,
                          Time(1601, 12, 31, 23, 59, 59), Time(2020, 2, 29, 12), Time(30827, 12, 31, 23, 59, 59)}) {
        const auto fields = CalendarFromFileTime(time);
        ASSERT_TRUE(fields) << time;
        EXPECT_EQ(FileTimeFromCalendar(*fields), time) << time;
    }
    const auto last = CalendarFromFileTime(kMaxCalendarTime);
    ASSERT_TRUE(last);
    EXPECT_EQ(*last, Fields(30828, 9, 14, 2, 48, 5, 477));
    EXPECT_FALSE(CalendarFromFileTime(kMaxCalendarTime + 1));
    EXPECT_FALSE(CalendarFromFileTime(~FileTime{0}));
}

TEST(FileTime, RefusesFieldsOutOfRange)
{
    for (const CalendarTime& f : {Fields(1600, 12, 31), Fields(2019, 2, 29), Fields(2100, 2, 29), Fields(2020, 13, 1),
                                  Fields(2020, 0, 1), Fields(2020, 4, 31), Fields(2020, 1, 0), Fields(2020, 1, 1, 24),
                                  Fields(2020, 1, 1, 0, 60), Fields(2020, 1, 1, 0, 0, 60), Fields(2020, 1, 1, 0, 0, 0, 1000),
                                  Fields(30828, 9, 14, 2, 48, 6), Fields(30829, 1, 1)})
        EXPECT_FALSE(FileTimeFromCalendar(f)) << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour;
    EXPECT_TRUE(FileTimeFromCalendar(Fields(2000, 2, 29)));
    EXPECT_TRUE(FileTimeFromCalendar(Fields(1604, 2, 29)));
}

TEST(FileTime, DateTextIsTheUtcDateWithoutLeadingZeros)
{
    // 01:30 on 6 February 2013 eight hours east of UTC is still the 5th in UTC.
    EXPECT_EQ(FormatFileDate(Time(2013, 2, 5, 17, 30)), L"2013-2-5");
    const FileTime midnight = Time(2013, 2, 6);
    EXPECT_EQ(FormatFileDate(midnight - 1), L"2013-2-5");
    EXPECT_EQ(FormatFileDate(midnight), L"2013-2-6");
    EXPECT_EQ(FormatFileDate(Time(2020, 1, 1) - 1), L"2019-12-31");
    EXPECT_EQ(FormatFileDate(Time(2020, 1, 1)), L"2020-1-1");
    EXPECT_EQ(FormatFileDate(Time(2020, 2, 29, 23, 59, 59)), L"2020-2-29");
    EXPECT_EQ(FormatFileDate(Time(2104, 12, 31, 23, 59, 59)), L"2104-12-31");
    EXPECT_EQ(FormatFileDate(0), L"1601-1-1");
    EXPECT_EQ(FormatFileDate(kMaxCalendarTime), L"30828-9-14");
    EXPECT_EQ(FormatFileDate(kMaxCalendarTime + 1), L"");
}

#ifdef _WIN32
// The conversion must agree with the system's own, everywhere in its range.
TEST(FileTime, AgreesWithTheSystemConversion)
{
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<FileTime> anyTime(0, kMaxCalendarTime);
    for (int i = 0; i < 20000; ++i) {
        const FileTime time = i < 10 ? kMaxCalendarTime - static_cast<FileTime>(i) : anyTime(random);
        const FILETIME ft{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        SYSTEMTIME st{};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st)) << time;
        const auto fields = CalendarFromFileTime(time);
        ASSERT_TRUE(fields) << time;
        ASSERT_EQ(*fields, Fields(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds)) << time;
        ASSERT_EQ(fields->dayOfWeek, st.wDayOfWeek) << time;
        FILETIME back{};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &back)) << time;
        ASSERT_EQ(FileTimeFromCalendar(*fields), (FileTime{back.dwHighDateTime} << 32) | back.dwLowDateTime) << time;
    }
}
#endif

}  // namespace
