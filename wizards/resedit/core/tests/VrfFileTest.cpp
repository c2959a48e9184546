#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "tests/support/TestSupport.h"
#include "wizards/resedit/core/Resources.h"
#include "wizards/resedit/core/VrfFile.h"
#include "wizards/resedit/core/tests/VrfBytes.h"

namespace vesper {
namespace {

using test::VrfBytes;

constexpr double kStamp = 45000.5;

struct Recorder {
  std::vector<TResNotice> shown;
  std::vector<std::string> status;
  TModalResult answer = TModalResult::mrNo;
  TResUserIO io{[this](const TResNotice& n) {
                  shown.push_back(n);
                  return (n.Buttons & mbYes) ? answer : TModalResult::mrOk;
                },
                [this](const std::string& s) { status.push_back(s); }};
};

VrfBytes Header(const char* sig = "@#(20)") {
  VrfBytes v;
  v.raw(sig).date(kStamp);
  if (std::string(sig) == "@#(20)") v.zeros(16);
  return v;
}

// The version section of a record with default values.
void DefaultVersion(VrfBytes& v) {
  const uint16_t g = vgVersion;
  v.dw(vtVersion).tag(4, 1, g).w(1033).tag(4, 2, g).w(1252);
  v.text(3, g, "VOS_DOS_WINDOWS16").text(4, g, "VFT_APP");
  v.tag(4, 5, g).dw(0).tag(4, 6, g).dw(0).text(7, g, "").text(8, g, "");
  v.tag(10, 9, g).w(30).w(12).w(1899).w(0).w(0);
  v.text(10, g, "00.00.00.00");
  for (int n = 11; n <= 16; ++n) v.text(uint8_t(n), g, "");
  v.text(17, g, "00.00.00.00").text(18, g, "").text(19, g, "");
  v.dw(vtVersionEnd).dw(vtSectionEnd);
}

void NameValues(VrfBytes& v, uint32_t tag, const TNameValueList& list) {
  v.dw(tag).dw(uint32_t(list.size()));
  for (auto& item : list) v.dw(item.Value).lstr(item.Name);
  v.dw(tag | 0xFF).dw(vtSectionEnd);
}

std::string Write(TResources& res, const TResUserIO& io = {}) { return TVrfWriter(res, io).Bytes(kStamp); }

bool Read(TResources& res, const std::string& bytes, const TResUserIO& io = {}) {
  res.SetFileName("/x/p.vrf");
  return TVrfReader(res, io).ReadBytes(bytes);
}

TEST(VrfFile, NewProjectWritesVersionAndTheMessageLists) {
  TResources res("US English", 1033);
  VrfBytes v = Header();
  DefaultVersion(v);
  NameValues(v, vtSeverities, {{"Success", 0}, {"Information", 1}, {"Warning", 2}, {"Error", 3}});
  NameValues(v, vtFacilities, {{"Nil", 0}, {"System", 255}, {"Application", 4095}});
  NameValues(v, vtLanguages, {{"US English", 1033}});
  v.dw(vtFileEnd);
  EXPECT_EQ(Write(res), v.str());
}

TEST(VrfFile, ProjectWithEmptyListsWritesOnlyTheVersionSection) {
  TResources res("US English", 1033);
  res.Messages.Severities.clear();
  res.Messages.Facilities.clear();
  res.Messages.Languages.clear();
  VrfBytes v = Header();
  DefaultVersion(v);
  v.dw(vtFileEnd);
  EXPECT_EQ(Write(res), v.str());

  TResources back("US English", 1033);
  Recorder r;
  ASSERT_TRUE(Read(back, v.str(), r.io));
  EXPECT_TRUE(back.Version.Present);
  EXPECT_EQ(back.Strings.Count() + back.History.Count() + back.Messages.Count(), 0);
  EXPECT_EQ(back.SavedStamp, kStamp);
  EXPECT_EQ(r.status, (std::vector<std::string>{" Reading Version information...", " Ready"}));
}

TEST(VrfFile, SeverityListWithoutMessagesWritesListSectionsOnly) {
  TResources res("US English", 1033);
  std::string bytes = Write(res);
  EXPECT_EQ(bytes.find(std::string("\x00\xFC\x00\x00", 4)), std::string::npos);
  TResources back("US English", 1033);
  back.Messages.Severities.clear();
  ASSERT_TRUE(Read(back, bytes));
  EXPECT_EQ(back.Messages.Severities.size(), 4u);
}

// A project with every kind and settings in the file.
void FillProject(TResources& res) {
  res.SetFileName("/x/p.vrf");
  TVersionResource& v = res.Version;
  v.Language = 1031;
  v.CharSet = 1250;
  v.FileOs = "VOS_NT_WINDOWS32";
  v.FileType = "VFT_DLL";
  v.SetFileVersion({1, 2, 3, 4});
  v.SetProductVersion({5, 6, 7, 8});
  v.CompanyName = "Company";
  v.ProductName = std::string(255, 'p');
  v.PrivateBuild = "private";
  v.Year = 2024, v.Month = 2, v.Day = 29, v.Hour = 23, v.Minute = 59;

  TStringEntry s;
  s.Id = 300;
  s.Name = "IDS_A";
  s.Text = "line\\n\\101";
  res.Strings.Insert(s);
  s.Id = 2;
  s.Name = "IDS_B";
  s.Text = std::string(255, 't');
  res.Strings.Insert(s);

  THistoryEntry h{0x01020304, 0x05060708, 45321.25, "DOC", "first release"};
  res.History.Append(h);
  res.Notes.Text = "Notes\r\nsecond line";

  TMessageResource& m = res.Messages;
  m.AddFacility("Mine", 12, {});
  m.AddLanguage("German", 1031, {});
  m.Insert(m.MakeEntry(5, "IDM_E", 3, 12, "failed"));

  TRcDataEntry r;
  r.Id = 9;
  r.Name = "IDR_WAV";
  r.FileName = "ding.wav";
  r.MemOptions = moPreload | moFixed;
  r.SetKind(rkSound);
  r.SetCompression(rcLzh);
  res.RcData.Insert(r);

  TBmpEntry b;
  b.Id = 65535;
  b.Name = "IDB_LOGO";
  b.FileName = "logo.bmp";
  b.LoadByName = true;
  b.Compression = rcLzh;
  res.Bitmaps.Insert(b);

  TIconEntry i;
  i.Id = 1;
  i.Name = "IDI_MAIN";
  i.FileName = "main.ico";
  i.LoadByName = true;
  res.Icons.Insert(i);
  i.Name = "IDC_HAND";
  i.FileName = "hand.cur";
  i.LoadByName = false;
  res.Cursors.Insert(i);

  TResSettings st;
  st.DefaultsInVrf = true;
  st.ConstFileName = "CONSTS.PAS";
  st.Res32Bit = false;
  st.BumpResId = 10;
  st.StartPage = -1;
  st.Language = 1031;
  st.EncryptMsg = true;
  st.ImageEditor = "/usr/bin/paint";
  res.ApplySettings(st);
}

TEST(VrfFile, RoundTripOfEveryKind) {
  TResources res("US English", 1033);
  FillProject(res);
  std::string dir = test::MakeTempSubdir("roundtrip");
  res.SetFileName(dir + "/proj.vrf");
  Recorder w;
  res.WriteProject(w.io);
  EXPECT_EQ(w.status.front(), " Writing Binary Version Information...");
  EXPECT_EQ(w.status[w.status.size() - 2], " Writing Binary Defaults...");
  EXPECT_EQ(w.status.back(), " Ready");

  TResources back("US English", 1033);
  back.SetFileName(res.FileName());
  Recorder r;
  ASSERT_TRUE(back.ReadProject(r.io));
  EXPECT_TRUE(r.shown.empty());

  const TVersionResource& v = back.Version;
  EXPECT_TRUE(v.Present);
  EXPECT_EQ(v.Language, 1031);
  EXPECT_EQ(v.CharSet, 1250);
  EXPECT_EQ(v.FileOs, "VOS_NT_WINDOWS32");
  EXPECT_EQ(v.FileType, "VFT_DLL");
  EXPECT_EQ(v.FileVersion(), (TVersionParts{1, 2, 3, 4}));
  EXPECT_EQ(v.ProductVersion(), (TVersionParts{5, 6, 7, 8}));
  EXPECT_EQ(v.FileVersionText, "01.02.03.04");
  EXPECT_EQ(v.ProductName, std::string(255, 'p'));
  EXPECT_EQ(v.PrivateBuild, "private");
  EXPECT_EQ(std::vector<int>({v.Year, v.Month, v.Day, v.Hour, v.Minute}),
            std::vector<int>({2024, 2, 29, 23, 59}));

  ASSERT_EQ(back.Strings.Count(), 2);
  EXPECT_EQ(back.Strings.First()->Id, 2);
  EXPECT_EQ(back.Strings.First()->Text, std::string(255, 't'));
  EXPECT_EQ(back.Strings.Last()->Text, "line\\n\\101");
  ASSERT_EQ(back.History.Count(), 1);
  EXPECT_EQ(back.History.At(0)->ProductVersion, 0x05060708u);
  EXPECT_EQ(back.History.At(0)->Date, 45321.25);
  EXPECT_EQ(back.History.At(0)->Comments, "first release");
  EXPECT_EQ(back.Notes.Text, "Notes\r\nsecond line");
  EXPECT_EQ(back.Messages.Facilities.back().Name, "Mine");
  EXPECT_EQ(back.Messages.Languages.size(), 2u);
  const TMessageEntry* m = back.Messages.FindById(5);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->FullId, (3u << 30) + (12u << 16) + 5);
  EXPECT_EQ(back.Messages.Text(*m, 1031), "failed");
  const TRcDataEntry* r9 = back.RcData.FindById(9);
  ASSERT_NE(r9, nullptr);
  EXPECT_EQ(r9->Kind(), rkSound);
  EXPECT_EQ(r9->Compression(), rcLzh);
  EXPECT_EQ(r9->MemOptions, moPreload | moFixed);
  EXPECT_TRUE(back.Bitmaps.FindById(65535)->LoadByName);
  EXPECT_TRUE(back.Icons.FindById(1)->LoadByName);
  EXPECT_EQ(back.Cursors.FindById(1)->FileName, "hand.cur");

  EXPECT_TRUE(back.DefaultsInProject);
  EXPECT_FALSE(back.Is32Bit);
  EXPECT_EQ(back.ConstFileName(), dir + "/CONSTS.PAS");
  EXPECT_EQ(back.Settings.BumpResId, 10);
  EXPECT_EQ(back.Settings.StartPage, -1);
  EXPECT_EQ(back.Settings.Language, 1031);
  EXPECT_TRUE(back.Settings.EncryptMsg);
  EXPECT_EQ(back.Settings.ImageEditor, "/usr/bin/paint");

  // Saving again gives the same bytes apart from the date-time of saving.
  std::string first = test::ReadFile(res.FileName());
  back.WriteProject();
  std::string second = test::ReadFile(back.FileName());
  ASSERT_EQ(first.size(), second.size());
  EXPECT_EQ(first.substr(0, 6), second.substr(0, 6));
  EXPECT_EQ(first.substr(14), second.substr(14));
}

TEST(VrfFile, BitmapFlagsAreTwoBytesAfterMemoryOptions) {
  TResources res("US English", 1033);
  TBmpEntry b;
  b.Id = 1;
  b.Name = "B";
  b.FileName = "f";
  b.LoadByName = true;
  b.Compression = rcLzh;
  res.Bitmaps.Insert(b);
  VrfBytes entry;
  entry.dw(vtBitmaps).dw(1).w(1).lstr("B").lstr("f").w(25).b(1).b(2).dw(vtBitmapsEnd);
  EXPECT_NE(Write(res).find(entry.str()), std::string::npos);
}

TEST(VrfFile, LongStringsAreCutTo255WhenRead) {
  VrfBytes v = Header();
  v.dw(vtStrings).dw(1).w(1).lstr(std::string(300, 'n')).lstr(std::string(256, 't'));
  v.dw(vtStringsEnd).dw(vtSectionEnd).dw(vtFileEnd);
  TResources res("US English", 1033);
  ASSERT_TRUE(Read(res, v.str()));
  EXPECT_EQ(res.Strings.First()->Name.size(), 255u);
  EXPECT_EQ(res.Strings.First()->Text.size(), 255u);
}

TEST(VrfFile, SettingsFieldNineteenSetsEncryptRcData) {
  VrfBytes v = Header();
  v.dw(vtDefaults).tag(4, 19, vgDefaults).b(1).text(24, vgDefaults, "K.PAS");
  v.tag(4, 18, vgDefaults).b(1).dw(vtDefaultsEnd).dw(vtSectionEnd);
  TResources res("US English", 1033);
  ASSERT_TRUE(Read(res, v.str()));
  EXPECT_TRUE(res.Settings.EncryptRcData);
  EXPECT_TRUE(res.DefaultsInProject);
  EXPECT_EQ(res.ConstFileName(), "/x/K.PAS");
}

TEST(VrfFile, OlderSignatureReadsWithoutReservedBytesOrEndMarkers) {
  const uint16_t g = 0x00F1;
  VrfBytes v = Header("@#(19)");
  v.dw(vtStringsOld).tag(4, 1, g).w(3).text(2, g, "IDS_C").text(3, g, "c\\n");
  v.tag(4, 1, g).w(1).text(2, g, "IDS_A").text(3, g, "a");
  v.dw(vtStringsEnd);
  v.dw(vtRcDataOld).tag(4, 1, g).w(7).text(2, g, "IDR_X").text(3, g, "x.bin").text(4, g, "PFD");
  v.dw(vtRcDataEnd);
  v.dw(vtIconsOld).tag(4, 1, g).w(2).text(2, g, "IDI_X").text(3, g, "x.ico").text(4, g, "OM");
  v.dw(vtIconsEnd);
  v.dw(vtHistoryOld).text(1, g, "01.02.03.04").text(2, g, "05.06.07.08");
  v.text(3, g, "12/31/97 @ 14:05").text(4, g, "ME").text(5, g, "old entry").dw(vtHistoryEnd);
  v.dw(vtNotesOld).w(2).b(3).raw("one").b(3).raw("two").dw(vtNotesEnd);
  v.dw(vtPopupHelpOld).dw(1).dw(1).dw(2).lstr("help").dw(vtPopupHelpEnd);
  v.dw(vtMessagesEnd).raw("ignored garbage");
  TResources res("US English", 1033);
  Recorder r;
  ASSERT_TRUE(Read(res, v.str(), r.io));
  EXPECT_TRUE(r.shown.empty());
  ASSERT_EQ(res.Strings.Count(), 2);
  EXPECT_EQ(res.Strings.First()->Name, "IDS_C");  // file order is kept
  EXPECT_EQ(res.Strings.First()->Text, "c\\n");
  const TRcDataEntry* rc = res.RcData.FindById(7);
  ASSERT_NE(rc, nullptr);
  EXPECT_EQ(rc->KindAndCompression, rkOlderLayout);
  EXPECT_EQ(rc->MemOptions, moPreload | moFixed | moDiscardable);
  EXPECT_EQ(res.Icons.FindById(2)->MemOptions, moLoadOnCall | moMoveable);
  EXPECT_FALSE(res.Icons.FindById(2)->LoadByName);
  ASSERT_EQ(res.History.Count(), 1);
  EXPECT_EQ(res.History.At(0)->FileVersion, 0x01020304u);
  EXPECT_EQ(res.History.At(0)->Author, "ME");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", res.History.At(0)->Date), "1997-12-31 14:05");
  EXPECT_EQ(res.Notes.Text, "one\r\ntwo");
  EXPECT_FALSE(res.Version.Present);
}

std::string OldestFile() {
  const uint16_t g = 0x00F1;
  VrfBytes v;
  v.raw("@#()").date(kStamp);
  v.dw(vtVersion).text(7, vgVersion, "Old Co").dw(vtVersionEnd);
  v.dw(vtStringsOld).tag(4, 1, g).w(1).text(2, g, "IDS_OLD").text(3, g, "old").dw(vtStringsEnd);
  v.dw(vtNotesOld).w(1).b(4).raw("note").dw(vtNotesEnd);
  return v.str();
}

TEST(VrfFile, OldestFormatIsReadOnlyWhenTheUserAgrees) {
  Recorder r;
  TResources declined("US English", 1033);
  EXPECT_FALSE(Read(declined, OldestFile(), r.io));
  ASSERT_EQ(r.shown.size(), 1u);
  EXPECT_EQ(r.shown[0].Text,
            "/x/p.vrf is a 16bit resource file, continuing will overwrite it with a 32bit version. Procede ?");
  EXPECT_EQ(declined.Strings.Count(), 0);
  TResources headless("US English", 1033);
  EXPECT_FALSE(Read(headless, OldestFile()));

  r.answer = TModalResult::mrYes;
  TResources res("US English", 1033);
  ASSERT_TRUE(Read(res, OldestFile(), r.io));
  EXPECT_EQ(res.SavedStamp, kStamp);
  EXPECT_EQ(res.Version.CompanyName, "Old Co");
  EXPECT_TRUE(res.Version.Present);
  EXPECT_EQ(res.Strings.FindById(1)->Text, "old");
  EXPECT_EQ(res.Notes.Text, "note");
}

TEST(VrfFile, FormatErrorsShowTheirMessage) {
  VrfBytes good = Header();
  DefaultVersion(good);
  std::string version = good.str().substr(30);
  std::string noMarker = version.substr(0, version.size() - 4);
  struct Case { std::string name, bytes, message; };
  const Case cases[] = {
      {"signature", "XYZ(20)" + std::string(40, '\0'), "/x/p.vrf is not a valid resource file"},
      {"short", "@#", "/x/p.vrf is not a valid resource file"},
      {"unknown tag", Header().dw(0xF123).str(), "Unexpected Resource Indentifier F123 in /x/p.vrf"},
      {"partial tag", Header().w(0xF000).str(), "Unexpected Resource Indentifier 0 in /x/p.vrf"},
      {"end marker", Header().raw(noMarker).dw(0x12345678).str(),
       "Resource Format Error readingIndentifier F000 in /x/p.vrf"},
      {"truncated section", Header().raw(version.substr(0, 40)).str(),
       "Resource Format Error readingIndentifier F000 in /x/p.vrf"},
      {"huge count", Header().dw(vtStrings).dw(0xFFFFFFFF).w(1).lstr("a").str(),
       "Resource Format Error readingIndentifier F150 in /x/p.vrf"},
      {"huge length", Header().dw(vtNotes).dw(0x7FFFFFFF).raw("abc").str(),
       "Resource Format Error readingIndentifier F750 in /x/p.vrf"},
      {"settings field", Header().dw(vtDefaults).tag(4, 38, vgDefaults).b(1).str(),
       "Resource Format Error reading setting 38 in /x/p.vrf"},
      {"settings field 0", Header().dw(vtDefaults).tag(4, 0, vgDefaults).b(1).str(),
       "Resource Format Error reading setting 0 in /x/p.vrf"},
      {"older field", Header("@#(19)").dw(vtIconsOld).tag(4, 9, 0).str(),
       "Resource Format Error readingIndentifier F200 in /x/p.vrf"},
      {"older date", Header("@#(19)").dw(vtHistoryOld).text(3, 0, "tomorrow").str(),
       "Resource Format Error readingIndentifier F400 in /x/p.vrf"},
  };
  for (auto& c : cases) {
    Recorder r;
    TResources res("US English", 1033);
    EXPECT_FALSE(Read(res, c.bytes, r.io)) << c.name;
    ASSERT_EQ(r.shown.size(), 1u) << c.name;
    EXPECT_EQ(r.shown[0].Text, c.message) << c.name;
    EXPECT_EQ(r.shown[0].Type, TMsgDlgType::mtError);
  }
}

TEST(VrfFile, FileEndingBetweenSectionsIsComplete) {
  VrfBytes v = Header();
  DefaultVersion(v);
  TResources res("US English", 1033);
  EXPECT_TRUE(Read(res, v.str()));
  EXPECT_TRUE(Read(res, Header().str()));
}

TEST(VrfFile, SaveIntoMissingFolderRaisesTheStreamError) {
  TResources res("US English", 1033);
  res.SetFileName(test::MakeTempSubdir("nofolder") + "/missing/p.vrf");
  EXPECT_THROW(res.WriteProject(), EStreamError);
}

}  // namespace
}  // namespace vesper
