#include "wizards/resexplorer/core/ResInfo.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "platform/Streams.h"
#include "tests/support/TestSupport.h"
#include "wizards/resexplorer/core/Exe32img.h"
#include "wizards/resexplorer/core/Exehdr.h"
#include "wizards/resexplorer/core/tests/ImageFixtures.h"

namespace vesper {
namespace {

using test::BuildNe;
using test::BuildRes16;
using test::ExeFixture;

std::vector<std::string> TypeNames(const TExeImage& image) {
  std::vector<std::string> names;
  for (int i = 0; i < image.Resources().Count(); ++i) names.push_back(image.Resources().TypeName(i));
  return names;
}

std::vector<std::string> ItemNames(const TExeImage& image, const std::string& type) {
  std::vector<std::string> names;
  int index = image.Resources().IndexOf(type);
  if (index < 0) return names;
  for (auto* item : image.Resources().Items(index)) names.push_back(item->Name);
  return names;
}

std::string WriteTemp(const std::string& name, const std::string& data) {
  std::string path = test::MakeTempSubdir("img") + "/" + name;
  test::WriteFile(path, data);
  return path;
}

std::string ErrorOf(const std::string& path) {
  try {
    TExeImage image(path);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TEST(ExeImage, PeExecutablesAndLibrariesOfBothWidths) {
  REQUIRE_EXE_FIXTURES();
  for (const char* name : {"app64.exe", "app32.exe", "lib64.dll", "lib32.dll"}) {
    SCOPED_TRACE(name);
    TExeImage image(ExeFixture(name));
    EXPECT_FALSE(image.Is16Bit());
    EXPECT_FALSE(image.IsResFile());
    EXPECT_EQ(TypeNames(image),
              (std::vector<std::string>{"BITMAP", "CURSOR", "FORMS", "GROUPCURSOR", "GROUPICON", "ICON",
                                        "RCDATA", "STRINGS", "VERSION", "WAVE"}));
    EXPECT_EQ(ItemNames(image, "FORMS"), std::vector<std::string>{"MAINFORM"});
    // Ordered by id key: 0x0003 before 0x000A.
    EXPECT_EQ(ItemNames(image, "RCDATA"), (std::vector<std::string>{"3", "10"}));
    EXPECT_EQ(ItemNames(image, "STRINGS"), (std::vector<std::string>{"1", "2", "3"}));
    const TResourceItem* form = image.FindItem("FORMS", "MAINFORM");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->ResType, rtForms);
    EXPECT_EQ(form->Data().substr(0, 4), "TPF0");
    // Two languages: listed once, with the first language's data (German, 1031).
    EXPECT_EQ(image.FindItem("RCDATA", "3")->Data(), std::string("german", 6));
    EXPECT_EQ(image.FindItem("RCDATA", "10")->ResType, rtRCData);
    EXPECT_EQ(image.FindItem("BITMAP", "PICTURE")->ResType, rtBitmap);
    // A named type has no kind of its own.
    EXPECT_EQ(image.Resources().Item(image.Resources().IndexOf("WAVE"))->ResType, 0);
  }
}

// wrestool's listing of the first language of each resource, as offset/size pairs.
std::set<std::pair<uint32_t, uint32_t>> WrestoolExtents(const std::string& path) {
  auto r = test::Run({"/usr/bin/env", "wrestool", "-l", path});
  std::set<std::pair<uint32_t, uint32_t>> extents;
  std::set<std::string> seen;
  std::regex line(R"(--type=(\S+) --name=(\S+) .*offset=0x([0-9a-f]+) size=(\d+))");
  std::istringstream in(r.out);
  for (std::string l; std::getline(in, l);) {
    std::smatch m;
    if (!std::regex_search(l, m, line)) continue;
    if (!seen.insert(m[1].str() + "/" + m[2].str()).second) continue;
    extents.insert({uint32_t(std::stoul(m[3].str(), nullptr, 16)), uint32_t(std::stoul(m[4].str()))});
  }
  return extents;
}

TEST(ExeImage, AgreesWithWrestool) {
  REQUIRE_EXE_FIXTURES();
  if (test::Run({"/bin/sh", "-c", "command -v wrestool"}).exitCode != 0) GTEST_SKIP() << "wrestool not installed";
  for (const char* name : {"app64.exe", "app32.exe", "lib64.dll", "pkga.dpl"}) {
    SCOPED_TRACE(name);
    TExeImage image(ExeFixture(name));
    // wrestool shows data addresses; ours are file offsets.
    TExe32Image pe(ExeFixture(name));
    auto rsrc = pe.FindSection(".rsrc");
    ASSERT_TRUE(rsrc);
    uint32_t delta = rsrc->VirtualAddress - rsrc->PointerToRawData;
    std::set<std::pair<uint32_t, uint32_t>> ours;
    for (int t = 0; t < image.Resources().Count(); ++t)
      for (auto* item : image.Resources().Items(t)) ours.insert({item->Offset + delta, item->Size});
    auto theirs = WrestoolExtents(ExeFixture(name));
    EXPECT_FALSE(theirs.empty());
    EXPECT_EQ(ours, theirs);
  }
}

TEST(ExeImage, WindresResourceFile) {
  REQUIRE_EXE_FIXTURES();
  TExeImage image(ExeFixture("app.res"));
  EXPECT_TRUE(image.IsResFile());
  EXPECT_FALSE(image.Is16Bit());
  EXPECT_EQ(TypeNames(image),
            (std::vector<std::string>{"BITMAP", "CURSOR", "GROUP CURSOR", "GROUP ICON", "ICON", "RCDATA",
                                      "STRINGS", "VERSION", "WAVE"}));
  // No form detection in resource files; both languages are records of their own.
  EXPECT_EQ(ItemNames(image, "RCDATA"), (std::vector<std::string>{"0003", "0003", "0010", "MAINFORM"}));
  const TResourceItem* item = image.FindItem("RCDATA", "0010");
  EXPECT_EQ(item->Data(), std::string("raw data\0", 9));
  EXPECT_EQ(item->ResType, 10);
  EXPECT_TRUE(item->IsUnicode);
  EXPECT_EQ(image.Resources().Item(image.Resources().IndexOf("WAVE"))->ResType, 0xFFFF);
}

TEST(ExeImage, SixteenBitResourceFile) {
  std::string res = BuildRes16({
      {{16, ""}, {1, ""}, "ver"},
      {{0, "WAVE"}, {0, "CHIME"}, "RIFF"},
      {{10, ""}, {7, ""}, "seven"},
      {{10, ""}, {0, "ABC"}, "abc"},
      {{11, ""}, {1, ""}, "msg"},
      {{10, ""}, {2, ""}, "two"},  // a later run of the same type
      {{13, ""}, {1, ""}, "x"},
      {{256, ""}, {1, ""}, "help"},
  });
  TExeImage image(WriteTemp("sixteen.res", res));
  EXPECT_TRUE(image.Is16Bit());
  EXPECT_EQ(TypeNames(image), (std::vector<std::string>{"MESSAGE TABLE", "POP-UP HELP", "RCDATA",
                                                        "Unknown Type: 0x000D", "VERSION", "WAVE"}));
  EXPECT_EQ(ItemNames(image, "RCDATA"), (std::vector<std::string>{"0007", "ABC", "0002"}));
  EXPECT_EQ(image.FindItem("WAVE", "CHIME")->Data(), "RIFF");
  EXPECT_EQ(image.FindItem("RCDATA", "0007")->Data(), "seven");
  EXPECT_EQ(image.FindItem("RCDATA", "0002")->Data(), "two");
  EXPECT_FALSE(image.FindItem("RCDATA", "0007")->IsUnicode);
}

TEST(ExeImage, ExtensionChoosesTheResourceFileReader) {
  std::string res16 = BuildRes16({{{10, ""}, {1, ""}, "data"}});
  std::string res32(32, '\0');
  res32[4] = 32;
  res32[8] = res32[9] = char(0xFF);
  res32[12] = res32[13] = char(0xFF);
  struct Case {
    const char* name;
    std::string data;
    const char* error;
  } cases[] = {
      {"a.DCR", res16, ""},
      {"b.r16", res32, ""},
      {"c.drs", "MZ not a resource file", "Not a valid resource file"},
      {"d.R32", "", "Not a valid resource file"},
      {"e.exe", "plain text, not an executable, long enough for the DOS header......", "Unable to read Executable"},
      {"f.exe", "MZ", "Read file"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf(WriteTemp(c.name, c.data)), c.error);
  }
  EXPECT_EQ(ErrorOf(test::TempDir() + "/missing.exe"), "Opening File");
  EXPECT_TRUE(TExeImage(WriteTemp("a.dcr", res16)).Is16Bit());
  EXPECT_FALSE(TExeImage(WriteTemp("a.r16", res32)).Is16Bit());
}

TEST(ExeImage, NeExecutable) {
  std::string ne = BuildNe({
      {{10, ""}, {{{100, ""}, "TPF0 form hundred"}, {{10, ""}, "raw ten"}, {{2, ""}, "TPF0 form two"},
                  {{0, "NAMED"}, "raw named"}}},
      {{6, ""}, {{{1, ""}, std::string("\5Hello\0\3Bye", 11)}}},
      {{0x11, ""}, {{{1, ""}, "x"}}},
      {{0, "CMPBMP"}, {{{3, ""}, "bits"}}},
  });
  TExeImage image(WriteTemp("prog.exe", ne));
  EXPECT_TRUE(image.Is16Bit());
  EXPECT_EQ(TypeNames(image),
            (std::vector<std::string>{"CMPBMP", "FORMS", "RCDATA", "STRINGS", "Unknown Type: 0x8011"}));
  EXPECT_EQ(ItemNames(image, "FORMS"), (std::vector<std::string>{"2", "100"}));
  EXPECT_EQ(ItemNames(image, "RCDATA"), (std::vector<std::string>{"10", "NAMED"}));
  const TResourceItem* form = image.FindItem("FORMS", "100");
  EXPECT_EQ(form->ResType, rtForms);
  EXPECT_EQ(form->Data().substr(0, 17), "TPF0 form hundred");
  EXPECT_EQ(form->Size % 16, 0u);
  EXPECT_EQ(image.FindItem("RCDATA", "10")->ResType, rtRCData);
  EXPECT_EQ(image.FindItem("CMPBMP", "3")->ResType, 0);
  EXPECT_EQ(image.FindItem("STRINGS", "1")->Id, 0x8001);
}

TEST(ExeImage, NeNumericIdsOrderNumerically) {
  TExeImage image(WriteTemp("order.exe", BuildNe({{{2, ""}, {{{100, ""}, "c"}, {{10, ""}, "b"}, {{2, ""}, "a"}}}})));
  EXPECT_EQ(ItemNames(image, "BITMAP"), (std::vector<std::string>{"2", "10", "100"}));
}

TEST(ExeImage, NeWithoutWindowsResourcesIsEmpty) {
  std::string os2 = BuildNe({{{2, ""}, {{{1, ""}, "a"}}}}, 4, 1);
  EXPECT_EQ(TExeImage(WriteTemp("os2.exe", os2)).Resources().Count(), 0);
  std::string dos(64, '\0');
  dos[0] = 'M';
  dos[1] = 'Z';
  dos[0x18] = 0x1C;
  TExeImage image(WriteTemp("dos.exe", dos));
  EXPECT_TRUE(image.Is16Bit());
  EXPECT_EQ(image.Resources().Count(), 0);
}

TEST(ExeImage, PeErrors) {
  REQUIRE_EXE_FIXTURES();
  EXPECT_EQ(ErrorOf(ExeFixture("dep64.dll")), "No resources in this file.");
  std::string pe = test::ReadFile(ExeFixture("app64.exe"));
  std::string bad = pe;
  bad[bad[0x3C] & 0xFF] = 'X';  // "PE" signature
  EXPECT_EQ(ErrorOf(WriteTemp("badsig.exe", bad)), "Not a PE (WIN32 Executable) file");
  EXPECT_EQ(ErrorOf(WriteTemp("cut.exe", pe.substr(0, 0x100))), "Not a PE (WIN32 Executable) file");
}

TEST(ExeImage, DataOutsideTheFileFailsOnLoad) {
  // A resource whose size runs past the end of the file.
  std::string res = BuildRes16({{{10, ""}, {1, ""}, "data"}});
  res[res.size() - 8] = char(0x7F);  // size dword's low byte
  TExeImage image(WriteTemp("long.res", res));
  const TResourceItem* item = image.Resources().Item(0);
  ASSERT_TRUE(item);
  TMemoryStream stream;
  EXPECT_THROW(item->LoadData(stream), EExeImage);
}

TEST(ExeHeaders, ResultCodes) {
  TExeHeaders h;
  EXPECT_EQ(ReadExeHeaders(test::TempDir() + "/none.exe", h), ehOpenFailed);
  EXPECT_EQ(ReadExeHeaders(WriteTemp("short.exe", "MZ"), h), ehReadFailed);
  EXPECT_EQ(ReadExeHeaders(WriteTemp("text.exe", std::string(64, 'x')), h), ehNotExecutable);
  std::string ne = BuildNe({{{2, ""}, {{{1, ""}, "a"}, {{0, "NAME"}, "b"}}}}, 5);
  ASSERT_EQ(ReadExeHeaders(WriteTemp("ok.exe", ne), h), ehOk);
  EXPECT_EQ(h.AlignShift, 5);
  ASSERT_EQ(h.Types.size(), 1u);
  EXPECT_EQ(h.Types[0].Resources[1].Name, "NAME");
  // A resource table cut short.
  EXPECT_EQ(ReadExeHeaders(WriteTemp("cut.exe", ne.substr(0, 0xC8)), h), ehReadFailed);
  EXPECT_TRUE(h.Types.empty());
  EXPECT_EQ(ExeHeaderErrorText(ehNoMemory), "Memory allocation");
}

}  // namespace
}  // namespace vesper
