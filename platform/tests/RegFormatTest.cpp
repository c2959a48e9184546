#include "platform/RegFormat.h"

#include <gtest/gtest.h>

namespace vesper {
namespace {

RegFileValue Val(std::string name, RegValueData data) { return {std::move(name), false, std::move(data)}; }

bool SameKeys(const std::vector<RegFileKey>& a, const std::vector<RegFileKey>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].path != b[i].path || a[i].remove != b[i].remove || a[i].values.size() != b[i].values.size()) return false;
    for (size_t j = 0; j < a[i].values.size(); ++j) {
      const auto &x = a[i].values[j], &y = b[i].values[j];
      if (x.name != y.name || x.remove != y.remove || x.data.type != y.data.type || x.data.bytes != y.data.bytes)
        return false;
    }
  }
  return true;
}

TEST(RegFormat, WritesTheRegeditForms) {
  std::vector<RegFileKey> keys(1);
  keys[0].path = "HKEY_CURRENT_USER\\Software\\Vesper";
  keys[0].values = {Val("", RegStringData("default")), Val("Path", RegStringData("C:\\Dir \"q\"")),
                    Val("Count", RegDwordData(31)), Val("Data", RegBinaryData(std::string("\x01\xff", 2))),
                    Val("Multi", {REG_MULTI_SZ, std::string("A\0\0", 3)})};
  EXPECT_EQ(FormatRegFile(keys),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Vesper]\r\n"
            "@=\"default\"\r\n"
            "\"Path\"=\"C:\\\\Dir \\\"q\\\"\"\r\n"
            "\"Count\"=dword:0000001f\r\n"
            "\"Data\"=hex:01,ff\r\n"
            "\"Multi\"=hex(7):41,00,00\r\n"
            "\r\n");
}

TEST(RegFormat, RoundTripsEveryKindOfData) {
  std::vector<RegFileKey> keys(3);
  keys[0].path = "HKEY_CURRENT_USER";
  keys[1].path = "HKEY_CURRENT_USER\\Software\\Ve]sp[er";
  std::string big;
  for (int i = 0; i < 300; ++i) big += char(i * 7);
  keys[1].values = {
      Val("", RegStringData("")),
      Val("Escapes \\ \" =", RegStringData("end with backslash\\")),
      Val("Lines", RegStringData("two\r\nlines")),         // not writable as quoted text
      Val("Embedded", {REG_SZ, std::string("a\0b\0", 4)}),  // nor with an inner zero
      Val("NoZero", {REG_SZ, "abc"}),
      Val("Expand", {REG_EXPAND_SZ, std::string("%PATH%\0", 7)}),
      Val("Max", RegDwordData(0xFFFFFFFFu)),
      Val("ShortDword", {REG_DWORD, "\x01"}),
      Val("Big", RegBinaryData(big)),
      Val("Empty", RegBinaryData("")),
      Val("Odd", {0x100, "xy"}),
      Val("High", RegStringData("\xe9\x80\xff")),
  };
  keys[2].path = "HKEY_LOCAL_MACHINE\\Gone";
  keys[2].remove = true;
  keys[2].values = {};
  std::string text = FormatRegFile(keys);
  RegFileText parsed = ParseRegFile(text);
  EXPECT_TRUE(parsed.errors.empty()) << parsed.errors[0].line << ": " << parsed.errors[0].reason;
  EXPECT_TRUE(SameKeys(parsed.keys, keys)) << text;
  // Long binary data is wrapped with continuation lines of regedit's width.
  size_t start = 0, longest = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    longest = std::max(longest, end - start);
    start = end + 2;
  }
  EXPECT_LE(longest, 80u);
  EXPECT_NE(text.find(",\\\r\n  "), std::string::npos);
}

TEST(RegFormat, ReadsDeletionsContinuationsAndLenientSpacing) {
  RegFileText t = ParseRegFile(
      "\xEF\xBB\xBFREGEDIT4\n"
      "; comment\n"
      "[-HKEY_CURRENT_USER\\Old]\n"
      "[HKEY_CURRENT_USER\\\\Software\\]\n"
      "  \"Gone\" = -\n"
      "\"Bin\"=hex:01, 2 ,\\\n"
      "   0A,\\\n"
      "   ff\n"
      "\"D\"=DWORD:1f\n"
      "\"Ty\"=hex(2):41,00\n");
  ASSERT_TRUE(t.errors.empty()) << t.errors[0].line << ": " << t.errors[0].reason;
  ASSERT_EQ(t.keys.size(), 2u);
  EXPECT_TRUE(t.keys[0].remove);
  EXPECT_EQ(t.keys[0].path, "HKEY_CURRENT_USER\\Old");
  EXPECT_EQ(t.keys[1].path, "HKEY_CURRENT_USER\\Software");
  auto& v = t.keys[1].values;
  ASSERT_EQ(v.size(), 4u);
  EXPECT_TRUE(v[0].remove);
  EXPECT_EQ(v[1].data.bytes, std::string("\x01\x02\x0a\xff", 4));
  EXPECT_EQ(v[2].data.bytes, RegDwordData(0x1f).bytes);
  EXPECT_EQ(v[3].data.type, REG_EXPAND_SZ);
}

TEST(RegFormat, ReportsDamagedLinesAndLoadsTheRest) {
  RegFileText t = ParseRegFile(
      "REGEDIT4\r\n"                     // 1
      "[HKEY_CURRENT_USER\\A]\r\n"       // 2
      "\"ok1\"=\"x\"\r\n"                // 3
      "\"unterminated=\"x\"\r\n"         // 4
      "\"bad escape\"=\"a\\nb\"\r\n"     // 5
      "\"noequals\" \"x\"\r\n"           // 6
      "\"dw\"=dword:123456789\r\n"       // 7
      "\"dw2\"=dword:xyz\r\n"            // 8
      "\"hx\"=hex:1,2,zz\r\n"            // 9
      "\"hx2\"=hex(q):00\r\n"            // 10
      "\"hx3\"=hex:100\r\n"              // 11
      "\"tail\"=\"x\" junk\r\n"          // 12
      "garbage line\r\n"                 // 13
      "[HKEY_CURRENT_USER\\B\r\n"        // 14
      "\"orphan\"=\"x\"\r\n"             // 15
      "[]\r\n"                           // 16
      "[HKEY_CURRENT_USER\\C]\r\n"       // 17
      "\"ok2\"=dword:00000002\r\n"       // 18
      "\"what\"=str:x\r\n"               // 19
      "\"trunc\"=hex:01,\\");            // 20 (continued past the end)
  std::vector<int> lines;
  for (auto& e : t.errors) {
    lines.push_back(e.line);
    EXPECT_FALSE(e.reason.empty());
  }
  EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 19, 20}));
  ASSERT_EQ(t.keys.size(), 2u);
  ASSERT_EQ(t.keys[0].values.size(), 1u);
  EXPECT_EQ(t.keys[0].values[0].name, "ok1");
  ASSERT_EQ(t.keys[1].values.size(), 1u);
  EXPECT_EQ(t.keys[1].values[0].name, "ok2");
}

TEST(RegFormat, MissingHeaderIsReportedButTheKeysLoad) {
  RegFileText t = ParseRegFile("[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n");
  ASSERT_EQ(t.errors.size(), 1u);
  EXPECT_EQ(t.errors[0].line, 1);
  ASSERT_EQ(t.keys.size(), 1u);
  EXPECT_EQ(t.keys[0].values.size(), 1u);
}

}  // namespace
}  // namespace vesper
