// stamp_test.cpp - the run stamp's text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "run/stamp.h"
#include "support/floors.h"

namespace {

std::string stamp(int hour, int minute, int weekday, int day, int month, int year) {
    Text t = makerunstamp({hour, minute, day, month, year, weekday});
    return std::string(t.c, static_cast<size_t>(t.len));
}

TEST(Runstamp, HourMinuteWeekdayDayMonthYear) {
    EXPECT_EQ(stamp(9, 5, 0, 6, 12, 2026), "9.05 on Sun 6 Dec,2026");
    EXPECT_EQ(stamp(14, 30, 1, 1, 2, 2027), "14.30 on Mon 1 Feb,2027");
    EXPECT_EQ(stamp(0, 15, 2, 3, 3, 2026), "0.15 on Tue 3 Mar,2026");
    EXPECT_EQ(stamp(12, 0, 6, 31, 1, 2000), "12.00 on Sat 31 Jan,2000");
    EXPECT_EQ(stamp(23, 9, 5, 9, 9, 1999), "23.09 on Fri 9 Sep,1999");
    EXPECT_EQ(stamp(1, 10, 4, 1, 1, 1970), "1.10 on Thu 1 Jan,1970");
}

TEST(Runstamp, TheClockCanBeFixed) {
    setenv(clockvariable, "2027-02-01 14:30", 1);
    ClockReading r = readclock();
    EXPECT_EQ(r.weekday, 1);  // a Monday
    Text t = makerunstamp(r);
    EXPECT_EQ(std::string(t.c, static_cast<size_t>(t.len)), "14.30 on Mon 1 Feb,2027");
    setenv(clockvariable, "2024-02-29 00:00", 1);
    EXPECT_EQ(readclock().weekday, 4);  // a Thursday
    // Malformed values and dates that do not exist give the real clock.
    for (const char* bad : {"not a date", "2031-02-31 09:05", "2023-02-29 09:05", "1900-02-29 09:05",
                            "2031-04-31 09:05", "2031-12-06 24:00"}) {
        setenv(clockvariable, bad, 1);
        EXPECT_NE(readclock().year, std::atoi(bad)) << bad;
    }
    unsetenv(clockvariable);
}

}  // namespace
