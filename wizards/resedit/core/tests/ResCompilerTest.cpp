#include "wizards/resedit/core/ResCompiler.h"

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/compress/Compress.h"
#include "tests/support/TestSupport.h"
#include "wizards/resedit/core/Resources.h"
#include "wizards/resedit/core/tests/ResFixtures.h"

using namespace vesper;
using namespace vesper::test;

namespace {

struct Project {
  std::string Dir;
  TResources Res{"US English", 1033};
  std::vector<std::string> Errors;
  std::vector<std::string> Status;
  TResUserIO Io{[this](const TResNotice& n) {
                  Errors.push_back(n.Text);
                  return TModalResult::mrOk;
                },
                [this](const std::string& s) { Status.push_back(s); }};

  explicit Project(const std::string& name) : Dir(MakeTempSubdir(name)) {
    Res.SetFileName(Dir + "/p.vrf");
    Res.CompressionAllowed = true;
  }
  std::string File(const std::string& name, const std::string& bytes) {
    WriteFile(Dir + "/" + name, bytes);
    return name;  // found in the project folder
  }
  std::vector<ResRecord> Compile32(bool omitVersion = true, TCompileSwitches sw = {}) {
    return ReadRes32(TResCompiler(Res, Io, sw).CompileBytes(true, omitVersion));
  }
  void AddString(uint16_t id, const std::string& name, const std::string& text) {
    TStringEntry e;
    e.Id = id;
    e.Name = name;
    e.Text = text;
    Res.Strings.Insert(e);
  }
  template <class List, class Entry = typename List::EntryType>
  Entry& AddFile(List& list, uint16_t id, const std::string& name, const std::string& file) {
    Entry e;
    e.Id = id;
    e.Name = name;
    e.FileName = file;
    return *list.Insert(e);
  }
};

std::string Utf16(const std::string& ascii) {
  std::string s;
  for (char c : ascii) s += std::string{c, '\0'};
  return s;
}

}  // namespace

TEST(ResCompiler, EmptyOutputsAreDeletedInBothFormats) {
  Project p("empty");
  WriteFile(p.Res.Res32Name(), "old");
  WriteFile(p.Res.Res16Name(), "old");
  for (bool is32 : {true, false}) EXPECT_TRUE(TResCompiler(p.Res, p.Io).Compile(is32, true));
  EXPECT_FALSE(FileExists(p.Res.Res32Name()));
  EXPECT_FALSE(FileExists(p.Res.Res16Name()));
  EXPECT_EQ(p.Status.back(), " Ready");
}

TEST(ResCompiler, FileStartsWithTheEmptyRecordAndHeadersAreAligned) {
  Project p("start");
  p.AddString(1, "IDS_A", "x");
  std::string bytes = TResCompiler(p.Res).CompileBytes(true, true);
  EXPECT_EQ(bytes.substr(0, 32), VrfBytes().dw(0).dw(32).w(0xFFFF).w(0).w(0xFFFF).w(0).zeros(16).str());
  // A named type: header size counts the UTF-16 name, its zero and the padding.
  p.AddFile(p.Res.RcData, 7, "IDR_W", p.File("w.wav", "RIFF")).SetKind(rkSound);
  auto recs = p.Compile32();
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[2].Type, "WAVE");
  EXPECT_EQ(recs[2].Name, "#7");
  EXPECT_EQ(recs[2].Flags, 0x1030);  // OMD: pure, moveable, discardable
  EXPECT_EQ(recs[2].Language, 1033);
}

TEST(ResCompiler, StringGoesToItsBlockAndSlot) {
  Project p("strings");
  p.AddString(17, "IDS_A", "Hi\\n");
  p.AddString(31, "IDS_B", "zz");
  auto recs = p.Compile32();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[1].Type, "#6");
  EXPECT_EQ(recs[1].Name, "#2");
  EXPECT_EQ(recs[1].Flags, 0x1030);
  std::string expected = std::string(2, '\0') + VrfBytes().w(3).str() + Utf16("Hi\n");
  for (int slot = 2; slot < 15; ++slot) expected += std::string(2, '\0');
  expected += VrfBytes().w(2).str() + Utf16("zz") + std::string(2, '\0');  // padding to 4
  EXPECT_EQ(recs[1].Data, expected);

  auto r16 = ReadRes16(TResCompiler(p.Res).CompileBytes(false, true));
  ASSERT_EQ(r16.size(), 1u);
  EXPECT_EQ(r16[0].Data, std::string(1, '\0') + "\x03Hi\n" + std::string(13, '\0') + "\x02zz");
}

TEST(ResCompiler, IconImagesAreNumberedAcrossEntriesAndGroupsFollowThem) {
  Project p("icons");
  p.AddFile(p.Res.Icons, 1, "IDI_ONE", p.File("one.ico", IconFileBytes({{16, 4, 'a'}})));
  auto& three = p.AddFile(p.Res.Icons, 2, "IDI_THREE",
                          p.File("three.ico", IconFileBytes({{16, 8, 'b'}, {32, 32, 'c'}, {16, 1, 'd'}})));
  three.LoadByName = true;
  auto recs = p.Compile32();
  ASSERT_EQ(recs.size(), 7u);
  EXPECT_EQ(recs[1].Type + recs[1].Name, "#3#1");
  EXPECT_EQ(recs[2].Type + recs[2].Name, "#14#1");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(recs[3 + i].Type + recs[3 + i].Name, "#3#" + std::to_string(2 + i));
    EXPECT_EQ(recs[3 + i].Language, 0);
  }
  EXPECT_EQ(recs[4].Data, IconImage(32, 32, 'c'));
  const ResRecord& group = recs[6];
  EXPECT_EQ(group.Type + group.Name, "#14IDI_THREE");
  ASSERT_EQ(group.Data.size(), 6u + 3 * 14);
  EXPECT_EQ(Word(group.Data, 4), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Word(group.Data, 6 + i * 14 + 12), 2 + i) << "image id";
  EXPECT_EQ(Word(group.Data, 6 + 14 + 6), 32);  // bit count from the directory
  EXPECT_EQ(DWord(group.Data, 6 + 14 + 8), IconImage(32, 32, 'c').size());
}

TEST(ResCompiler, CursorWritesItsFirstImageWithTheHotSpot) {
  Project p("cursor");
  p.AddFile(p.Res.Cursors, 5, "IDC_A", p.File("a.cur", IconFileBytes({{32, 1, 'x'}, {16, 1, 'y'}}, 2)));
  auto recs = p.Compile32();
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[1].Type + recs[1].Name, "#1#1");
  EXPECT_EQ(recs[1].Data, VrfBytes().w(3).w(4).str() + IconImage(32, 1, 'x'));
  EXPECT_EQ(recs[2].Type + recs[2].Name, "#12#5");
  std::string group = VrfBytes().w(0).w(2).w(1).w(32).w(64).w(1).w(1).dw(uint32_t(recs[1].Data.size())).w(1).str();
  EXPECT_EQ(recs[2].Data, group);
}

TEST(ResCompiler, DamagedIconFileIsRefusedNamingTheFile) {
  Project p("badicon");
  std::string ico = IconFileBytes({{16, 4, 'a'}});
  const std::string damaged[] = {ico.substr(0, 4), ico.substr(0, 20), ico.substr(0, ico.size() - 1),
                                 VrfBytes().w(0).w(1).w(0).str()};
  for (const std::string& bytes : damaged) {
    p.Res.Icons.Clear();
    p.AddFile(p.Res.Icons, 1, "IDI_A", p.File("bad.ico", bytes));
    try {
      p.Compile32();
      ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
    } catch (const EResCompileError& e) {
      EXPECT_NE(std::string(e.what()).find("bad.ico"), std::string::npos);
    }
  }
}

TEST(ResCompiler, CompressedTypesAndTheAllowSwitch) {
  Project p("packed");
  std::string bmp = BmpFile(8, 8);
  auto& b = p.AddFile(p.Res.Bitmaps, 1, "IDB_A", p.File("a.bmp", bmp));
  b.Compression = rcLzh;
  p.AddFile(p.Res.RcData, 2, "IDR_V", p.File("v.avi", std::string(300, 'v'))).KindAndCompression = 0x0102;
  p.AddFile(p.Res.RcData, 3, "IDR_S", p.File("s.wav", "RIFFdata")).KindAndCompression = 0x0101;
  auto recs = p.Compile32();
  ASSERT_EQ(recs.size(), 4u);
  EXPECT_EQ(recs[1].Type + recs[1].Name, "CMPAVI#2");
  EXPECT_EQ(ExpandBytes(recs[1].Data), std::string(300, 'v'));
  EXPECT_EQ(recs[2].Type, "CMPWAV");
  EXPECT_EQ(recs[3].Type + recs[3].Name, "CMPBMP#1");
  EXPECT_EQ(ExpandBytes(recs[3].Data), bmp);  // the whole file, header included
  EXPECT_NE(std::find(p.Status.begin(), p.Status.end(), "Compressing " + p.Dir + "/a.bmp"), p.Status.end());

  p.Res.CompressionAllowed = false;
  recs = p.Compile32();
  EXPECT_EQ(recs[1].Type, "AVI");
  EXPECT_EQ(recs[1].Data, std::string(300, 'v'));
  EXPECT_EQ(recs[3].Type + recs[3].Name, "#2#1");
  EXPECT_EQ(recs[3].Data, bmp.substr(14));
}

TEST(ResCompiler, FormFileIsNamedByItsHeaderAndSkippedWithoutOne) {
  Project p("forms");
  std::string form = VrfBytes().b(255).w(10).raw("TFORM1").b(0).w(0x1030).dw(4).raw("TPF0").str();
  p.AddFile(p.Res.RcData, 1, "IDR_F", p.File("f.dfm", form)).SetKind(rkForm);
  p.AddFile(p.Res.RcData, 2, "IDR_G", p.File("g.dfm", "TPF0 no header")).SetKind(rkForm);
  auto recs = p.Compile32();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[1].Type + recs[1].Name, "#10TFORM1");
  EXPECT_EQ(recs[1].Data, "TPF0");
  p.Res.RcData.At(0)->SetCompression(rcRle);
  recs = p.Compile32();
  EXPECT_EQ(recs[1].Type + recs[1].Name, "CMPDFMTFORM1");
  EXPECT_EQ(ExpandBytes(recs[1].Data), form);
}

TEST(ResCompiler, InvalidBitmapStopsOnlyTheBitmaps) {
  Project p("badbmp");
  p.AddFile(p.Res.Bitmaps, 1, "IDB_A", p.File("a.bmp", BmpFile(2, 2)));
  p.AddFile(p.Res.Bitmaps, 2, "IDB_B", p.File("b.bmp", "XX not a bitmap"));
  p.AddFile(p.Res.Bitmaps, 3, "IDB_C", p.File("c.bmp", BmpFile(2, 2)));
  p.AddFile(p.Res.Icons, 1, "IDI_A", p.File("a.ico", IconFileBytes({{16, 4, 'a'}})));
  auto recs = p.Compile32();
  ASSERT_EQ(p.Errors.size(), 1u);
  EXPECT_EQ(p.Errors[0], "Bitmap " + p.Dir + "/b.bmp is Invalid");
  ASSERT_EQ(recs.size(), 4u);  // start, IDB_A, the icon and its group
  EXPECT_EQ(recs[1].Name, "#1");
  EXPECT_EQ(recs[2].Type, "#3");
  EXPECT_EQ(recs[1].Data.size(), BmpFile(2, 2).size() - 14);
}

TEST(ResCompiler, PreCheckListsMissingFilesAndWritesNothing) {
  Project p("precheck");
  p.AddFile(p.Res.Icons, 1, "IDI_A", "nothere.ico");
  p.AddFile(p.Res.RcData, 1, "IDR_A", "/no/such/data.bin");
  p.AddFile(p.Res.Bitmaps, 1, "IDB_A", p.File("a.bmp", BmpFile(1, 1)));
  std::vector<std::string> errors;
  EXPECT_FALSE(TResCompiler(p.Res).Compile(true, false, &errors));
  EXPECT_EQ(errors, (std::vector<std::string>{"RcData : /no/such/data.bin", "Icon : nothere.ico"}));
  EXPECT_FALSE(FileExists(p.Res.Res32Name()));
}

TEST(ResCompiler, VersionRecordInBothLayouts) {
  Project p("version");
  TVersionResource& v = p.Res.Version;
  v.SetFileVersion({1, 2, 3, 4});
  v.CompanyName = "Acme";
  v.LegalTrademarks = "Widget\x99";  // the trade mark sign in code page 1252
  v.Comments = "  ";  // blank: left out
  v.SetInternalDate(EncodeDate(2020, 5, 6) + EncodeTime(7, 8, 0, 0));
  auto recs = ReadRes32(TResCompiler(p.Res).CompileBytes(true, false));
  ASSERT_EQ(recs.size(), 2u);
  const std::string& d = recs[1].Data;
  EXPECT_EQ(recs[1].Type + recs[1].Name, "#16#1");
  EXPECT_EQ(recs[1].Flags, 0x30);
  EXPECT_EQ(Word(d, 0), d.size());
  EXPECT_EQ(Word(d, 2), 52);
  EXPECT_EQ(DWord(d, 40), 0xFEEF04BDu);
  EXPECT_EQ(DWord(d, 48), 0x00010002u);
  EXPECT_EQ(DWord(d, 52), 0x00030004u);
  EXPECT_EQ(DWord(d, 84), uint32_t(DateTimeToFileDate(v.InternalDate())));
  EXPECT_NE(d.find(Utf16("FileVersion") + std::string(2, '\0')), std::string::npos);
  EXPECT_NE(d.find(Utf16("040904E4")), std::string::npos);
  EXPECT_EQ(d.find(Utf16("Comments")), std::string::npos);
  EXPECT_NE(d.find(Utf16("Widget") + "\x22\x21"), std::string::npos);  // U+2122
  auto r16 = ReadRes16(TResCompiler(p.Res).CompileBytes(false, false));
  ASSERT_EQ(r16.size(), 1u);
  const std::string& e = r16[0].Data;
  EXPECT_EQ(Word(e, 0), e.size());
  EXPECT_EQ(e.substr(4, 16), std::string("VS_VERSION_INFO\0", 16));
  EXPECT_EQ(DWord(e, 20), 0xFEEF04BDu);
  EXPECT_LT(e.find("FileVersion"), e.find("CompanyName"));
  EXPECT_NE(e.find("VarFileInfo"), std::string::npos);
}

TEST(ResCompiler, MessageTablesPerLanguageWithContiguousBlocks) {
  Project p("messages");
  TMessageResource& m = p.Res.Messages;
  m.Insert(m.MakeEntry(1, "IDM_A", 0, 0, "one"));
  m.Insert(m.MakeEntry(2, "IDM_B", 0, 0, "two"));
  m.Insert(m.MakeEntry(3, "IDM_C", 0, 0, "three"));
  m.Insert(m.MakeEntry(9, "IDM_D", 0, 0, "nine"));
  TResUserIO yes{[](const TResNotice&) { return TModalResult::mrYes; }, {}};
  m.AddLanguage("German", 1031, yes);
  auto recs = p.Compile32();
  ASSERT_EQ(recs.size(), 3u);
  EXPECT_EQ(recs[1].Language, 1033);
  EXPECT_EQ(recs[2].Language, 1031);
  const std::string& d = recs[1].Data;
  EXPECT_EQ(DWord(d, 0), 2u);  // blocks 1-3 and 9
  EXPECT_EQ(DWord(d, 4), 1u);
  EXPECT_EQ(DWord(d, 8), 3u);
  EXPECT_EQ(DWord(d, 12), 28u);
  EXPECT_EQ(DWord(d, 16), 9u);
  EXPECT_EQ(Word(d, 28), 3 + 5);
  EXPECT_EQ(d.substr(32, 4), std::string("one\0", 4));
  EXPECT_EQ(d.size() % 4, 0u);
  EXPECT_NE(recs[2].Data.find("IDM_B"), std::string::npos);  // the new language's text is the name
  EXPECT_EQ(ReadRes16(TResCompiler(p.Res).CompileBytes(false, true)).size(), 0u);  // 32-bit only
}

TEST(ResCompiler, SwitchesLeaveKindsOut) {
  Project p("switches");
  p.AddString(1, "IDS_A", "a");
  p.AddFile(p.Res.Icons, 1, "IDI_A", p.File("a.ico", IconFileBytes({{16, 4, 'a'}})));
  TCompileSwitches sw;
  sw.Icons = false;
  sw.Version = false;
  auto recs = p.Compile32(false, sw);
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[1].Type, "#6");
}

TEST(ResCompiler, OmitVersionCommandIsUndoneAfterTheCompile) {
  Project p("omit");
  p.Res.Is32Bit = true;
  EXPECT_TRUE(CompileCommand(p.Res, false, true, p.Io));
  EXPECT_FALSE(FileExists(p.Res.Res16Name()));  // only the version, left out
  EXPECT_TRUE(p.Res.Is32Bit);
  EXPECT_FALSE(p.Res.OmitVersion);
  EXPECT_TRUE(FileExists(p.Res.ConstFileName()));
  EXPECT_TRUE(CompileCommand(p.Res, false, p.Res.OmitVersion, p.Io));
  EXPECT_EQ(ReadRes16(ReadFile(p.Res.Res16Name())).at(0).Type, "#16");
}

TEST(ResCompiler, CompileOnSaveWritesTheOtherFormatWithCompileBoth) {
  Project p("onsave");
  p.AddString(1, "IDS_A", "a");
  p.Res.Is32Bit = false;
  EXPECT_TRUE(CompileOnSave(p.Res, p.Io));
  EXPECT_TRUE(FileExists(p.Res.Res16Name()));
  EXPECT_FALSE(FileExists(p.Res.Res32Name()));
  p.Res.Settings.CompileBoth = true;
  EXPECT_TRUE(CompileOnSave(p.Res, p.Io));
  EXPECT_TRUE(FileExists(p.Res.Res32Name()));
  EXPECT_TRUE(FileExists(p.Res.ConstFileName()));
}
