#include "wizards/resedit/core/ResDate.h"

#include <cmath>
#include <ctime>
#include <string>

#include "platform/StrUtils.h"

namespace vesper {
namespace {

// Days from 1 January 1970 of a civil date (proleptic Gregorian).
long DaysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  long era = (y >= 0 ? y : y - 399) / 400;
  long yoe = y - era * 400;
  long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  long doe = z - era * 146097;
  long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

constexpr long kEpochOffset = 25569;  // 1 January 1970 as a day count

}  // namespace

double EncodeResDate(const TResDateParts& p) {
  double days = double(DaysFromCivil(p.Year, p.Month, p.Day) + kEpochOffset);
  return days + (p.Hour * 3600 + p.Minute * 60 + p.Second) / 86400.0;
}

TResDateParts DecodeResDate(double dateTime) {
  TResDateParts p;
  if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3.0e6) return p;
  double day = std::floor(dateTime);
  long secs = std::lround((dateTime - day) * 86400.0);
  if (secs >= 86400) { day += 1; secs -= 86400; }
  CivilFromDays(long(day) - kEpochOffset, p.Year, p.Month, p.Day);
  p.Hour = int(secs / 3600);
  p.Minute = int(secs / 60 % 60);
  p.Second = int(secs % 60);
  return p;
}

double ResNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return EncodeResDate({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

bool ParseResDateText(std::string_view text, double& dateTime) {
  auto parts = SplitString(Trim(text), ' ');
  if (parts.size() != 2) return false;
  auto date = SplitString(parts[0], '/');
  auto time = SplitString(parts[1], ':');
  if (date.size() != 3 || time.size() < 2 || time.size() > 3) return false;
  int n[6] = {0, 0, 0, 0, 0, 0};
  for (size_t i = 0; i < 3; ++i)
    if (!TryStrToInt(date[i], n[i]) || n[i] < 0) return false;
  for (size_t i = 0; i < time.size(); ++i)
    if (!TryStrToInt(time[i], n[3 + i]) || n[3 + i] < 0) return false;
  int year = n[2] < 100 ? n[2] + (n[2] < 50 ? 2000 : 1900) : n[2];
  if (n[0] < 1 || n[0] > 12 || n[1] < 1 || n[1] > 31 || year > 9999 || n[3] > 23 || n[4] > 59 ||
      n[5] > 59)
    return false;
  dateTime = EncodeResDate({year, n[0], n[1], n[3], n[4], n[5]});
  return true;
}

}  // namespace vesper
