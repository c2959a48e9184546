// Our ".R16" and ".R32" read back by the resource-file reader of the
// resource explorer.
#include <gtest/gtest.h>

#include "platform/Streams.h"
#include "tests/support/TestSupport.h"
#include "wizards/resedit/core/ResCompiler.h"
#include "wizards/resedit/core/Resources.h"
#include "wizards/resedit/core/tests/ResFixtures.h"
#include "wizards/resexplorer/core/ResInfo.h"
#include "wizards/resexplorer/core/VerInfo.h"

using namespace vesper;
using namespace vesper::test;

namespace {

std::string Saved(const TResourceItem& item) {
  TMemoryStream out;
  item.SaveToStream(out);
  return out.DataString();
}

std::string RowValue(const std::vector<TVersionRow>& rows, const std::string& title) {
  for (auto& r : rows)
    if (r.Title == title) return r.Value;
  return "<none>";
}

}  // namespace

TEST(ResFileReadBack, BothFormatsReadBackWithTheirResources) {
  std::string dir = MakeTempSubdir("readback");
  TResources res("US English", 1033);
  res.SetFileName(dir + "/p.vrf");
  res.Version.SetFileVersion({1, 2, 3, 4});
  res.Version.CompanyName = "Acme";
  TStringEntry s;
  s.Id = 17;
  s.Name = "IDS_A";
  s.Text = "Block two";
  res.Strings.Insert(s);
  WriteFile(dir + "/a.ico", IconFileBytes({{16, 4, 'a'}, {32, 8, 'b'}}));
  TIconEntry icon;
  icon.Id = 1;
  icon.Name = "IDI_A";
  icon.FileName = "a.ico";
  res.Icons.Insert(icon);
  WriteFile(dir + "/a.bmp", BmpFile(3, 2));
  TBmpEntry bmp;
  bmp.Id = 2;
  bmp.Name = "IDB_A";
  bmp.FileName = "a.bmp";
  res.Bitmaps.Insert(bmp);

  for (bool is32 : {false, true}) {
    SCOPED_TRACE(is32 ? "R32" : "R16");
    ASSERT_TRUE(TResCompiler(res).Compile(is32, false));
    TExeImage image(is32 ? res.Res32Name() : res.Res16Name());
    EXPECT_TRUE(image.IsResFile());
    EXPECT_EQ(image.Is16Bit(), !is32);
    const TResourceList& list = image.Resources();
    auto strings = list.Items(list.IndexOf("STRINGS"));
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(Saved(*strings[0]), "17,Block two\r\n");
    auto bitmaps = list.Items(list.IndexOf("BITMAP"));
    ASSERT_EQ(bitmaps.size(), 1u);
    EXPECT_EQ(bitmaps[0]->PictureData(), ReadFile(dir + "/a.bmp"));
    EXPECT_GE(list.IndexOf("ICON"), 0);
    int version = list.IndexOf("VERSION");
    ASSERT_GE(version, 0);
    auto rows = VersionRows(image, *list.Items(version)[0]);
    EXPECT_EQ(RowValue(rows, "Company Name"), "Acme");
    EXPECT_EQ(RowValue(rows, "File Version"), "01.02.03.04");
    EXPECT_EQ(RowValue(rows, "Char Set"), "Windows, Multilingual");
  }
}
