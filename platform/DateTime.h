// Dates and times with the class library's semantics: a TDateTime counts days
// since 30 December 1899 and holds the time of day as the fraction.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesper {

using TDateTime = double;

constexpr double MSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Raise EConvertError "Invalid argument to date encode" / "Invalid argument
// to time encode" for out-of-range parts (years 1..9999).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
// The time is rounded to the millisecond; a value that rounds up to midnight
// belongs to the next day.
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);

TDateTime Now();   // local date and time, to the millisecond
TDateTime Date();  // today, no time part
TDateTime Time();  // time of day, no date part
int DayOfWeek(TDateTime dt);  // 1 = Sunday .. 7 = Saturday

// Patterns (letters in either case): c, d, dd, ddd, dddd, ddddd (short date),
// dddddd (long date), m, mm, mmm, mmmm, yy, yyyy, h, hh, n, nn, s, ss, z,
// zzz, t (short time), tt (long time), am/pm, a/p, ampm, '/' (date
// separator), ':' (time separator), '..' and ".." literal text. An m right
// after an h stands for minutes. An empty pattern means "c".
std::string FormatDateTime(std::string_view format, TDateTime dt);
std::string DateToStr(TDateTime dt);      // ShortDateFormat
std::string TimeToStr(TDateTime dt);      // LongTimeFormat
std::string DateTimeToStr(TDateTime dt);  // "c": the date, and the time unless midnight

// Packed DOS date and time: date in the high word (day | month << 5 |
// (year - 1980) << 9), time in the low word (sec / 2 | min << 5 | hour << 11).
// Dates outside 1980..2107 give 0.
int32_t DateTimeToFileDate(TDateTime dt);
// Raises EConvertError for an invalid packed value.
TDateTime FileDateToDateTime(int32_t fileDate);
bool TryFileDateToDateTime(int32_t fileDate, TDateTime& dt);

// Last-write time of a normal file as a packed local DOS date and time, -1
// when there is no such file.
int32_t FileAge(const std::string& path);
// Last-write local date and time of a normal file; false when missing.
bool FileAgeDateTime(const std::string& path, TDateTime& dt);

// Seconds since the Unix epoch <-> local date and time.
TDateTime UnixToDateTime(int64_t seconds);
int64_t DateTimeToUnix(TDateTime dt);

}  // namespace vesper
