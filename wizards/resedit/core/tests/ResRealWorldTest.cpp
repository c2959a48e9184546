// Our ".R32" against the installed resource compilers: windres reads it, and
// the project's script compiled by windres or llvm-rc gives the same
// resources, apart from the differences listed below.
#include <gtest/gtest.h>

#include <map>

#include "platform/Files.h"
#include "tests/support/TestSupport.h"
#include "wizards/resedit/core/RcScript.h"
#include "wizards/resedit/core/ResCompiler.h"
#include "wizards/resedit/core/Resources.h"
#include "wizards/resedit/core/tests/ResFixtures.h"

using namespace vesper;
using namespace vesper::test;

namespace {

const char kWindres64[] = "/usr/bin/x86_64-w64-mingw32-windres";
const char kWindres32[] = "/usr/bin/i686-w64-mingw32-windres";
const char kLlvmRc[] = "/usr/bin/llvm-rc-14";

// Known, intended differences between a compile and the script's compile.
enum class Diff { Same, OnlyOurs, Present, WordPadded, SizeCountsPadding, ByGroup };
struct KnownDiff {
  const char* Type;
  Diff Kind;
  const char* Why;
};
const KnownDiff kKnownDiffs[] = {
    {"#16", Diff::Present, "script values end in \\000 (an extra terminator) and carry no file date"},
    {"#11", Diff::OnlyOurs, "message tables are not written to a script"},
    {"#10", Diff::WordPadded, "the script completes an odd-sized RCDATA file to a whole word"},
    {"#6", Diff::SizeCountsPadding, "our string-table size counts its 2 padding bytes"},
    {"#1", Diff::ByGroup, "image ids are numbered per compiler (one counter or two); compared through groups"},
    {"#3", Diff::ByGroup, "as for cursor images"},
};
// Not compared at all: memory flags (compilers choose their own) and the
// language (a script has no LANGUAGE statement; our icon and cursor records
// carry language 0).

Diff DiffOf(const std::string& type) {
  for (auto& d : kKnownDiffs)
    if (type == d.Type) return d.Kind;
  return Diff::Same;
}

struct Fixture {
  std::string Dir = MakeTempSubdir("realworld");
  TResources Res{"US English", 1033};

  Fixture() {
    Res.SetFileName(Dir + "/proj.vrf");
    Res.CompressionAllowed = true;
    Res.Version.SetFileVersion({1, 2, 3, 4});
    Res.Version.CompanyName = "Acme \"Quoted\" Ltd";
    AddString(1, "IDS_PLAIN", "Hello");
    AddString(17, "IDS_ESC", "Tab\\there\\nquote \\\" and \"\" back\\q \\101\\a end");
    AddString(40, "IDS_PATH", "C:\\dir\\file");
    AddFile(Res.Bitmaps, 1, "IDB_LOGO", "logo.bmp", BmpFile(7, 5));
    AddFile(Res.Icons, 1, "IDI_APP", "app.ico", IconFileBytes({{16, 4, 'a'}, {32, 32, 'b'}, {16, 8, 'c'}}));
    AddFile(Res.Icons, 2, "IDI_DOC", "doc.ico", IconFileBytes({{32, 8, 'd'}}));
    AddFile(Res.Cursors, 1, "IDC_HAND", "hand.cur", IconFileBytes({{32, 1, 'e'}}, 2));
    AddFile(Res.RcData, 1, "IDR_ODD", "odd.bin", "abc");
    AddFile(Res.RcData, 2, "IDR_EVEN", "even.bin", std::string("\x00\x01\xFE\xFF", 4) + std::string(20, 'z'));
    TMessageResource& m = Res.Messages;
    m.Insert(m.MakeEntry(1, "IDM_A", 0, 0, "message"));
  }
  void AddString(uint16_t id, const std::string& name, const std::string& text) {
    TStringEntry e;
    e.Id = id;
    e.Name = name;
    e.Text = text;
    Res.Strings.Insert(e);
  }
  template <class List>
  void AddFile(List& list, uint16_t id, const std::string& name, const std::string& file, const std::string& bytes) {
    WriteFile(Dir + "/" + file, bytes);
    typename List::EntryType e;
    e.Id = id;
    e.Name = name;
    e.FileName = Dir + "/" + file;  // the script names it as given
    list.Insert(e);
  }
  std::string CompileOurs() {
    EXPECT_TRUE(TResCompiler(Res).Compile(true, Res.Settings.NoVerResource));
    return Res.Res32Name();
  }
};

std::map<std::string, ResRecord> ByKey(const std::vector<ResRecord>& records) {
  std::map<std::string, ResRecord> out;
  for (auto& r : records)
    if (r.Type != "#0") out[r.Type + "/" + r.Name] = r;
  return out;
}

// A group's data with its image ids zeroed, and the images they name.
std::pair<std::string, std::vector<std::string>> Resolve(const ResRecord& group,
                                                         std::map<std::string, ResRecord>& all) {
  std::string data = group.Data;
  std::vector<std::string> images;
  std::string imageType = group.Type == "#14" ? "#3/#" : "#1/#";
  for (size_t i = 0, n = Word(data, 4); i < n && 6 + i * 14 + 14 <= data.size(); ++i) {
    size_t at = 6 + i * 14 + 12;
    images.push_back(all[imageType + std::to_string(Word(data, at))].Data);
    data[at] = data[at + 1] = 0;
  }
  return {data, images};
}

void CompareWithScriptCompile(const std::string& ours, const std::string& theirs) {
  auto a = ByKey(ReadRes32(ReadFile(ours)));
  auto b = ByKey(ReadRes32(ReadFile(theirs)));
  for (auto& [key, rec] : a) {
    Diff diff = DiffOf(rec.Type);
    if (diff == Diff::OnlyOurs) {
      EXPECT_EQ(b.count(key), 0u) << key;
      continue;
    }
    if (diff == Diff::ByGroup) continue;
    ASSERT_EQ(b.count(key), 1u) << key << " missing from the script's compile";
    if (diff == Diff::Present || diff == Diff::ByGroup) continue;
    if (rec.Type == "#12" || rec.Type == "#14") {
      EXPECT_EQ(Resolve(b[key], b), Resolve(rec, a)) << key;
      continue;
    }
    std::string expected = rec.Data;
    if (diff == Diff::SizeCountsPadding && b[key].Data.size() + 2 == expected.size()) expected.resize(b[key].Data.size());
    if (diff == Diff::WordPadded && expected.size() % 2) expected += '\0';
    EXPECT_EQ(b[key].Data, expected) << key;
  }
  for (auto& [key, rec] : b)
    if (DiffOf(rec.Type) != Diff::ByGroup) EXPECT_EQ(a.count(key), 1u) << key << " only in the script's compile";
}

}  // namespace

TEST(ResRealWorld, WindresReadsOurResourceFile) {
  for (const char* windres : {kWindres64, kWindres32}) {
    if (!FileExists(windres)) {
      GTEST_SKIP() << windres << " is not installed";
    }
    Fixture f;
    std::string res = f.CompileOurs();
    RunResult obj = test::Run({windres, "-i", res, "-O", "coff", "-o", f.Dir + "/proj.o"});
    EXPECT_EQ(obj.exitCode, 0) << obj.err;
    RunResult rc = test::Run({windres, "-i", res, "-O", "rc", "-o", f.Dir + "/back.rc"});
    EXPECT_EQ(rc.exitCode, 0) << rc.err;
    EXPECT_NE(ReadFile(f.Dir + "/back.rc").find("RT_GROUP_ICON"), std::string::npos);
  }
}

TEST(ResRealWorld, ScriptCompiledByWindresGivesTheSameResources) {
  if (!FileExists(kWindres64)) GTEST_SKIP() << kWindres64 << " is not installed";
  Fixture f;
  std::string ours = f.CompileOurs();
  WriteRcScript(f.Res, f.Dir + "/proj.rc");
  // The version part names its OS and file type by their header constants.
  RunResult r = test::Run({kWindres64, "--preprocessor-arg=-include", "--preprocessor-arg=winver.h", "-i",
                     f.Dir + "/proj.rc", "-O", "res", "-o", f.Dir + "/script.res"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  CompareWithScriptCompile(ours, f.Dir + "/script.res");
}

TEST(ResRealWorld, ScriptCompiledByLlvmRcGivesTheSameResources) {
  if (!FileExists(kLlvmRc)) GTEST_SKIP() << kLlvmRc << " is not installed";
  Fixture f;
  f.Res.Settings.NoVerResource = true;  // this compiler has no preprocessor for the version constants
  std::string ours = f.CompileOurs();
  WriteRcScript(f.Res, f.Dir + "/proj.rc");
  RunResult r = test::Run({kLlvmRc, "/FO", f.Dir + "/llvm.res", f.Dir + "/proj.rc"});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  CompareWithScriptCompile(ours, f.Dir + "/llvm.res");
}
