#include <gtest/gtest.h>

#include <map>
#include <span>

#include "mods/SmartSort.h"
#include "unit/TestFiles.h"

using namespace mods;
using testing_files::Time;

namespace {

constexpr FileTime kHour = 3600 * kTicksPerSecond;

// Rows held in memory; writes change the times and are recorded. Each
// row's time is read from disk at most once per sort.
struct Rows {
    std::vector<std::optional<FileTime>> times;
    std::vector<bool> marked;
    std::map<int, FileTime> writes;

    void Sort(FileTime now)
    {
        SmartSortRows rows;
        std::map<int, int> reads;
        rows.count = static_cast<int>(times.size());
        rows.isMarked = [this](int r) { return marked[static_cast<std::size_t>(r)]; };
        rows.readTime = [&, this](int r) {
            EXPECT_EQ(reads[r]++, 0) << "row " << r << " read twice";
            return times[static_cast<std::size_t>(r)];
        };
        rows.writeTime = [this](int r, FileTime t) {
            EXPECT_EQ(writes.count(r), 0u) << "row " << r << " written twice";
            writes[r] = t;
            times[static_cast<std::size_t>(r)] = t;
            return true;
        };
        SmartSort(rows, now);
    }
};

const FileTime kNow = Time(2013, 3, 10, 14, 22, 5) + 123 * 10'000;  // base: 2020-03-10 14:22:05.123

TEST(SmartSort, BaseAndFarTimesKeepTheMomentOfTheYear)
{
    EXPECT_EQ(BaseTime(kNow), Time(2020, 3, 10, 14, 22, 5) + 123 * 10'000);
    EXPECT_EQ(FarTime(kNow), Time(2105, 3, 10, 14, 22, 5) + 123 * 10'000);
    const FileTime leapDay = Time(2024, 2, 29, 10, 30);
    EXPECT_EQ(BaseTime(leapDay), Time(2020, 2, 29, 10, 30));
    EXPECT_EQ(FarTime(leapDay), Time(2105, 2, 28, 10, 30));
}

TEST(SmartSort, OneMovedModGoesHalfwayBetweenItsNeighbours)
{
    // W, Z, X, Y after moving Z up between W and X.
    Rows rows{{Time(2021, 1, 1), Time(2021, 1, 6), Time(2021, 1, 2), Time(2021, 1, 5)}, {false, true, false, false}, {}};
    rows.Sort(kNow);
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{1, Time(2021, 1, 1, 12)}}));
}

TEST(SmartSort, ThreeMarkedRowsShareTheGapEvenly)
{
    const FileTime t1 = Time(2021, 6, 1), t2 = Time(2021, 6, 2) + 7;
    Rows rows{{t1, Time(2022, 1, 1), Time(2023, 1, 1), Time(2024, 1, 1), t2}, {false, true, true, true, false}, {}};
    rows.Sort(kNow);
    const FileTime s = (t2 - t1) / 4;
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{1, t1 + s}, {2, t1 + 2 * s}, {3, t1 + 3 * s}}));
}

TEST(SmartSort, AMarkedRowAtTheTopStartsFromTheBaseTime)
{
    Rows rows{{Time(2023, 5, 5), Time(2021, 1, 1), Time(2022, 1, 1)}, {true, false, false}, {}};
    rows.Sort(kNow);
    const FileTime base = BaseTime(kNow);
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{0, base + (Time(2021, 1, 1) - base) / 2}}));
}

TEST(SmartSort, ARunAtTheBottomReachesTowardsTheFarTime)
{
    const FileTime above = Time(2021, 1, 1);
    Rows rows{{above, Time(2020, 12, 1), Time(2020, 11, 1)}, {false, true, true}, {}};
    rows.Sort(kNow);
    const FileTime s = (FarTime(kNow) - above) / 3;
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{1, above + s}, {2, above + 2 * s}}));
}

TEST(SmartSort, NothingMarkedAndEverythingRecentWritesNothing)
{
    Rows rows{{Time(2021, 1, 1), Time(2022, 1, 1)}, {false, false}, {}};
    rows.Sort(kNow);
    EXPECT_TRUE(rows.writes.empty());
    Rows one{{Time(2010, 1, 1)}, {true}, {}};
    one.Sort(kNow);
    EXPECT_TRUE(one.writes.empty());
    Rows none{{}, {}, {}};
    none.Sort(kNow);
    EXPECT_TRUE(none.writes.empty());
}

TEST(SmartSort, AFolderOfOldModsComesOutInOrderAfterTheBaseTime)
{
    // Every mod from before 2020: row 0 gets the base time, the rest follow it.
    const FileTime base = BaseTime(kNow);
    Rows rows{{Time(2013, 1, 1), Time(2014, 1, 1), Time(2015, 1, 1), Time(2022, 1, 1)}, {false, true, false, false}, {}};
    rows.Sort(kNow);
    const FileTime s = (Time(2022, 1, 1) - base) / 3;
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{0, base}, {1, base + s}, {2, base + 2 * s}}));

    Rows all{{Time(2013, 1, 1), Time(2014, 1, 1), Time(2015, 1, 1)}, {false, false, false}, {}};
    all.Sort(kNow);
    const FileTime far = (FarTime(kNow) - base) / 3;
    EXPECT_EQ(all.writes, (std::map<int, FileTime>{{0, base}, {1, base + far}, {2, base + 2 * far}}));
}

TEST(SmartSort, NeighboursTooCloseAreTakenIntoTheRun)
{
    // Z moved between W and X, which have equal times: X must move too, or Z would tie.
    const FileTime t = Time(2021, 1, 1);
    Rows rows{{t, Time(2022, 1, 1), t, t + kMinimumStep * 3 - 1, Time(2023, 1, 1)}, {false, true, false, false, false}, {}};
    rows.Sort(kNow);
    // The run is Z, X and the row one tick too close; the 2023 row bounds it.
    ASSERT_EQ(rows.writes.size(), 3u);
    const FileTime s = (Time(2023, 1, 1) - t) / 4;
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{1, t + s}, {2, t + 2 * s}, {3, t + 3 * s}}));
}

// One sort of rows with these times and marks, and the writes it must make.
struct Case {
    const char* what;
    std::vector<std::optional<FileTime>> times;
    std::vector<bool> marked;
    std::map<int, FileTime> writes;
};

void ExpectWrites(std::span<const Case> cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rows rows{c.times, c.marked, {}};
        rows.Sort(kNow);
        EXPECT_EQ(rows.writes, c.writes);
    }
}

TEST(SmartSort, TiedRowsAreSeparatedWritingOnlyTheLaterOnes)
{
    // Equal times leave the game's order undefined: the later rows of a tie
    // are re-timed as a moved row is, and nothing else.
    const FileTime t0 = Time(2021, 1, 1), t = Time(2021, 6, 1), t3 = Time(2022, 1, 1);
    const Case cases[] = {
        {"two tied rows", {t0, t, t, t3}, {false, false, false, false}, {{2, t + (t3 - t) / 2}}},
        {"three tied rows", {t0, t, t, t, t3}, {false, false, false, false, false},
         {{2, t + (t3 - t) / 3}, {3, t + 2 * ((t3 - t) / 3)}}},
        {"tied rows at the top", {t, t, t3}, {false, false, false}, {{1, t + (t3 - t) / 2}}},
        {"tied rows at the bottom", {t0, t, t}, {false, false, false}, {{2, t + (FarTime(kNow) - t) / 2}}},
        {"a tie under a moved row's bound", {t0, t3, t, t, t3}, {false, true, false, false, false},
         {{1, t0 + (t - t0) / 2}, {3, t + (t3 - t) / 2}}},
        {"a tie whose next row is too close takes it in", {t, t, t + kTicksPerSecond, t3}, {false, false, false, false},
         {{1, t + (t3 - t) / 3}, {2, t + 2 * ((t3 - t) / 3)}}},
        {"two ties among rows not moved", {t0, t0, t, t, t3}, {false, false, false, false, false},
         {{1, t0 + (t - t0) / 2}, {3, t + (t3 - t) / 2}}},
        {"an unreadable row ties with nothing", {t0, std::nullopt, t3}, {false, false, false}, {}},
    };
    ExpectWrites(cases);
}

TEST(SmartSort, UnreadableTimesAreTakenIn)
{
    Rows rows{{Time(2021, 1, 1), Time(2021, 3, 1), std::nullopt, Time(2022, 1, 1)}, {false, true, false, false}, {}};
    rows.Sort(kNow);
    const FileTime s = (Time(2022, 1, 1) - Time(2021, 1, 1)) / 3;
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{1, Time(2021, 1, 1) + s}, {2, Time(2021, 1, 1) + 2 * s}}));
}

TEST(SmartSort, EveryRunStepsAtLeastTwoSeconds)
{
    // A marked row right under a row one tick before the end of the calendar range of 2105.
    const FileTime late = FarTime(kNow) + kTicksPerSecond;
    Rows rows{{Time(2021, 1, 1), late, Time(2021, 2, 1)}, {false, false, true}, {}};
    rows.Sort(kNow);
    ASSERT_EQ(rows.writes.size(), 1u);
    EXPECT_GE(rows.writes[2], late + kMinimumStep);
}

TEST(SmartSort, OnTheLeapDayTheFarTimeIsTheTwentyEighth)
{
    const FileTime now = Time(2028, 2, 29, 6);
    const FileTime above = Time(2021, 1, 1);
    Rows rows{{above, Time(2020, 1, 1)}, {false, true}, {}};
    rows.Sort(now);
    EXPECT_EQ(rows.writes, (std::map<int, FileTime>{{1, above + (Time(2105, 2, 28, 6) - above) / 2}}));
}

TEST(SmartSort, BoundsComeFromKnownTimesAndNeverWrap)
{
    const FileTime t0 = Time(2021, 12, 1), t3 = Time(2022, 1, 1);
    const FileTime beyond = ~FileTime{0};  // a time past 30828, as some file systems report
    const Case cases[] = {
        {"an unreadable row above the run: bounded by the row above that",
         {t0, std::nullopt, Time(2019, 1, 1), t3}, {false, false, true, false}, {{2, t0 + (t3 - t0) / 2}}},
        {"a row beyond the calendar below the run",
         {t0, Time(2019, 1, 1), beyond}, {false, true, false}, {{1, t0 + (kMaxCalendarTime - t0) / 2}}},
        {"a row beyond the calendar above a run at the bottom",
         {beyond - kMinimumStep, Time(2019, 1, 1), Time(2019, 1, 2)}, {false, true, true},
         {{1, kMaxCalendarTime}, {2, kMaxCalendarTime}}},
        {"a run right under the end of the calendar",
         {kMaxCalendarTime - kTicksPerSecond, Time(2019, 1, 1)}, {false, true},
         {{1, kMaxCalendarTime - kTicksPerSecond + kTicksPerSecond / 2}}},
        {"a row exactly at the base time under a row 0 given the base time: bounded by it, not equal to it",
         {Time(2013, 1, 1), BaseTime(kNow), t3}, {false, false, false},
         {{0, BaseTime(kNow)}, {1, BaseTime(kNow) + (t3 - BaseTime(kNow)) / 2}}},
        {"an unreadable row well below the end of the chain from row 0 is never written",
         {Time(2013, 1, 1), Time(2014, 1, 1), t3, t3 + kHour, std::nullopt, t3 + 2 * kHour}, {false, false, false, false, false, false},
         {{0, BaseTime(kNow)}, {1, BaseTime(kNow) + (t3 - BaseTime(kNow)) / 2}}},
    };
    ExpectWrites(cases);
}

}  // namespace
