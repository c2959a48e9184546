#include "platform/DateTime.h"

#include <sys/stat.h>

#include <cmath>
#include <ctime>

#include "platform/Exception.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"

namespace vesper {

namespace {

// Days from 1 January 0001 (day 1) to 30 December 1899.
constexpr int64_t kDateDelta = 693594;
constexpr int64_t kMSecsPerDay = 86400000;

// Day number since 1 January 0001 (day 1) and milliseconds of the day.
struct TimeStamp {
  int64_t date = 0;
  int64_t time = 0;
};

TimeStamp ToTimeStamp(TDateTime dt) {
  TimeStamp ts;
  if (!std::isfinite(dt) || std::fabs(dt) > 1e10) return ts;
  double days = std::trunc(dt);
  ts.date = int64_t(days) + kDateDelta;
  ts.time = std::llround(std::fabs(dt - days) * MSecsPerDay);
  if (ts.time >= kMSecsPerDay) {
    ts.time -= kMSecsPerDay;
    ++ts.date;
  }
  return ts;
}

int DaysBeforeMonth(int year, int month) {
  static const int kCumulative[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  return kCumulative[month - 1] + (month > 2 && IsLeapYear(year) ? 1 : 0);
}

void DecodeDayNumber(int64_t d, int& year, int& month, int& day) {
  if (d <= 0) {
    year = month = day = 0;
    return;
  }
  int64_t t = d - 1;
  int64_t y = 1 + 400 * (t / 146097);
  t %= 146097;
  int64_t i = t / 36524;
  t %= 36524;
  if (i == 4) {
    i = 3;
    t += 36524;
  }
  y += i * 100;
  y += 4 * (t / 1461);
  t %= 1461;
  i = t / 365;
  t %= 365;
  if (i == 4) {
    i = 3;
    t += 365;
  }
  y += i;
  year = int(y);
  month = 1;
  while (month < 12 && t >= DaysBeforeMonth(year, month + 1)) ++month;
  day = int(t - DaysBeforeMonth(year, month)) + 1;
}

TDateTime FromTm(const std::tm& tm, int msec) {
  TDateTime d = 0;
  TDateTime t = 0;
  TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, d);
  TryEncodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59), msec, t);
  return d + t;
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return false;
  }
  int64_t y = year - 1;
  int64_t n = y * 365 + y / 4 - y / 100 + y / 400 + DaysBeforeMonth(year, month) + day;
  date = double(n - kDateDelta);
  return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 ||
      msec > 999) {
    return false;
  }
  time = double(((int64_t(hour) * 60 + min) * 60 + sec) * 1000 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
  return d;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) {
    throw EConvertError("Invalid argument to time encode");
  }
  return t;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
  DecodeDayNumber(ToTimeStamp(dt).date, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
  int64_t ms = ToTimeStamp(dt).time;
  msec = int(ms % 1000);
  sec = int(ms / 1000 % 60);
  min = int(ms / 60000 % 60);
  hour = int(ms / 3600000);
}

TDateTime Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  return FromTm(tm, int(ts.tv_nsec / 1000000));
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  TDateTime n = Now();
  return n - std::trunc(n);
}

int DayOfWeek(TDateTime dt) { return int((ToTimeStamp(dt).date % 7 + 7) % 7) + 1; }

// ---- FormatDateTime ------------------------------------------------------

namespace {

class DateFormatter {
 public:
  explicit DateFormatter(TDateTime dt) {
    DecodeDate(dt, year_, month_, day_);
    DecodeTime(dt, hour_, min_, sec_, msec_);
    dayOfWeek_ = DayOfWeek(dt);
    hasTime_ = ToTimeStamp(dt).time != 0;
  }

  std::string Run(std::string_view format) {
    Append(format.empty() ? std::string_view("c") : format, 0);
    return std::move(out_);
  }

 private:
  static char Up(char c) { return UpCase(c); }

  static size_t Count(std::string_view f, size_t i) {
    size_t n = 1;
    while (i + n < f.size() && Up(f[i + n]) == Up(f[i])) ++n;
    return n;
  }

  void Number(int v, int width) {
    std::string s = std::to_string(v);
    if (int(s.size()) < width) s.insert(0, size_t(width) - s.size(), '0');
    out_ += s;
  }

  // True when an am/pm marker follows before the next hour token.
  static bool TwelveHour(std::string_view f, size_t i) {
    char quote = 0;
    for (; i < f.size(); ++i) {
      char c = f[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if (Up(c) == 'H') {
        return false;
      } else if (Up(c) == 'A' && AmPmLength(f.substr(i)) > 0) {
        return true;
      }
    }
    return false;
  }

  static size_t AmPmLength(std::string_view f) {
    if (StartsText("am/pm", f)) return 5;
    if (StartsText("a/p", f)) return 3;
    if (StartsText("ampm", f)) return 4;
    return 0;
  }

  void Nested(std::string_view f, int level) {
    if (level < 2) Append(f, level + 1);
  }

  void Append(std::string_view f, int level) {
    char lastToken = 0;
    size_t i = 0;
    while (i < f.size()) {
      char c = f[i];
      char token = Up(c);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      size_t n = 1;
      switch (token) {
        case 'Y':
          n = Count(f, i);
          if (n <= 2) {
            Number(year_ % 100, 2);
          } else {
            Number(year_, 4);
          }
          break;
        case 'M':
          n = Count(f, i);
          if (n <= 2) {
            Number(month_, int(n));
          } else if (month_ >= 1) {
            out_ += n == 3 ? ShortMonthNames[size_t(month_ - 1)] : LongMonthNames[size_t(month_ - 1)];
          }
          break;
        case 'D':
          n = Count(f, i);
          if (n <= 2) {
            Number(day_, int(n));
          } else if (n == 3) {
            out_ += ShortDayNames[size_t(dayOfWeek_ - 1)];
          } else if (n == 4) {
            out_ += LongDayNames[size_t(dayOfWeek_ - 1)];
          } else if (n == 5) {
            Nested(ShortDateFormat, level);
          } else {
            Nested(LongDateFormat, level);
          }
          break;
        case 'H': {
          n = Count(f, i);
          int h = hour_;
          if (TwelveHour(f, i + n)) {
            h %= 12;
            if (h == 0) h = 12;
          }
          Number(h, n >= 2 ? 2 : 0);
          break;
        }
        case 'N':
          n = Count(f, i);
          Number(min_, n >= 2 ? 2 : 0);
          break;
        case 'S':
          n = Count(f, i);
          Number(sec_, n >= 2 ? 2 : 0);
          break;
        case 'Z':
          n = Count(f, i);
          Number(msec_, n >= 3 ? 3 : 0);
          break;
        case 'T':
          n = Count(f, i);
          Nested(n == 1 ? ShortTimeFormat : LongTimeFormat, level);
          break;
        case 'C':
          n = Count(f, i);
          Nested(ShortDateFormat, level);
          if (hasTime_) {
            out_ += ' ';
            Nested(LongTimeFormat, level);
          }
          break;
        case 'A':
          n = AmPm(f.substr(i));
          break;
        case '/':
          out_ += DateSeparator;
          break;
        case ':':
          out_ += TimeSeparator;
          break;
        case '\'':
        case '"': {
          size_t end = f.find(c, i + 1);
          if (end == std::string_view::npos) end = f.size();
          out_.append(f.substr(i + 1, end - i - 1));
          n = end - i + 1;
          break;
        }
        default:
          out_ += c;
          break;
      }
      i += n;
    }
  }

  // Writes an am/pm marker at the start of `f`; returns its length.
  size_t AmPm(std::string_view f) {
    bool pm = hour_ >= 12;
    size_t len = AmPmLength(f);
    if (len == 5) {
      out_.append(f.substr(pm ? 3 : 0, 2));
    } else if (len == 3) {
      out_ += f[pm ? 2 : 0];
    } else if (len == 4) {
      out_ += pm ? TimePMString : TimeAMString;
    } else {
      out_ += f[0];
      return 1;
    }
    return len;
  }

  int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, min_ = 0, sec_ = 0, msec_ = 0;
  int dayOfWeek_ = 1;
  bool hasTime_ = false;
  std::string out_;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime dt) {
  return DateFormatter(dt).Run(format);
}

std::string DateToStr(TDateTime dt) { return FormatDateTime("ddddd", dt); }
std::string TimeToStr(TDateTime dt) { return FormatDateTime("tt", dt); }
std::string DateTimeToStr(TDateTime dt) { return FormatDateTime("c", dt); }

// ---- DOS dates and file ages --------------------------------------------

int32_t DateTimeToFileDate(TDateTime dt) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(dt, y, mo, d);
  if (y < 1980 || y > 2107) return 0;
  DecodeTime(dt, h, mi, s, ms);
  uint32_t date = uint32_t(d) | uint32_t(mo) << 5 | uint32_t(y - 1980) << 9;
  uint32_t time = uint32_t(s / 2) | uint32_t(mi) << 5 | uint32_t(h) << 11;
  return int32_t(date << 16 | time);
}

bool TryFileDateToDateTime(int32_t fileDate, TDateTime& dt) {
  uint32_t v = uint32_t(fileDate);
  uint32_t date = v >> 16;
  uint32_t time = v & 0xFFFF;
  TDateTime d, t;
  if (!TryEncodeDate(int(date >> 9) + 1980, int(date >> 5 & 15), int(date & 31), d) ||
      !TryEncodeTime(int(time >> 11), int(time >> 5 & 63), int(time & 31) * 2, 0, t)) {
    return false;
  }
  dt = d + t;
  return true;
}

TDateTime FileDateToDateTime(int32_t fileDate) {
  TDateTime dt;
  if (!TryFileDateToDateTime(fileDate, dt)) {
    uint32_t date = uint32_t(fileDate) >> 16;
    TDateTime ignored;
    if (!TryEncodeDate(int(date >> 9) + 1980, int(date >> 5 & 15), int(date & 31), ignored)) {
      throw EConvertError("Invalid argument to date encode");
    }
    throw EConvertError("Invalid argument to time encode");
  }
  return dt;
}

namespace {

bool FileTimes(const std::string& path, timespec& mtime) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  mtime = st.st_mtim;
  return true;
}

}  // namespace

int32_t FileAge(const std::string& path) {
  timespec mtime{};
  if (!FileTimes(path, mtime)) return -1;
  std::tm tm{};
  localtime_r(&mtime.tv_sec, &tm);
  return DateTimeToFileDate(FromTm(tm, 0));
}

bool FileAgeDateTime(const std::string& path, TDateTime& dt) {
  timespec mtime{};
  if (!FileTimes(path, mtime)) return false;
  std::tm tm{};
  localtime_r(&mtime.tv_sec, &tm);
  dt = FromTm(tm, int(mtime.tv_nsec / 1000000));
  return true;
}

TDateTime UnixToDateTime(int64_t seconds) {
  time_t t = time_t(seconds);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return 0;
  return FromTm(tm, 0);
}

int64_t DateTimeToUnix(TDateTime dt) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(dt, y, mo, d);
  DecodeTime(dt, h, mi, s, ms);
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  tm.tm_isdst = -1;
  return int64_t(mktime(&tm));
}

}  // namespace vesper
