#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/Exception.h"
#include "platform/Format.h"

using namespace vesper;

TEST(Format, IntegersAndTexts) {
  struct Case { std::string got; const char* expected; } cases[] = {
      {Format("%d", {12}), "12"},
      {Format("%5d|%-5d|", {12, 12}), "   12|12   |"},
      {Format("%5.5d", {12}), "00012"},
      {Format("%02.2d.%02.2d", {5, 10}), "05.10"},
      {Format("%02d", {5}), " 5"},  // width only: no zero fill
      {Format("%.5d", {-12}), "-00012"},
      {Format("%d", {int64_t(-9000000000)}), "-9000000000"},
      {Format("%d", {uint64_t(18446744073709551615ull)}), "18446744073709551615"},
      {Format("%u", {-1}), "4294967295"},
      {Format("%x", {255}), "FF"},
      {Format("%.7x", {255}), "00000FF"},
      {Format("%x", {-1}), "FFFFFFFF"},
      {Format("%X", {int64_t(-1)}), "FFFFFFFFFFFFFFFF"},
      {Format("%x", {short(-1)}), "FFFFFFFF"},
      {Format("%s", {"abc"}), "abc"},
      {Format("[%5s][%-5s][%.2s]", {"abc", "abc", "abc"}), "[  abc][abc  ][ab]"},
      {Format("%s=%s", {std::string("k"), std::string_view("v")}), "k=v"},
      {Format("%s%s", {'x', static_cast<const char*>(nullptr)}), "x"},
      {Format("%1:s %0:s", {"a", "b"}), "b a"},
      {Format("%1:s %s", {"a", "b", "c"}), "b c"},
      {Format("%*d|%-*.*d|", {5, 12, 6, 3, 7}), "   12|007   |"},
      {Format("100%% %d%%", {5}), "100% 5%"},
      {Format("%p", {reinterpret_cast<const void*>(uintptr_t(0x1234abc))}), "0000000001234ABC"},
      {Format("no args", {}), "no args"},
  };
  for (auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(Format, Floats) {
  struct Case { std::string got; const char* expected; } cases[] = {
      {Format("%e", {1234.5}), "1.23450000000000E+003"},
      {Format("%.3e", {1234.5}), "1.23E+003"},
      {Format("%e", {-0.00012345}), "-1.23450000000000E-004"},
      {Format("%.2e", {0.0}), "0.0E+000"},
      {Format("%f", {1234.5}), "1234.50"},
      {Format("%2.02f", {3.14159}), "3.14"},
      {Format("%.0f|%.2f|%.1f", {2.5, 0.125, 0.05}), "3|0.13|0.1"},  // half away from zero
      {Format("%8.3f|", {-1.0f}), "  -1.000|"},
      {Format("%.2f", {-0.001}), "0.00"},
      {Format("%g", {1234.5}), "1234.5"},
      {Format("%g", {1e20}), "1E020"},
      {Format("%g|%g", {0.0001, 0.00001}), "0.0001|1E-005"},
      {Format("%g", {1.0 / 3}), "0.333333333333333"},
      {Format("%.3g", {1234.5}), "1.23E003"},
      {Format("%0.0n", {1234567.0}), "1,234,567"},
      {Format("%n", {1234567.891}), "1,234,567.89"},
      {Format("%n|%n", {-1234.5, 123.0}), "-1,234.50|123.00"},
      {Format("%.1n", {999999.96}), "1,000,000.0"},
      {Format("%m", {1234.5}), "$1,234.50"},
      {Format("%m|%.0m", {-5.0, 7.0}), "($5.00)|$7"},
      {Format("%f|%g", {std::numeric_limits<double>::infinity(),
                        std::numeric_limits<double>::quiet_NaN()}),
       "INF|NAN"},
      {Format("%f", {1e20}), "1E20"},  // too many integer digits for fixed
  };
  for (auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(Format, ErrorsNameTheFormat) {
  auto message = [](auto fn) {
    try {
      fn();
    } catch (const EConvertError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  const std::string invalid = "invalid or incompatible with argument";
  EXPECT_EQ(message([] { Format("%d", {"x"}); }),
            "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%s", {1}); }), "Format '%s' " + invalid);
  EXPECT_EQ(message([] { Format("%f", {1}); }), "Format '%f' " + invalid);
  EXPECT_EQ(message([] { Format("%p", {1}); }), "Format '%p' " + invalid);
  EXPECT_EQ(message([] { Format("%*d", {"w", 1}); }), "Format '%*d' " + invalid);
  EXPECT_EQ(message([] { Format("abc %", {1}); }), "Format 'abc %' " + invalid);
  EXPECT_EQ(message([] { Format("%k", {1}); }), "Format '%k' " + invalid);
  EXPECT_EQ(message([] { Format("%d %d", {1}); }), "No argument for format '%d %d'");
  EXPECT_EQ(message([] { Format("%2:d", {1}); }), "No argument for format '%2:d'");
}

TEST(Format, FloatToStrAndLocale) {
  EXPECT_EQ(FloatToStr(1234.5), "1234.5");
  EXPECT_EQ(FloatToStr(0.1), "0.1");
  EXPECT_EQ(FloatToStr(-0.5), "-0.5");
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1e-5), "1E-5");
  EXPECT_EQ(FloatToStr(0.1f), "0.100000001490116");

  DecimalSeparator = ',';
  ThousandSeparator = '.';
  CurrencyString = "EUR";
  CurrencyFormat = 3;
  NegCurrFormat = 8;
  EXPECT_EQ(Format("%n|%m|%m", {1234.5, 1234.5, -2.0}), "1.234,50|1.234,50 EUR|-2,00 EUR");
  DecimalSeparator = '.';
  ThousandSeparator = ',';
  CurrencyString = "$";
  CurrencyFormat = 0;
  NegCurrFormat = 0;
}

TEST(Format, FormatFloatPatterns) {
  struct Case { const char* pattern; double value; const char* expected; } cases[] = {
      {"#,##0.00", 1234.5, "1,234.50"},
      {"#,##0", 1234567, "1,234,567"},
      {"#,##0", -1234567, "-1,234,567"},
      {"0.00", 0.125, "0.13"},
      {"000", 7, "007"},
      {"0", 123456, "123456"},
      {"#.##", 1.5, "1.5"},
      {"0.0#", 2, "2.0"},
      {"0.0;(0.0)", -3.14, "(3.1)"},
      {"0.00;;\"zero\"", 0.001, "zero"},
      {"0", -0.4, "0"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.0E-0", 0.00012, "1.2E-4"},
      {"\"Total: \"#,##0", 5000, "Total: 5,000"},
      {"0.0 'KB'", 1.5, "1.5 KB"},
      {"", 2.5, "2.5"},
      {"0E+0#", 1234.5, "1E+3"},  // placeholders after the exponent show nothing
  };
  for (auto& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern;
}
