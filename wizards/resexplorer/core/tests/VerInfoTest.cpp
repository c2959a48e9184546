#include "wizards/resexplorer/core/VerInfo.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "wizards/resexplorer/core/ResInfo.h"
#include "wizards/resexplorer/core/tests/ImageFixtures.h"

namespace vesper {
namespace {

using test::ExeFixture;
using test::PutDWord;
using test::PutWord;

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows RowsOf(const TExeImage& image) {
  Rows rows;
  int index = image.Resources().IndexOf("VERSION");
  for (auto& r : VersionRows(image, *image.Resources().Item(index))) rows.emplace_back(r.Title, r.Value);
  return rows;
}

const Rows kFixtureRows = {
    {"File Version", "01.02.03.04"},
    {"Product Version", "05.06.07.08"},
    {"File OS", "VOS_NT_WINDOWS32"},
    {"File Type", "VFT_APP"},
    {"File Date", ""},
    {"Language", "U.S. English"},
    {"Char Set", "Windows, Multilingual"},
    {"Company Name", "Vesper Test"},
    {"File Description", "Fixture image"},
    {"File Version", "1.2.3.4"},
    {"Internal Name", "app"},
    {"Legal Copyright", ""},
    {"Original Filename", ""},
    {"Comments", ""},
    {"Legal Trademarks", ""},
    {"Product Name", "Vesper"},
    {"Product Version", ""},
    {"Special Build", ""},
    {"Private Build", ""},
};

TEST(VerInfo, RowsOfExecutablesAndResourceFiles) {
  REQUIRE_EXE_FIXTURES();
  // Executables query by path, resource files search the data.
  for (const char* name : {"app64.exe", "lib32.dll", "app.res"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(RowsOf(TExeImage(ExeFixture(name))), kFixtureRows);
  }
}

// A block of the 16-bit version layout.
std::string Block16(const std::string& key, const std::string& value, const std::string& children = "") {
  std::string b(4, '\0');
  b += key;
  b.push_back('\0');
  b.resize((b.size() + 3) & ~size_t(3), '\0');
  b += value;
  b.resize((b.size() + 3) & ~size_t(3), '\0');
  b += children;
  b[0] = char(b.size() & 0xFF);
  b[1] = char(b.size() >> 8);
  b[2] = char(value.size());
  return b;
}

std::string Fixed(uint32_t dateLs) {
  std::string f;
  for (uint32_t v : {0xFEEF04BDu, 0x10000u, 0x00030001u, 0x00000002u, 0x00090000u, 0x00000001u, 0x3Fu, 0u,
                     0x1u, 0x2u, 0u, 0u, dateLs})
    PutDWord(f, v);
  return f;
}

TEST(VerInfo, SixteenBitDataWithoutTranslation) {
  uint32_t date = uint32_t((18 << 9) | (3 << 5) | 14) << 16 | ((13 << 11) | (5 << 5));
  std::string strings = Block16("StringFileInfo", "",
                                Block16("04090000", "", Block16("CompanyName", std::string("Old Co\0", 7))) +
                                    Block16("040904E4", "", Block16("ProductName", std::string("Wrong\0", 6))));
  std::string data = Block16("VS_VERSION_INFO", Fixed(date), strings);
  std::string path = test::MakeTempSubdir("ver16") + "/old.exe";
  test::WriteFile(path, test::BuildNe({{{16, ""}, {{{1, ""}, data}}}}));
  Rows rows = RowsOf(TExeImage(path));
  ASSERT_EQ(rows.size(), 19u);
  EXPECT_EQ(rows[0].second, "03.01.00.02");
  EXPECT_EQ(rows[1].second, "09.00.00.01");
  EXPECT_EQ(rows[2].second, "VOS__WINDOWS16");
  EXPECT_EQ(rows[3].second, "VFT_DLL");
  EXPECT_EQ(rows[4].second, "3/14/1998 1:05:00 PM");
  EXPECT_EQ(rows[5].second, "U.S. English");
  EXPECT_EQ(rows[6].second, "7-bit ASCII");
  EXPECT_EQ(rows[7].second, "Old Co");
  EXPECT_EQ(rows[15].second, "");
}

TEST(VerInfo, ResourceFileSearchSkipsPadding) {
  // A key whose terminator leaves the value behind alignment padding.
  std::string data = Block16("VS_VERSION_INFO", Fixed(0), Block16("InternalName", std::string("inner\0", 6)));
  TVersionData version(data, false);
  EXPECT_EQ(version.SearchString("InternalName"), "inner");
  EXPECT_EQ(version.SearchString("Missing"), "");
  EXPECT_EQ(version.QueryString("\\InternalName").value_or("?"), "inner");
  EXPECT_FALSE(version.QueryValue("\\Nothing\\Here"));
}

TEST(VerInfo, TranslationChoice) {
  auto pairs = [](std::initializer_list<uint16_t> words) {
    std::string s;
    for (uint16_t w : words) PutWord(s, w);
    return s;
  };
  using P = std::pair<uint16_t, uint16_t>;
  EXPECT_EQ(ChooseTranslation(std::nullopt), P(1033, 0));
  EXPECT_EQ(ChooseTranslation(pairs({1031, 1252, 1033, 1200})), P(1033, 1200));
  EXPECT_EQ(ChooseTranslation(pairs({1031, 1252, 1036, 1250})), P(1036, 1250));
  EXPECT_EQ(ChooseTranslation(pairs({1033, 0, 1036, 1250})), P(1033, 0));
}

TEST(VerInfo, LookupTables) {
  EXPECT_EQ(LookupVersionTable(TVersionTable::Languages, 1044), "Norwegian - Bokm");
  EXPECT_EQ(LookupVersionTable(TVersionTable::Languages, 4108), "Swiss French");
  EXPECT_EQ(LookupVersionTable(TVersionTable::Languages, 1058), "");
  EXPECT_EQ(LookupVersionTable(TVersionTable::CharSets, 932), "Windows, Japan (Shift - JIS X-0208)");
  EXPECT_EQ(LookupVersionTable(TVersionTable::OperatingSystems, 65540), "VOS_DOS_WINDOWS32");
  EXPECT_EQ(LookupVersionTable(TVersionTable::FileTypes, 7), "VFT_STATIC_LIB");
  EXPECT_EQ(LookupVersionTable(TVersionTable::FileTypes, 6), "");
}

TEST(VerInfo, UnknownLanguageRow) {
  std::string strings = Block16("VarFileInfo", "", Block16("Translation", std::string("\x22\x04\xE4\x04", 4)));
  std::string data = Block16("VS_VERSION_INFO", Fixed(0), strings);
  std::string path = test::MakeTempSubdir("ver16b") + "/lang.exe";
  test::WriteFile(path, test::BuildNe({{{16, ""}, {{{1, ""}, data}}}}));
  Rows rows = RowsOf(TExeImage(path));
  EXPECT_EQ(rows[5].second, "Unknown ( Code = 1058 )");
  EXPECT_EQ(rows[6].second, "Windows, Multilingual");
}

}  // namespace
}  // namespace vesper
