#include <gtest/gtest.h>

#include "platform/Exception.h"
#include "wizards/resedit/core/ResChecks.h"
#include "wizards/resedit/core/Resources.h"

namespace vesper {
namespace {

TEntryFields Bitmap(int64_t id, std::string name, std::string file = "a.bmp") {
  return {id, std::move(name), std::move(file), "", true, false};
}

TEST(ResChecks, AddCheckOrderAndMessages) {
  TResources res("US English", 1033);
  TBmpEntry taken;
  taken.Id = 7;
  taken.Name = "IDB_TAKEN";
  res.Bitmaps.Insert(taken);
  struct Case { TEntryFields fields; bool ok; std::string message; bool focusId; };
  const Case cases[] = {
      {Bitmap(65535, "IDB_MAX"), true, "", false},
      {Bitmap(0, "IDB_ZERO"), false, "No Blank fields please.", false},
      {Bitmap(1, "  "), false, "No Blank fields please.", false},
      {Bitmap(1, "IDB_X", " "), false, "No Blank fields please.", false},
      {Bitmap(65536, "IDB_BIG"), false, "ID > 0 and < 65535 please", true},
      {Bitmap(7, "IDB_TAKEN"), false, "Resource Id of 7 already exists", true},  // id first
      {Bitmap(8, "IDB_TAKEN"), false, "Resource Name of \"IDB_TAKEN\" already exists", false},
      {{5, "IDS_A", "", " ", false, true}, false, "No Blank fields please.", false},  // string text
      {{5, "IDM_A", "", "", false, false}, true, "", false},  // a message needs neither
  };
  for (auto& c : cases) {
    TResCheck r = CheckAdd(res.Bitmaps, c.fields);
    EXPECT_EQ(r.Ok, c.ok) << c.fields.Name;
    EXPECT_EQ(r.Message, c.message) << c.fields.Name;
    EXPECT_EQ(r.FocusId, c.focusId) << c.fields.Name;
  }
}

TEST(ResChecks, UpdateAllowsOwnIdAndNameButNotOthers) {
  TResources res("US English", 1033);
  for (auto [id, name] : {std::pair{1, "IDB_ONE"}, std::pair{2, "IDB_TWO"}}) {
    TBmpEntry e;
    e.Id = uint16_t(id);
    e.Name = name;
    res.Bitmaps.Insert(e);
  }
  EXPECT_TRUE(CheckUpdate(res.Bitmaps, 1, Bitmap(1, "IDB_ONE")));
  EXPECT_TRUE(CheckUpdate(res.Bitmaps, 1, Bitmap(3, "IDB_ONE")));
  EXPECT_FALSE(CheckUpdate(res.Bitmaps, 1, Bitmap(2, "IDB_ONE")));
  EXPECT_FALSE(CheckUpdate(res.Bitmaps, 1, Bitmap(1, "IDB_TWO")));
  EXPECT_EQ(CheckUpdate(res.Bitmaps, 1, Bitmap(0, "IDB_ONE")).Message, "No Blank fields please.");
}

TEST(ResChecks, HistoryRefusesEmptyComments) {
  EXPECT_EQ(CheckHistoryAdd(" ").Message, "No point in adding nothing");
  EXPECT_EQ(CheckHistoryUpdate("").Message, "No point in updating with nothing");
  EXPECT_TRUE(CheckHistoryAdd("fixed"));
}

TEST(ResChecks, DecodeEscapes) {
  const std::pair<std::string, std::string> cases[] = {
      {"A\\101B", "AAB"},
      {"a\\nb\\rc\\td", "a\nb\rc\td"},
      {"\\\\ \\a \\\"", std::string("\\ \x08 \"")},
      {"\\q kept", "\\q kept"},
      {"\\12 short", "\\12 short"},
      {"end\\", "end\\"},
      {"\\999", std::string(1, char((9 * 64 + 9 * 8 + 9) & 0xFF))},
      {"\\000x", std::string("\0x", 2)},
  };
  for (auto& [in, out] : cases) EXPECT_EQ(DecodeEscapes(in), out) << in;
}

TEST(MemOptions, TextAndBits) {
  const std::pair<uint16_t, std::string> cases[] = {
      {25, "OMD"}, {moPreload | moFixed, "PF"}, {moPreload | moMoveable | moDiscardable, "PMD"},
      {moLoadOnCall | moFixed | moDiscardable, "OFD"}};
  for (auto& [bits, text] : cases) {
    EXPECT_EQ(MemOptionText(bits), text);
    EXPECT_EQ(ParseMemOptionText(text), bits) << text;
  }
  EXPECT_EQ(ParseMemOptionText(" OM "), moLoadOnCall | moMoveable);
  EXPECT_EQ(moDefault, 25);
}

TEST(VersionResource, IncrementCarriesAndWraps) {
  struct Case { TVersionParts from, to; };
  const Case cases[] = {
      {{1, 0, 0, 5}, {1, 0, 0, 6}},
      {{1, 2, 99, 99}, {1, 3, 0, 0}},
      {{99, 99, 99, 99}, {0, 0, 0, 0}},
      {{0, 0, 0, 150}, {0, 0, 1, 0}},  // a part beyond 99 read from a file
  };
  TResources res("US English", 1033);
  for (auto& c : cases) {
    res.Version.LoadVersionParts(c.from, {});
    res.Version.IncFileVersion();
    EXPECT_EQ(res.Version.FileVersion(), c.to);
    EXPECT_EQ(res.Version.FileVersionText, VersionText(c.to));
  }
}

TEST(VersionResource, StringsFollowTheParts) {
  TResources res("US English", 1033);
  TVersionResource& v = res.Version;
  v.SetFileVersionPart(1, 7);
  v.SetProductVersion({2, 10, 0, 99});
  EXPECT_EQ(v.FileVersionText, "00.07.00.00");
  EXPECT_EQ(v.ProductVersionText, "02.10.00.99");
  EXPECT_THROW(v.SetFileVersionPart(0, 100), EConvertError);
  EXPECT_EQ(PackVersion({1, 2, 3, 4}), 0x01020304u);
  EXPECT_EQ(UnpackVersion(0x01020304u), (TVersionParts{1, 2, 3, 4}));
}

TEST(VersionResource, FixedLists) {
  EXPECT_EQ(VersionLanguageList().size(), 45u);
  EXPECT_EQ(FindListValue(VersionLanguageList(), 4108)->Name, "Swiss French");
  EXPECT_EQ(ListValue(VersionFileOsList(), "VOS_NT_WINDOWS32"), 262148u);
  EXPECT_EQ(ListValue(VersionFileTypeList(), "VFT_STATIC_LIB"), 7u);
  EXPECT_EQ(ListValue(VersionFileFlagsList(), "NOT_THERE"), 0u);
  EXPECT_EQ(VersionCodePageList().size(), 12u);
  EXPECT_EQ(RcDataKindCaption(rkForm), "DFM File");
  EXPECT_EQ(RcDataKindCaption(rkOlderLayout), "Unknown");
}

TEST(VersionResource, ResetTakesTheSettings) {
  TResources res("US English", 1033);
  TResSettings s;
  s.CompName = "Co";
  s.FileOs = "VOS_NT";
  s.CharSet = 1250;
  res.Version.SetFileVersion({1, 2, 3, 4});
  res.Version.Reset(s);
  EXPECT_EQ(res.Version.CompanyName, "Co");
  EXPECT_EQ(res.Version.FileOs, "VOS_NT");
  EXPECT_EQ(res.Version.CharSet, 1250);
  EXPECT_EQ(res.Version.SpecialBuild, "No");
  EXPECT_EQ(res.Version.FileVersionText, "00.00.00.00");
  EXPECT_GE(res.Version.Year, 2020);
}

}  // namespace
}  // namespace vesper
