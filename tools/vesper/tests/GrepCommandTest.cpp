#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

using vesper::test::BinPath;
namespace vt = vesper::test;
using vesper::test::WriteFile;

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(GrepCommand, TreeSearchMatchesGnuGrep) {
  if (vt::Run({"/usr/bin/env", "grep", "--version"}).exitCode != 0) GTEST_SKIP() << "no GNU grep";
  std::string root = vesper::test::MakeTempSubdir("gtree");
  mkdir((root + "/src").c_str(), 0755);
  mkdir((root + "/src/deep").c_str(), 0755);
  WriteFile(root + "/a.pas", "procedure Foo;\nbegin\nend;\n");
  WriteFile(root + "/src/b.pas", "unit b;\nprocedure Bar(x: Integer);\nend;");
  WriteFile(root + "/src/deep/c.inc", "{ inline }\nfunction inline: Integer;\nprocedure_x\n");
  WriteFile(root + "/src/deep/d.txt", std::string(3000, 'p') + " procedure\n");
  const char* patterns[] = {"procedure", "^end;", "\\<inline\\>", "[A-Za-z]+\\(", "(ab|cd)\\1|Bar", "x$"};
  for (const char* pattern : patterns) {
    auto ours = vt::Run({BinPath("vesper"), "grep", "-r", pattern, root});
    auto theirs = vt::Run({"/usr/bin/env", "LC_ALL=C", "grep", "-rnE", pattern, root});
    EXPECT_EQ(ours.exitCode, theirs.exitCode) << pattern;
    EXPECT_EQ(SortedLines(ours.out), SortedLines(theirs.out)) << pattern;
  }
}

TEST(GrepCommand, LongLinesArePrintedWhole) {
  std::string root = vesper::test::MakeTempSubdir("glong");
  const std::string longLine = std::string(2000, 'q') + " key";
  const std::pair<const char*, std::string> files[] = {
      {"lf.txt", "a\nb\n" + longLine + "\nc\n"},
      {"crlf.txt", "a\r\nb\r\n" + longLine + "\r\nc\r\n"},
      {"mixed.txt", "a\r\nb\n" + longLine + "\r\nc\n"},
  };
  for (auto& [name, data] : files) {
    WriteFile(root + "/" + name, data);
    auto r = vt::Run({BinPath("vesper"), "grep", "key", root + "/" + name});
    EXPECT_EQ(r.out, root + "/" + name + ":3:" + longLine + "\n") << name;
  }
}

TEST(GrepCommand, ExitCodesAndMessages) {
  std::string root = vesper::test::MakeTempSubdir("gexit");
  WriteFile(root + "/a.txt", "Hello\r\nworld\r\n");
  auto r = vt::Run({BinPath("vesper"), "grep", "-i", "HELLO", root + "/a.txt"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, root + "/a.txt:1:Hello\n");
  EXPECT_NE(r.err.find("Scanned 2 lines in "), std::string::npos);
  r = vt::Run({BinPath("vesper"), "grep", "HELLO", root + "/a.txt"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  r = vt::Run({BinPath("vesper"), "grep", "a[b", root});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Expression Error : Unbalanced [\n");
  r = vt::Run({BinPath("vesper"), "grep", "--binary", "orl", root});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, root + "/a.txt:9\n");
  r = vt::Run({BinPath("vesper"), "grep", "x"});
  EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
