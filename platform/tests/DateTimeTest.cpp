#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "tests/support/TestSupport.h"

using namespace vesper;

namespace {

// Friday 11 December 2026, 04:05:06.007.
TDateTime Sample() { return EncodeDate(2026, 12, 11) + EncodeTime(4, 5, 6, 7); }

std::string ErrorOf(void (*fn)()) {
  try {
    fn();
  } catch (const EConvertError& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST(DateTime, EncodeDecode) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(2026, 12, 11), 46367);
  EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
  EXPECT_EQ(ErrorOf([] { EncodeDate(2023, 2, 29); }), "Invalid argument to date encode");
  EXPECT_EQ(ErrorOf([] { EncodeDate(0, 1, 1); }), "Invalid argument to date encode");
  EXPECT_EQ(ErrorOf([] { EncodeTime(24, 0, 0, 0); }), "Invalid argument to time encode");
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));

  int y, m, d, h, n, s, ms;
  for (TDateTime dt : {EncodeDate(1, 1, 1), EncodeDate(1600, 2, 29), EncodeDate(1900, 3, 1),
                       EncodeDate(2000, 12, 31), EncodeDate(9999, 12, 31)}) {
    DecodeDate(dt, y, m, d);
    EXPECT_EQ(EncodeDate(y, m, d), dt);
  }
  DecodeDate(Sample(), y, m, d);
  DecodeTime(Sample(), h, n, s, ms);
  EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}), (std::vector<int>{2026, 12, 11, 4, 5, 6, 7}));
  // Before 1899: the day counts back, the fraction is still the time of day.
  DecodeDate(-1.25, y, m, d);
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ((std::vector<int>{y, m, d, h}), (std::vector<int>{1899, 12, 29, 6}));
  // A time that rounds up to midnight moves to the next day.
  DecodeDate(1.0 - 1e-10, y, m, d);
  DecodeTime(1.0 - 1e-10, h, n, s, ms);
  EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}), (std::vector<int>{1899, 12, 31, 0, 0, 0, 0}));
  EXPECT_EQ(DayOfWeek(Sample()), 6);
  EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 13)), 1);
}

TEST(DateTime, FormatPatterns) {
  TDateTime t = Sample();
  TDateTime pm = EncodeDate(2026, 12, 11) + EncodeTime(16, 30, 0, 0);
  TDateTime midnight = EncodeDate(2026, 12, 11);
  TDateTime noon = midnight + 0.5;
  struct Case { const char* pattern; TDateTime dt; const char* expected; } cases[] = {
      {"dd mmm yyyy @ hh:nn", t, "11 Dec 2026 @ 04:05"},
      {"d/m/yy", t, "11/12/26"},
      {"mm/dd/yyyy", EncodeDate(2001, 2, 3), "02/03/2001"},
      {"dddd, mmmm d, yyyy", t, "Friday, December 11, 2026"},
      {"ddd DD MMM", t, "Fri 11 Dec"},
      {"h:mm:ss", t, "4:05:06"},  // m after h: minutes
      {"hh:nn:ss.zzz|z", t, "04:05:06.007|7"},
      {"h:nn am/pm", t, "4:05 am"},
      {"h:nn AM/PM", pm, "4:30 PM"},
      {"h a/p|hh A/P", pm, "4 p|04 P"},
      {"hh ampm", midnight, "12 AM"},
      {"h ampm", noon, "12 PM"},
      {"hh:nn", pm, "16:30"},
      {"'Date:' yyyy", t, "Date: 2026"},
      {"\"mm\" mm", t, "mm 12"},
      {"c", t, "12/11/2026 4:05:06 AM"},
      {"c", midnight, "12/11/2026"},
      {"", t, "12/11/2026 4:05:06 AM"},
      {"ddddd|dddddd", t, "12/11/2026|Friday, December 11, 2026"},
      {"t|tt", pm, "4:30 PM|4:30:00 PM"},
      {"yyyy-mm-dd x", t, "2026-12-11 x"},
      {"'open", t, "open"},
  };
  for (auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, c.dt), c.expected) << c.pattern;
  EXPECT_EQ(DateToStr(t), "12/11/2026");
  EXPECT_EQ(TimeToStr(t), "4:05:06 AM");
  EXPECT_EQ(DateTimeToStr(pm), "12/11/2026 4:30:00 PM");

  // Separators and formats come from the locale settings.
  DateSeparator = '.';
  std::string saved = ShortDateFormat;
  ShortDateFormat = "dd/mm/yyyy";
  EXPECT_EQ(DateToStr(t), "11.12.2026");
  ShortDateFormat = "c";  // self-reference stops
  EXPECT_NO_THROW(DateToStr(t));
  ShortDateFormat = saved;
  DateSeparator = '/';
}

TEST(DateTime, DosDatesAndFileAge) {
  TDateTime t = EncodeDate(2026, 12, 11) + EncodeTime(4, 5, 7, 0);
  int32_t packed = DateTimeToFileDate(t);
  EXPECT_EQ(uint32_t(packed), 0x5D8B20A3u);  // seconds in steps of two
  EXPECT_EQ(FileDateToDateTime(packed), EncodeDate(2026, 12, 11) + EncodeTime(4, 5, 6, 0));
  for (TDateTime dt : {EncodeDate(1980, 1, 1), EncodeDate(2107, 12, 31) + EncodeTime(23, 59, 58, 0),
                       EncodeDate(2000, 2, 29) + EncodeTime(12, 0, 0, 0)}) {
    EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(dt)), dt);
  }
  EXPECT_EQ(DateTimeToFileDate(EncodeDate(1979, 12, 31)), 0);
  EXPECT_EQ(DateTimeToFileDate(EncodeDate(2108, 1, 1)), 0);
  TDateTime dt = 0;
  EXPECT_FALSE(TryFileDateToDateTime(0, dt));
  EXPECT_THROW(FileDateToDateTime(0), EConvertError);
  EXPECT_THROW(FileDateToDateTime(int32_t(0x5D8BFFFF)), EConvertError);  // hour 31

  EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1700000000)), 1700000000);
  std::string dir = test::MakeTempSubdir("age");
  std::string file = dir + "/a.txt";
  test::WriteFile(file, "x");
  utimbuf times{1700000001, 1700000001};
  ASSERT_EQ(utime(file.c_str(), &times), 0);
  EXPECT_EQ(FileAge(file), DateTimeToFileDate(UnixToDateTime(1700000000)));
  ASSERT_TRUE(FileAgeDateTime(file, dt));
  EXPECT_EQ(DateTimeToUnix(dt), 1700000001);
  EXPECT_EQ(FileAge(dir + "/missing"), -1);
  EXPECT_EQ(FileAge(dir), -1);
  EXPECT_FALSE(FileAgeDateTime(dir + "/missing", dt));
  EXPECT_LT(std::abs(Now() - UnixToDateTime(time(nullptr))), 2.0 / 86400);
}
