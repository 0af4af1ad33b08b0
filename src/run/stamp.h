// stamp.h - the run stamp: the local date and time of the run as one text,
// computed once at start-up ("9.05 on Sun 6 Dec,2026").
#pragma once

#include "text/fixedtext.h"

namespace gridel::run {

// Environment variable that fixes the clock for reproducible runs, as
// "YYYY-MM-DD HH:MM" (for example "2026-12-06 09:05").  When it is absent,
// not of that form or not a real date and time (2026-02-31), the local time
// is used.
constexpr const char* clockvariable = "GRIDEL_CLOCK";

// A moment as the stamp shows it.
struct ClockReading {
    int hour;     // 0..23
    int minute;   // 0..59
    int day;      // day of the month, 1..31
    int month;    // 1..12
    int year;     // in full
    int weekday;  // 0 Sunday .. 6 Saturday
};

// The clock: the fixed moment of GRIDEL_CLOCK, or the local time.
ClockReading readclock();

// The stamp text of a moment.
text::Text makerunstamp(const ClockReading& when);

}  // namespace gridel::run
