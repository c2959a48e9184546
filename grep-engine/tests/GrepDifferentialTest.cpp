// The file search against GNU grep -E over patterns in the syntax both
// share, on the same text with LF and with CR LF line ends.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "grep-engine/rxscan32.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<int> gLines;
void Collect(int, int line, const char*) { gLines.push_back(line); }

std::string MakeText(bool crlf) {
  static const char* words[] = {"the",  "cat",  "a",    "dog",   "abc", "abab", "cdcd", "is",   "this",
                                "end",  "color", "colour", "3.14", "x",   "yyz",  "q",    "kite", "going",
                                "aa",   "bb",   "ab",   "cd",    "]",   ".",    "oo",   "foo",  "ending"};
  std::mt19937 rng(42);
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    int n = static_cast<int>(rng() % 6);
    std::string line;
    for (int k = 0; k < n; ++k) {
      if (k) line += rng() % 5 ? " " : "";
      line += words[rng() % (sizeof words / sizeof *words)];
    }
    text += line + (crlf ? "\r\n" : "\n");
  }
  return text;
}

std::vector<int> GnuGrep(const std::string& pattern, const std::string& file, bool fold) {
  std::vector<std::string> argv = {"/usr/bin/env", "LC_ALL=C", "grep", "-nE"};
  if (fold) argv.push_back("-i");
  argv.push_back("-e");
  argv.push_back(pattern);
  argv.push_back(file);
  auto r = vesper::test::Run(argv);
  std::vector<int> lines;
  std::istringstream in(r.out);
  for (std::string l; std::getline(in, l);) lines.push_back(std::stoi(l));
  return lines;
}

std::vector<int> Ours(const std::string& pattern, const std::string& file, bool fold) {
  gLines.clear();
  SetCase(fold);
  SetBoyerMoore(Collect);
  int n = ThreadFileGrep(pattern.c_str(), file.c_str());
  EXPECT_EQ(n, static_cast<int>(gLines.size())) << pattern << ": " << GetLastGrepError();
  SetCase(0);
  return gLines;
}

TEST(GrepDifferential, SameLinesAsGnuGrep) {
  if (vesper::test::Run({"/usr/bin/env", "grep", "--version"}).exitCode != 0) GTEST_SKIP() << "no GNU grep";
  std::string dir = vesper::test::MakeTempSubdir("diff");
  std::string lf = dir + "/lf.txt", crlf = dir + "/crlf.txt";
  vesper::test::WriteFile(lf, MakeText(false));
  vesper::test::WriteFile(crlf, MakeText(true));
  const std::pair<const char*, bool> cases[] = {
      {"abc", false},           {"a.c", false},          {"^the", false},          {"end$", false},
      {"(ab|cd)+e", false},     {"[a-c]+x", false},      {"[^a-z ]", false},       {"\\<is\\>", false},
      {"o\\Bo", false},         {"(a|b)*c(d|e)", false}, {"^$", false},            {"^(ab)*$", false},
      {"x?y+z", false},         {"(ab)\\1", false},      {"([a-d])\\1", false},    {"(the|a) (cat|dog)$", false},
      {"\\.", false},           {"[]x]", false},         {"colou?r", false},       {"[0-9]+\\.[0-9]+", false},
      {"q|z$|^k", false},       {"\\<[a-z]+ing\\>", false}, {"(^|x)a", false},     {"a(b$|c)", false},
      {"\\<(ab|cd)\\1\\>", false}, {"^[^ ]*$", false},   {"(c|t)a(t|g)", false},   {"ending|going|kite|yyz|3", false},
      {"THE", true},            {"Cat|DOG", true},       {"(AB)\\1", true},        {"^[a-c]+$", true},
      {"\\<Is\\>", true},       {"o\\Bo", true},
  };
  for (auto& [pattern, fold] : cases) {
    std::vector<int> want = GnuGrep(pattern, lf, fold);
    EXPECT_FALSE(want.empty()) << pattern;
    EXPECT_EQ(Ours(pattern, lf, fold), want) << pattern;
    EXPECT_EQ(Ours(pattern, crlf, fold), want) << pattern << " (CR LF)";
  }
}

}  // namespace
