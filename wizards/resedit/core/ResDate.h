// Date-times of resource projects: a day count since 30 December 1899 with
// the time of day as the fraction, and the calendar parts of one.
#pragma once

#include <string_view>

namespace vesper {

struct TResDateParts {
  int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0;
};

double ResNow();
double EncodeResDate(const TResDateParts& parts);
TResDateParts DecodeResDate(double dateTime);
// "mm/dd/yy hh:nn[:ss]" (or a four-digit year), as the older history
// layout stores it once its "@" is removed. False when it is no date.
bool ParseResDateText(std::string_view text, double& dateTime);

}  // namespace vesper
