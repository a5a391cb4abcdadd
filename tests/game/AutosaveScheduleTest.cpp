#include "game/CAutosaveSchedule.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Clock = CAutosaveSchedule::Clock;

TEST(AutosaveSchedule, AWriteIsDueWhenIdleAfterAnEditOrAtTheLatestAfterTheInterval)
{
    CAutosaveSchedule schedule(60s, 5s);
    const Clock::time_point start{};
    EXPECT_FALSE(schedule.NextWrite());

    schedule.NoteEdit(start);
    EXPECT_EQ(schedule.NextWrite(), start + 5s);
    EXPECT_FALSE(schedule.IsDue(start + 4s));
    EXPECT_TRUE(schedule.IsDue(start + 5s));

    // Edits every second never leave the editor idle: the interval decides.
    for (auto t = 1s; t <= 70s; t += 1s)
        schedule.NoteEdit(start + t);
    EXPECT_EQ(schedule.NextWrite(), start + 60s);

    schedule.NoteWritten();
    EXPECT_FALSE(schedule.NextWrite());
    schedule.NoteEdit(start + 71s);
    EXPECT_EQ(schedule.NextWrite(), start + 76s);
}

TEST(AutosaveSchedule, TheIntervalIsAPositiveNumberOfSecondsOrTheDefault)
{
    EXPECT_EQ(CAutosaveSchedule::IntervalFrom(nullptr), 60s);
    EXPECT_EQ(CAutosaveSchedule::IntervalFrom("2"), 2s);
    EXPECT_EQ(CAutosaveSchedule::IntervalFrom("0.5"), 500ms);
    for (const char* wrong : {"", "0", "-3", "5s", "abc", "nan", "inf", "1e9"})
        EXPECT_EQ(CAutosaveSchedule::IntervalFrom(wrong), 60s) << wrong;
    // A short interval comes before the idle delay.
    CAutosaveSchedule quick(CAutosaveSchedule::IntervalFrom("1"));
    quick.NoteEdit(Clock::time_point{});
    EXPECT_EQ(quick.NextWrite(), Clock::time_point{} + 1s);
}
