#pragma once
// Date-times: local time in days since 1899-12-30, the time of day being the fraction.
#include <string>
#include <string_view>

namespace vp {

struct CivilDate {
    int year, month, day;
    bool operator==(const CivilDate&) const = default;
};

// Dates from 0001-01-01 to 9999-12-31.
inline constexpr double kMinDateTime = -693593.0;
inline constexpr double kMaxDateTime = 2958466.0; // exclusive

double EncodeDate(int year, int month, int day);
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                      int millisecond);
// The calendar day of a date-time; asserts that it lies in the range above.
CivilDate DecodeDate(double dateTime);

struct CivilDateTime {
    CivilDate date;
    int hour, minute, second;
    int dayOfWeek; // 0 is Sunday
    bool operator==(const CivilDateTime&) const = default;
};
// The calendar day and the time of day, to the nearest second (a day's last half second is
// the next day's midnight); asserts the range as DecodeDate does.
CivilDateTime DecodeDateTime(double dateTime);

} // namespace vp
