#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/StrUtils.h"

using namespace vesper;

TEST(StrUtils, TrimAndCase) {
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  // Only ASCII letters change case; 8-bit bytes stay as they are.
  EXPECT_EQ(UpperCase("abc\xe9z"), "ABC\xe9Z");
  EXPECT_EQ(LowerCase("ABC\xc9Z"), "abc\xc9z");
  EXPECT_TRUE(SameText("Unit1.PAS", "unit1.pas"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareStr("abc", "ABC"), 0);
}

TEST(StrUtils, StrToIntCases) {
  struct Case { const char* in; bool ok; int32_t value; } cases[] = {
      {"0", true, 0},          {" 42 ", true, 42},           {"-17", true, -17},
      {"+5", true, 5},         {"$FF", true, 255},           {"$FFFFFFFF", true, -1},
      {"2147483647", true, 2147483647}, {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0}, {"", false, 0},              {"12a", false, 0},
      {"-", false, 0},         {"$", false, 0},
  };
  for (auto& c : cases) {
    int32_t v = 0;
    EXPECT_EQ(TryStrToInt(c.in, v), c.ok) << c.in;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.in;
    }
  }
  try {
    StrToInt("x1");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
  }
  EXPECT_EQ(StrToIntDef("bad", 7), 7);
}

TEST(StrUtils, HelpersAndShortStrings) {
  EXPECT_EQ(IntToHex(0xabc, 6), "000ABC");
  EXPECT_EQ(StringReplace("a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(StringReplace("aXbxc", "x", "", true, true), "abc");
  EXPECT_EQ(SplitString("a;;b", ';'), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  unsigned char buf[256];
  StdToShortString(std::string(300, 'x'), buf, 10);
  EXPECT_EQ(buf[0], 10);
  EXPECT_EQ(ShortStringToStd(buf), std::string(10, 'x'));
}

TEST(CodePage, Cp1252RoundTripsEveryByte) {
  SetACP(1252);
  std::string all;
  for (int i = 0; i < 256; ++i) all += char(i);
  std::u16string wide = AnsiToUtf16(all);
  EXPECT_EQ(wide[0x80], u'\u20AC');
  EXPECT_EQ(wide[0x81], u'\u0081');
  EXPECT_EQ(wide[0x9D], u'\u009D');
  EXPECT_EQ(Utf16ToAnsi(wide), all);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(AnsiToUtf8("\xe9"), "\xc3\xa9");
  EXPECT_EQ(Utf16ToAnsi(u"\u4e2d"), "?");
}

TEST(CodePage, Utf8CodePageAndValidation) {
  SetACP(65001);
  EXPECT_EQ(AnsiToUtf16("\xe4\xb8\xad"), u"\u4e2d");
  SetACP(1252);
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_FALSE(LooksLikeUtf8Text("plain"));
  EXPECT_TRUE(LooksLikeUtf8Text("caf\xc3\xa9"));
  EXPECT_FALSE(IsValidUtf8("caf\xe9"));
  EXPECT_FALSE(IsValidUtf8("\xc0\x80"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));  // surrogate
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xf0\x9f\x98\x80")), "\xf0\x9f\x98\x80");
}
