// stamp.cpp - the run stamp from the clock.
#include "run/stamp.h"

#include <cstdlib>
#include <ctime>

#include "text/numfmt.h"

namespace gridel::run {

namespace {

constexpr char weekdays[7][9] = {" on Sun ", " on Mon ", " on Tue ", " on Wed ",
                                 " on Thu ", " on Fri ", " on Sat "};
constexpr char months[12][6] = {" Jan,", " Feb,", " Mar,", " Apr,", " May,", " Jun,",
                                " Jul,", " Aug,", " Sep,", " Oct,", " Nov,", " Dec,"};

// Digits s[0..n-1] as a number, or -1 when one is not a digit.
int digitsvalue(const char* s, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

// Weekday (0 Sunday) of a date in the proleptic Gregorian calendar.
int weekdayof(int year, int month, int day) {
    int y = year - (month <= 2 ? 1 : 0);
    int era = (y >= 0 ? y : y - 399) / 400;
    int yoe = y - era * 400;
    int mp = (month + 9) % 12;
    int doy = (153 * mp + 2) / 5 + day - 1;
    int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long days = static_cast<long>(era) * 146097 + doe - 719468;  // days since 1970-01-01, a Thursday
    return static_cast<int>(((days % 7) + 11) % 7);
}

// Days in a month of the proleptic Gregorian calendar.
int daysin(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool fixedclock(ClockReading& when) {
    const char* s = std::getenv(clockvariable);
    if (s == nullptr) return false;
    int n = 0;
    while (s[n] != '\0' && n < 17) ++n;
    if (n != 16 || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':') return false;
    when.year = digitsvalue(s, 4);
    when.month = digitsvalue(s + 5, 2);
    when.day = digitsvalue(s + 8, 2);
    when.hour = digitsvalue(s + 11, 2);
    when.minute = digitsvalue(s + 14, 2);
    if (when.year < 0 || when.month < 1 || when.month > 12 || when.day < 1 ||
        when.day > daysin(when.year, when.month) || when.hour < 0 || when.hour > 23 || when.minute < 0 ||
        when.minute > 59)
        return false;
    when.weekday = weekdayof(when.year, when.month, when.day);
    return true;
}

}  // namespace

ClockReading readclock() {
    ClockReading when;
    if (fixedclock(when)) return when;
    std::time_t now = std::time(nullptr);
    std::tm local;
    localtime_r(&now, &local);
    when.hour = local.tm_hour;
    when.minute = local.tm_min;
    when.day = local.tm_mday;
    when.month = local.tm_mon + 1;
    when.year = local.tm_year + 1900;
    when.weekday = local.tm_wday;
    return when;
}

text::Text makerunstamp(const ClockReading& when) {
    text::Text t;
    text::settext(t, text::real2intstr(when.hour));
    text::addtext(t, when.minute < 10 ? ".0" : ".");
    addtext(t, text::real2intstr(when.minute));
    addtext(t, weekdays[when.weekday]);
    addtext(t, text::real2intstr(when.day));
    addtext(t, months[when.month - 1]);
    addtext(t, text::real2intstr(when.year));
    return t;
}

}  // namespace gridel::run
