#include "core/date_time.h"

#include <cmath>

#include "core/errors.h"

namespace vp {

namespace {

// Day 0 is 1899-12-30; 1970-01-01 is day 25569.
constexpr long kUnixEpochDay = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date.
long DaysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

CivilDate CivilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const long y = static_cast<long>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

} // namespace

double EncodeDate(int year, int month, int day) {
    Assert(year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
               day <= DaysInMonth(year, month),
           u"DateTime", u"Invalid date!");
    return static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                      int millisecond) {
    const double time =
        (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
    const double date = EncodeDate(year, month, day);
    // Before day 0 the fraction still counts forward from midnight.
    return date < 0 ? date - time : date + time;
}

CivilDate DecodeDate(double dateTime) {
    Assert(std::isfinite(dateTime) && dateTime > kMinDateTime - 1 && dateTime < kMaxDateTime,
           u"DateTime", u"Date-time out of range!");
    return CivilFromDays(static_cast<long>(std::trunc(dateTime)) - kUnixEpochDay);
}

CivilDateTime DecodeDateTime(double dateTime) {
    DecodeDate(dateTime); // the range check
    const double day = std::trunc(dateTime);
    // Before day 0 the fraction counts forward from midnight too.
    long long seconds = std::llround(std::fabs(dateTime - day) * 86400.0);
    long days = static_cast<long>(day);
    if (seconds == 86400) {
        seconds = 0;
        ++days;
    }
    const int s = static_cast<int>(seconds);
    // Day 0, 1899-12-30, was a Saturday.
    const int dayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7);
    return {CivilFromDays(days - kUnixEpochDay), s / 3600, s / 60 % 60, s % 60, dayOfWeek};
}

} // namespace vp
