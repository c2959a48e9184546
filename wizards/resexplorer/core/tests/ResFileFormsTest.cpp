#include "wizards/resexplorer/core/ResFileForms.h"

#include <gtest/gtest.h>

#include "platform/Streams.h"
#include "tests/support/TestSupport.h"
#include "wizards/resexplorer/core/ResInfo.h"
#include "wizards/resexplorer/core/tests/ImageFixtures.h"

namespace vesper {
namespace {

using test::ExeFixture;
using test::PutDWord;
using test::PutWord;

std::string Saved(const TResourceItem& item) {
  TMemoryStream out;
  item.SaveToStream(out);
  return out.DataString();
}

std::string FixtureSource(const std::string& name) {
  return test::ReadFile(test::SourceDir() + "/wizards/resexplorer/core/tests/fixtures/" + name);
}

uint32_t PixelOffset(const std::string& bitmapFile) {
  return uint8_t(bitmapFile[10]) | uint8_t(bitmapFile[11]) << 8 | uint8_t(bitmapFile[12]) << 16;
}

TEST(ResFileForms, PeResourcesSaveAsTheirFiles) {
  REQUIRE_EXE_FIXTURES();
  for (const char* name : {"app64.exe", "app32.exe"}) {
    SCOPED_TRACE(name);
    TExeImage image(ExeFixture(name));
    // The icon comes back as the file it was compiled from.
    EXPECT_EQ(Saved(*image.FindItem("ICON", "1")), FixtureSource("icon.ico"));
    // A cursor is saved in icon file form: its image without the hot spot.
    std::string cursor = Saved(*image.FindItem("CURSOR", "1"));
    std::string original = FixtureSource("pointer.cur");
    EXPECT_EQ(cursor.substr(0, 4), std::string("\0\0\1\0", 4));
    EXPECT_EQ(cursor.substr(22), original.substr(22));
    EXPECT_EQ(Saved(*image.FindItem("BITMAP", "PICTURE")), FixtureSource("picture.bmp"));
    EXPECT_EQ(image.FindItem("BITMAP", "PICTURE")->PictureData(), FixtureSource("picture.bmp"));
    EXPECT_EQ(Saved(*image.FindItem("RCDATA", "10")), std::string("raw data\0", 9));
    std::string form = Saved(*image.FindItem("FORMS", "MAINFORM"));
    EXPECT_EQ(form.substr(0, 14), std::string("\xFF\x0A\0MAINFORM\0\x30\x10", 14));
    EXPECT_EQ(form.substr(18), FixtureSource("form.bin"));
  }
}

TEST(ResFileForms, StringTables) {
  REQUIRE_EXE_FIXTURES();
  for (const char* name : {"app64.exe", "app.res"}) {
    SCOPED_TRACE(name);
    TExeImage image(ExeFixture(name));
    auto items = image.Resources().Items(image.Resources().IndexOf("STRINGS"));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Saved(*items[0]), "1,First string\r\n2,Second\r\n");
    EXPECT_EQ(Saved(*items[1]), "17,Block two\r\n");
    // 300 characters are written whole.
    std::string long300 = Saved(*items[2]);
    EXPECT_EQ(long300.substr(0, 4), "40,L");
    EXPECT_EQ(long300.size(), 3 + 300 + 2u);
  }
}

TEST(ResFileForms, StringTableIdsAndEightBitBlocks) {
  std::string path = test::MakeTempSubdir("st") + "/st.exe";
  std::string block = std::string("\2Hi") + std::string(14, '\0') + "\3End";
  test::WriteFile(path, test::BuildNe({{{6, ""}, {{{1, ""}, block}, {{2, ""}, std::string("\1A")}}}}));
  TExeImage image(path);
  auto items = image.Resources().Items(image.Resources().IndexOf("STRINGS"));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(StringTableFirstId(*items[0]), 0);
  EXPECT_EQ(StringTableFirstId(*items[1]), 16);
  EXPECT_EQ(Saved(*items[0]), "0,Hi\r\n15,End\r\n");
  EXPECT_EQ(Saved(*items[1]), "16,A\r\n");
  // A block cut short gives the strings that are there.
  EXPECT_EQ(StringTableText(std::string("\5Hel", 4), 32, false), "32,Hel\r\n");
}

std::string InfoHeader(uint32_t size, uint16_t bits, uint32_t used, uint32_t compression = 0) {
  std::string h;
  PutDWord(h, size);
  PutDWord(h, 8);
  PutDWord(h, 8);
  PutWord(h, 1);
  PutWord(h, bits);
  PutDWord(h, compression);
  h.resize(32, '\0');
  PutDWord(h, used);
  h.resize(size, '\0');
  return h;
}

TEST(ResFileForms, BitmapPixelOffsets) {
  std::string core;
  PutDWord(core, 12);
  PutWord(core, 8);
  PutWord(core, 8);
  PutWord(core, 1);
  PutWord(core, 4);
  struct Case {
    std::string data;
    uint32_t offset;
  } cases[] = {
      {InfoHeader(40, 4, 0), 118},          // 16 colours by default
      {InfoHeader(40, 8, 20), 54 + 80},     // used colours
      {InfoHeader(40, 24, 0), 54},
      {InfoHeader(40, 1, 0), 62},
      {core, 26 + 48},                      // core header, 16 colours of 3 bytes
      {InfoHeader(40, 16, 0, 3), 54 + 12},  // bit-field masks follow the header
      {InfoHeader(124, 32, 0), 14 + 124},   // a larger header
      {"", 26},
  };
  for (auto& c : cases) {
    std::string file = BitmapFileFromResource(c.data, uint32_t(c.data.size()));
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(PixelOffset(file), c.offset) << c.data.size();
    EXPECT_EQ(uint8_t(file[2]), uint8_t(c.data.size() + 14));
  }
}

TEST(ResFileForms, FormRecordNames) {
  std::string record = FormResourceRecord("mainForm", "TPF0");
  EXPECT_EQ(record, std::string("\xFF\x0A\0MAINFORM\0\x30\x10\x04\0\0\0TPF0", 22));
  std::string longName(70, 'n');
  record = FormResourceRecord(longName, "");
  EXPECT_EQ(record.substr(3, 64), std::string(63, 'N') + '\0');
}

TEST(ResFileForms, FormText) {
  REQUIRE_EXE_FIXTURES();
  for (const char* name : {"app64.exe", "lib32.dll"}) {
    TExeImage image(ExeFixture(name));
    EXPECT_EQ(image.FindItem("FORMS", "MAINFORM")->FormText(),
              "object MainForm: TMainForm\r\n  Left = 300\r\n  Caption = 'Hello'\r\nend\r\n");
  }
  // Damaged form data raise the converter's own error.
  EXPECT_THROW(FormDataToText("TPF0\x09TMainForm"), EReadError);
}

TEST(ResFileForms, PicturesOnlyForImages) {
  REQUIRE_EXE_FIXTURES();
  TExeImage image(ExeFixture("app64.exe"));
  try {
    image.FindItem("RCDATA", "10")->PictureData();
    FAIL() << "no error";
  } catch (const EExeImage& e) {
    EXPECT_EQ(e.Message(), "Resource type is not compatible with TPicture");
  }
  EXPECT_EQ(image.FindItem("ICON", "1")->PictureData(), FixtureSource("icon.ico"));
  EXPECT_THROW(IconFileFromResource("junk", false), EExeImage);
}

}  // namespace
}  // namespace vesper
