// The file search through the exported C interface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grep-engine/rxscan32.h"
#include "tests/support/TestSupport.h"

namespace {

struct Hit {
  int offset;
  int line;
  std::string text;
  bool hasText;
};
std::vector<Hit> gHits;

void Collect(int offset, int line, const char* text) {
  gHits.push_back({offset, line, text ? text : "", text != nullptr});
}

std::string Fixture(const std::string& name, const std::string& data) {
  static std::string dir = vesper::test::MakeTempSubdir("search");
  std::string path = dir + "/" + name;
  vesper::test::WriteFile(path, data);
  return path;
}

// Searches `data` for `pattern`; returns the engine's result.
int Grep(const std::string& pattern, const std::string& data, bool wantLine = false, bool unixOffsets = false) {
  gHits.clear();
  SetCase(0);
  SetBoyerMoore(Collect);
  WantLine(wantLine);
  FileIsUnix(unixOffsets);
  return ThreadFileGrep(pattern.c_str(), Fixture("f.txt", data).c_str());
}

std::vector<int> Lines() {
  std::vector<int> out;
  for (auto& h : gHits) out.push_back(h.line);
  return out;
}

TEST(FileSearch, LineCounts) {
  EXPECT_EQ(Grep("a", ""), 0);
  EXPECT_EQ(GetLineCount(), 0);
  EXPECT_TRUE(gHits.empty());
  EXPECT_EQ(Grep("c", "a\nb\nc"), 1);  // an unterminated last line is searched and counted
  EXPECT_EQ(GetLineCount(), 3);
  EXPECT_EQ(Lines(), std::vector<int>{3});
  EXPECT_EQ(Grep("x", "a\nb\nc\n"), 0);
  EXPECT_EQ(GetLineCount(), 3);
}

TEST(FileSearch, OneCallbackPerLineWithText) {
  EXPECT_EQ(Grep("o", "foo boo\nbar\nzoo\n", true), 2);
  ASSERT_EQ(gHits.size(), 2u);
  EXPECT_EQ(gHits[0].text, "foo boo");
  EXPECT_EQ(gHits[1].line, 3);
  EXPECT_EQ(gHits[1].text, "zoo");
  Grep("o", "foo\n", false);
  EXPECT_FALSE(gHits[0].hasText);
}

TEST(FileSearch, LongLinesAreSearchedWholeAndTextIsCut) {
  std::string longLine(20000, 'x');
  longLine += "needle";
  EXPECT_EQ(Grep("needle", "a\n" + longLine + "\nb\n", true), 1);
  ASSERT_EQ(gHits.size(), 1u);
  EXPECT_EQ(gHits[0].line, 2);
  EXPECT_EQ(gHits[0].text, std::string(1023, 'x'));
  EXPECT_EQ(GetLineCount(), 3);
}

TEST(FileSearch, OffsetsWithAndWithoutUnixFlag) {
  Grep("c", "a\r\nb\r\nc\r\n", true);
  ASSERT_EQ(gHits.size(), 1u);
  EXPECT_EQ(gHits[0].offset, 6);
  EXPECT_EQ(gHits[0].text, "c");  // the carriage return is dropped
  Grep("c", "a\r\nb\r\nc\r\n", false, true);
  EXPECT_EQ(gHits[0].offset, 4);
  Grep("b$", "a\r\nb\r\nc\r\n");
  EXPECT_EQ(Lines(), std::vector<int>{2});
}

TEST(FileSearch, CtrlZEndsTheInput) {
  EXPECT_EQ(Grep("b", "a\nb\n\x1a" "b\nb\n"), 1);
  EXPECT_EQ(GetLineCount(), 2);
  EXPECT_EQ(Grep("b", "a\nb\x1a" "b\n"), 1);
  EXPECT_EQ(GetLineCount(), 2);
}

TEST(FileSearch, RejectedBackReferenceLinesStillCount) {
  EXPECT_EQ(Grep("(a)\\1", "ab\nab\naa\nab\naa\n"), 2);
  EXPECT_EQ(Lines(), (std::vector<int>{3, 5}));
  EXPECT_EQ(GetLineCount(), 5);
  Grep("(a)\\1", "ab\nab\naa\n", false, false);
  EXPECT_EQ(gHits[0].offset, 6 + 2);
}

TEST(FileSearch, BufferBoundariesDoNotChangeResults) {
  std::string data;
  std::vector<int> expected;
  size_t lastOffset = 0;
  for (int i = 1; i <= 60000; ++i) {
    if (i % 7 == 0) {
      expected.push_back(i);
      lastOffset = data.size();
    }
    data += i % 7 == 0 ? "some match here\r\n" : "nothing to see in line\r\n";
  }
  EXPECT_EQ(Grep("match", data), static_cast<int>(expected.size()));
  EXPECT_EQ(Lines(), expected);
  EXPECT_EQ(GetLineCount(), 60000);
  EXPECT_EQ(gHits.back().offset, static_cast<int>(lastOffset));
}

TEST(FileSearch, ErrorsAndQuickGrep) {
  SetCase(0);
  EXPECT_EQ(ThreadCompileRegEx("(abc"), 1);
  EXPECT_STREQ(GetLastGrepError(), "Unbalanced (");
  EXPECT_EQ(ThreadFileGrep("[x", Fixture("e.txt", "x\n").c_str()), -1);
  EXPECT_STREQ(GetLastGrepError(), "Unbalanced [");
  EXPECT_EQ(ThreadFileGrep("x", "/nonexistent/file"), 2);
  EXPECT_STREQ(GetLastGrepError(), "Unbalanced [");  // not changed by a missing file
  EXPECT_EQ(ThreadCompileRegEx("b+"), 0);
  gHits.clear();
  SetBoyerMoore(Collect);
  EXPECT_EQ(ThreadQuickGrep(Fixture("q.txt", "a\nbb\n").c_str()), 1);
  EXPECT_EQ(ThreadCompileRegEx("(("), 1);
  EXPECT_EQ(ThreadQuickGrep(Fixture("q.txt", "a\nbb\n").c_str()), 1);  // the last good compile stays
}

TEST(FileSearch, CaseFoldingAppliesAtCompile) {
  gHits.clear();
  SetBoyerMoore(Collect);
  SetCase(1);
  std::string path = Fixture("c.txt", "HELLO world\nhello\nHeLLo\nbye\n");
  EXPECT_EQ(ThreadFileGrep("hello", path.c_str()), 3);
  SetCase(0);
  EXPECT_EQ(ThreadFileGrep("hello", path.c_str()), 1);
}

TEST(FileSearch, ThreadExportsDoNothing) {
  EXPECT_EQ(InitGrepThread(), -1);
  EXPECT_EQ(LatchGrepThread(5), -1);
  EXPECT_EQ(HookGrepToDelphiThread(0), -1);
  EXPECT_EQ(CaptureGrepThread(-1), -1);
  EXPECT_EQ(TerminateGrepThread(7), -1);
}

TEST(LineReader, ReadsLinesAndPositions) {
  char buffer[1024];
  SetGrepBuffer(buffer);
  ASSERT_EQ(OpenGrepFile(Fixture("r.txt", "one\r\ntwo\nthree").c_str()), 1);
  std::vector<std::pair<std::string, int>> got;
  while (!EofGrepFile()) {
    ReadGrepLine();
    got.push_back({buffer, GetLastPos()});
  }
  EXPECT_EQ(CloseGrepFile(), 0);
  EXPECT_EQ(CloseGrepFile(), -1);
  std::vector<std::pair<std::string, int>> want = {{"one\n", 0}, {"two\n", 5}, {"three", 9}};
  EXPECT_EQ(got, want);
  EXPECT_EQ(OpenGrepFile("/nonexistent"), 0);
}

TEST(LineReader, LongLinesComeIn1023ByteParts) {
  char buffer[1024];
  SetGrepBuffer(buffer);
  ASSERT_EQ(OpenGrepFile(Fixture("l.txt", std::string(1500, 'y') + "\n").c_str()), 1);
  EXPECT_EQ(std::string(ReadGrepLine()).size(), 1023u);
  EXPECT_EQ(std::string(ReadGrepLine()), std::string(477, 'y') + "\n");
  EXPECT_EQ(GetLastPos(), 1023);
  CloseGrepFile();
}

}  // namespace
