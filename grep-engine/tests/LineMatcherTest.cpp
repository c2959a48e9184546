#include <gtest/gtest.h>

#include <string>

#include "grep-engine/rxscan32.h"

namespace {

std::string Error() {
  char buf[255];
  int n = GetError(buf);
  EXPECT_EQ(n, static_cast<int>(std::string(buf).size()) + 1);
  return buf;
}

TEST(LineMatcher, BeforeAnyCompileReportsParseOverload) {
  int r[2] = {0, 0};
  EXPECT_EQ(GrepLine("abc", r), 0);
  EXPECT_EQ(r[0], -1);
  EXPECT_EQ(Error(), "Parse overload");
}

struct MatchCase {
  const char* pattern;
  const char* text;
  int column;  // -1: no match
  int length;
};

TEST(LineMatcher, FindsFirstMatchColumnAndLength) {
  const MatchCase cases[] = {
      {"abc", "xabcx", 2, 3},     {"x*", "abc", 1, 1},      {"x*", "xxa", 1, 2},
      {"a^b", "a^b", -1, 0},      {"^ab", "abab", 1, 2},    {"ab$", "abab", 3, 2},
      {"[]x]", "a]", 2, 1},       {"[]x]", "ax", 2, 1},     {"[a-]", "x-", 2, 1},
      {"[a-]", "xa", 2, 1},       {"\\.", "a.b", 2, 1},     {"\\.", "ab", -1, 0},
      {"\\n", "an", 2, 1},        {"a|bc", "xbc", 2, 2},    {"(ab)+", "xababx", 2, 4},
      {"(a|ab)c", "abc", 1, 3},   {"colou?r", "color", 1, 5}, {"a.*b", "xaxxbxb", 2, 6},
      {"[^a-c]+", "abcdef", 4, 3}, {"b+", "abbbc", 2, 3},   {"(|a)b", "ab", 1, 2},
      {"ab*c", "xacx", 2, 2},     {"x?y*z", "z", 1, 1},     {"$", "abc", 4, 1},
  };
  for (const MatchCase& c : cases) {
    ASSERT_EQ(InitGrep(c.pattern), 0) << c.pattern;
    int r[2] = {0, 0};
    int matched = GrepLine(c.text, r);
    EXPECT_EQ(matched, c.column > 0) << c.pattern << " / " << c.text;
    EXPECT_EQ(r[0], c.column) << c.pattern << " / " << c.text;
    if (matched) {
      EXPECT_EQ(r[1], c.length) << c.pattern << " / " << c.text;
    }
  }
}

TEST(LineMatcher, CompileErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"a**", "Illegal nesting"},           {"*a", "Illegal ?, +, or * usage"},
      {"a|+b", "Illegal ?, +, or * usage"}, {"(?a)", "Illegal ?, +, or * usage"},
      {"^*", "Illegal use of * or +"},      {"()+", "Illegal use of * or +"},
      {"[z-a]", "Illegal [] range"},        {"ab\\", "Illegal backslashes"},
      {"(ab", "Mismatched () or []"},       {"ab)", "Mismatched () or []"},
      {"[ab", "Mismatched () or []"},       {"(((((((((())))))))))", "Mismatched () or []"},
  };
  for (auto& [pattern, specific] : cases) {
    EXPECT_EQ(InitGrep(pattern), 2) << pattern;
    EXPECT_EQ(Error(), "Insufficient expression") << pattern;
  }
  EXPECT_EQ(InitGrep("((((((((()))))))))"), 0);  // nine groups fit
  EXPECT_EQ(InitGrep("a?"), 0);
  EXPECT_EQ(InitGrep("^?"), 0);
  EXPECT_EQ(Error(), "");
  EXPECT_EQ(GetError(nullptr), 1);
}

TEST(LineMatcher, SpecificMessageIsRecordedFirst) {
  // Each message replaces the last; the count shows both were recorded.
  EXPECT_EQ(InitGrep("a**"), 2);
  EXPECT_EQ(InitGrep(nullptr), 1);
  EXPECT_EQ(Error(), "Invalid argument");
}

TEST(LineMatcher, FailedCompileKeepsPreviousProgram) {
  ASSERT_EQ(InitGrep("abc"), 0);
  EXPECT_EQ(InitGrep("(x"), 2);
  int r[2];
  EXPECT_EQ(GrepLine("zzabc", r), 1);
  EXPECT_EQ(r[0], 3);
}

TEST(LineMatcher, ProgramThatWouldNotFitIsAFailedCompile) {
  std::string big(2000, 'a');
  EXPECT_EQ(InitGrep(big.c_str()), 1);
  EXPECT_EQ(Error(), "Insufficient expression");
  EXPECT_EQ(InitGrep("[\x01-\xff][\x01-\xff][\x01-\xff][\x01-\xff][\x01-\xff]"), 1);
  std::string fits(900, 'a');
  EXPECT_EQ(InitGrep(fits.c_str()), 0);
}

TEST(LineMatcher, NullArguments) {
  ASSERT_EQ(InitGrep("a"), 0);
  int r[2] = {5, 5};
  EXPECT_EQ(GrepLine(nullptr, r), 0);
  EXPECT_EQ(r[0], -1);
  EXPECT_EQ(Error(), "Invalid argument");
}

TEST(LineMatcher, PathologicalBacktrackingEnds) {
  ASSERT_EQ(InitGrep("(a+)+b"), 0);
  std::string text(5000, 'a');
  int r[2];
  EXPECT_EQ(GrepLine(text.c_str(), r), 0);  // gives up rather than hang
  ASSERT_EQ(InitGrep("(a|b)*c"), 0);
  std::string deep(200000, 'a');
  EXPECT_EQ(GrepLine(deep.c_str(), r), 0);  // no stack exhaustion
}

}  // namespace
