// The text outputs: resource script, constants file, listings, snippets and
// the library project.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "tests/support/TestSupport.h"
#include "wizards/resedit/core/LibraryProject.h"
#include "wizards/resedit/core/RcScript.h"
#include "wizards/resedit/core/ResConsts.h"
#include "wizards/resedit/core/ResListings.h"
#include "wizards/resedit/core/Resources.h"

using namespace vesper;
using namespace vesper::test;

namespace {

struct Project {
  std::string Dir;
  TResources Res{"US English", 1033};
  explicit Project(const std::string& name) : Dir(MakeTempSubdir(name)) { Res.SetFileName(Dir + "/p.vrf"); }
  void AddString(uint16_t id, const std::string& name, const std::string& text) {
    TStringEntry e;
    e.Id = id;
    e.Name = name;
    e.Text = text;
    Res.Strings.Insert(e);
  }
};

bool Has(const TTextLines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

size_t IndexOf(const TTextLines& lines, const std::string& line) {
  return size_t(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

}  // namespace

TEST(RcScript, EscapesTextsForAResourceCompiler) {
  const std::pair<std::string, std::string> cases[] = {
      {"Say \"hi\"", "Say \"\"hi\"\""},
      {"a\\nb\\tc\\rd\\\\e\\a", "a\\nb\\tc\\rd\\\\e\\a"},
      {"C:\\path", "C:\\\\path"},
      {"q\\\"", "q\"\""},            // \" decodes to a quote
      {"\\101\\999", "\\101\\221"},  // \ddd as the octal of the byte compiled
      {"end\\", "end\\\\"},
  };
  for (auto& [in, out] : cases) EXPECT_EQ(EscapeRcText(in), out) << in;
}

TEST(RcScript, PartsInOrderWithVersionValuesEscaped) {
  Project p("script");
  p.Res.Version.CompanyName = "Acme \"Q\"";
  p.Res.Version.SetFileVersion({1, 2, 3, 4});
  p.AddString(17, "IDS_QUOTE", "one \" quote");
  p.AddString(1, "IDS_A", "a");
  WriteFile(p.Dir + "/d.bin", "abc");
  TRcDataEntry d;
  d.Id = 5;
  d.Name = "IDR_D";
  d.FileName = "d.bin";
  d.MemOptions = moPreload | moFixed | moDiscardable;
  p.Res.RcData.Insert(d);
  d.Id = 6;
  d.Name = "IDR_MISSING";
  d.FileName = "missing.bin";
  p.Res.RcData.Insert(d);
  TTextLines lines = RcScriptLines(p.Res, EncodeDate(2020, 1, 2));
  EXPECT_EQ(lines[0], "// Delphi Resource File");
  EXPECT_TRUE(Has(lines, "FILEVERSION 1, 2, 3, 4"));
  EXPECT_TRUE(Has(lines, "    VALUE \"CompanyName\", \"Acme \"\"Q\"\"\\000\""));
  EXPECT_TRUE(Has(lines, "    VALUE \"FileVersion\", \"01.02.03.04\\000\""));
  EXPECT_TRUE(Has(lines, "  VALUE \"Translation\", 1033, 1252"));
  EXPECT_TRUE(Has(lines, "#define IDS_QUOTE                        17"));
  EXPECT_TRUE(Has(lines, "   IDS_QUOTE                        \"one \"\" quote\""));
  EXPECT_LT(IndexOf(lines, "   IDS_A                            \"a\""), IndexOf(lines, "   IDS_QUOTE                        \"one \"\" quote\""));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "STRINGTABLE DISCARDABLE"), 2);
  // A 3-byte file: two word lines, the last without a comma.
  size_t at = IndexOf(lines, "IDR_D                            RCDATA PRELOAD FIXED DISCARDABLE ");
  ASSERT_LT(at + 6, lines.size());
  EXPECT_EQ(TTextLines(lines.begin() + at + 1, lines.begin() + at + 6),
            (TTextLines{"BEGIN", "  ", "0x6261,", "0x0063", "END"}));
  EXPECT_TRUE(Has(lines, "#define IDR_MISSING                      6"));
  EXPECT_FALSE(Has(lines, "IDR_MISSING                      RCDATA LOADONCALL DISCARDABLE "));

  p.Res.Settings.NoVerResource = true;
  lines = RcScriptLines(p.Res, 0);
  EXPECT_EQ(lines[0], "// Strings");
}

TEST(RcScript, FileKindsAndOptionKeywords) {
  Project p("scriptfiles");
  TIconEntry icon;
  icon.Id = 3;
  icon.Name = "IDI_APP";
  icon.FileName = "/x/app.ico";
  p.Res.Icons.Insert(icon);
  icon.Name = "IDC_HAND";
  icon.MemOptions = moLoadOnCall | moMoveable;
  p.Res.Cursors.Insert(icon);
  TTextLines lines = RcScriptLines(p.Res, 0);
  EXPECT_TRUE(Has(lines, "IDI_APP                          ICON LOADONCALL DISCARDABLE \"/x/app.ico\""));
  EXPECT_TRUE(Has(lines, "IDC_HAND                         CURSOR LOADONCALL \"/x/app.ico\""));
  EXPECT_LT(IndexOf(lines, "// ICON Files End"), IndexOf(lines, "// Cursor Defines "));
}

TEST(ResConsts, CppFrameGuardAndRemarks) {
  Project p("constscpp");
  p.Res.Settings.ZeruzConstFile = "res__ids.h";
  p.Res.SetCppOutput(true);
  p.AddString(1, "IDS_A", "text");
  TBmpEntry b;
  b.Id = 2;
  b.Name = "IDB_A";
  b.Compression = rcRle;
  p.Res.Bitmaps.Insert(b);
  b.Id = 3;
  b.Name = "IDB_B";
  b.LoadByName = true;
  b.Compression = rcLzh;
  p.Res.Bitmaps.Insert(b);
  TTextLines lines = ConstsLines(p.Res);
  EXPECT_EQ(TTextLines(lines.begin(), lines.begin() + 4),
            (TTextLines{kDashLine, "#ifndef res__idsh", "#define res__idsh", kDashLine}));
  EXPECT_EQ(lines.back(), "#endif");
  EXPECT_TRUE(Has(lines, "#define IDS_A System::Word(1)  // text "));
  EXPECT_TRUE(Has(lines, "#define IDB_A System::Word(2)  // RLE Compression"));
  EXPECT_TRUE(Has(lines, "#define IDB_B System::Word(3)  // Load by Name LZH Compression"));
  EXPECT_EQ(ConstsGuard("/x/my.res.ids.h"), "myresidsh");
}

TEST(ResConsts, PascalUnitSectionsAndLongComments) {
  Project p("constspas");
  p.AddString(7, "IDS_BRACE", "a } b");
  p.AddString(8, "IDS_LONG", std::string(200, 'x'));
  TMessageResource& m = p.Res.Messages;
  m.Insert(m.MakeEntry(1, "IDM_ERR", 3, 4095, "Failed"));
  TIconEntry i;
  i.Id = 4;
  i.Name = "IDI_A";
  i.LoadByName = true;
  p.Res.Icons.Insert(i);
  TTextLines lines = ConstsLines(p.Res);
  EXPECT_EQ(TTextLines(lines.begin(), lines.begin() + 5), (TTextLines{"Unit RES__IDS;", "", "Interface", "", "{ Strings IDs }"}));
  EXPECT_EQ(TTextLines(lines.end() - 4, lines.end()), (TTextLines{"", "Implementation", "", "End."}));
  EXPECT_TRUE(Has(lines, "Const IDS_BRACE = 00007;  { a ) b }"));
  size_t at = IndexOf(lines, "Const IDS_LONG = 00008;");
  ASSERT_LT(at + 1, lines.size());
  EXPECT_EQ(lines[at + 1], "{ " + std::string(122, 'x') + " }");
  EXPECT_TRUE(Has(lines, "Const IDM_ERR = $CFFF0001;  { Failed... }"));
  EXPECT_TRUE(Has(lines, "Const Fac_Application = $FFF;"));
  EXPECT_TRUE(Has(lines, "Const Lan_US_English = $409;"));
  EXPECT_TRUE(Has(lines, "Const IDI_A = 00004; { Load by Name }"));
  p.Res.Is32Bit = false;
  EXPECT_FALSE(Has(ConstsLines(p.Res), "{ Message IDs }"));
}

TEST(ResListings, StringsHistoryAndHtml) {
  Project p("listings");
  EXPECT_TRUE(StringListingLines(p.Res).empty());
  EXPECT_TRUE(HistoryHtmlLines(p.Res).empty());
  p.AddString(12, "IDS_A", "hello");
  TTextLines s = StringListingLines(p.Res);
  EXPECT_EQ(s[0], "Strings in : p.vrf");
  EXPECT_EQ(s[4], "IDS_A" + std::string(27, ' ') + " 00012 hello");
  TDateTime when = EncodeDate(2021, 3, 4);
  for (const char* c : {"first", "second\r\nmore", "third"}) p.Res.History.Append({0x01020304, 0x01000000, when, "ME", c});
  TTextLines h = HistoryListingLines(p.Res);
  EXPECT_EQ(std::count_if(h.begin(), h.end(), [](auto& l) { return l.rfind("FileVer : ", 0) == 0; }), 1);
  EXPECT_TRUE(Has(h, " = second"));
  EXPECT_TRUE(Has(h, "   more"));
  EXPECT_EQ(h.back(), "");
  p.Res.Version.ProductName = "Widget";
  TTextLines html = HistoryHtmlLines(p.Res);
  EXPECT_EQ(html[0], "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">");
  EXPECT_TRUE(Has(html, "<title>Widget</title>"));
  EXPECT_TRUE(Has(html, "<td width=\"20%\">04 Mar 2021</td>"));
  EXPECT_EQ(html.back(), "</html>");
  EXPECT_EQ(HistoryHtmlName(p.Res), p.Dir + "/p.htm");
}

TEST(ResListings, SnippetsAndClipText) {
  EXPECT_EQ(CodeSnippet(TSnippetKind::FmtLoadStr, "IDS_A"), "FmtLoadStr(IDS_A,[ ])");
  EXPECT_EQ(CodeSnippet(TSnippetKind::Bitmap, "IDB_A"), "LoadBitmap(HInstance,MakeIntResource(IDB_A))");
  EXPECT_EQ(CodeSnippet(TSnippetKind::Cursor, "IDC_A", true), "LoadCursor(HInstance,'IDC_A')");
  EXPECT_EQ(CodeSnippet(TSnippetKind::RcData, "IDR_A"), "LoadStr(IDR_A)");
  std::string name, text;
  int id = 0;
  ASSERT_TRUE(ParseStringClipText(StringClipText("IDS_A", 12, "x|y"), name, id, text));
  EXPECT_EQ(name + "/" + std::to_string(id) + "/" + text, "IDS_A/12/x|y");
  EXPECT_FALSE(ParseStringClipText("no bars", name, id, text));
}

TEST(LibraryProject, TemplatesExpandAndTheirLinesAreReplaced) {
  Project p("library");
  for (int id = 1; id <= 3; ++id) EXPECT_GT(LibraryTemplateLines(id).size(), 16u);
  std::string dpr = WriteLibraryProject(p.Res, p.Dir + "/MyRes");
  EXPECT_EQ(dpr, p.Dir + "/MyRes.DPR");
  std::string text = ReadFile(dpr);
  EXPECT_EQ(text.substr(0, 17), "Library MyRes;\r\n\r");
  EXPECT_NE(text.find("\r\n{$R p.R32}\r\n"), std::string::npos);
  p.Res.SetCppOutput(true);
  std::string mak = WriteLibraryProject(p.Res, p.Dir + "/Lib.mak");
  EXPECT_EQ(mak, p.Dir + "/Lib.mak");
  TTextLines lines = SplitString(ReadFile(mak), '\n');
  EXPECT_EQ(lines[7], "PROJECT = Lib\r");
  EXPECT_EQ(lines[8], "OBJFILES = Lib.obj\r");
  EXPECT_EQ(lines[9], "RESFILES = " + p.Dir + "/p.R32\r");
  lines = SplitString(ReadFile(p.Dir + "/Lib.cpp"), '\n');
  EXPECT_EQ(lines[16], "USERES(\"" + p.Dir + "/p.R32\");\r");
}
