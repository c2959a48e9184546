#include "grep-engine/FileMatcher.h"

#include <gtest/gtest.h>
#include <regex.h>

#include <cstring>
#include <random>
#include <string>

namespace vesper::rx {
namespace {

// Whether `line` matches `pattern`, with back-references confirmed.
bool Matches(const std::string& pattern, const std::string& line, bool fold = false) {
  FileMatcher m;
  EXPECT_EQ(m.Compile(pattern, fold), "") << pattern;
  std::string text = line + "\n";
  auto* b = reinterpret_cast<const uint8_t*>(text.data());
  int64_t lines = 0;
  bool backref = false;
  const uint8_t* hit = m.Execute(b, b + text.size(), lines, backref);
  if (!hit) return false;
  return !backref || m.Confirm(b, text.size());
}

std::string CompileError(const std::string& pattern) {
  FileMatcher m;
  try {
    m.Compile(pattern, false);
  } catch (const MatchError& e) {
    return e.what();
  }
  return "";
}

struct Case {
  const char* pattern;
  const char* line;
  bool fold;
  bool match;
};

TEST(FileMatcher, MatchesAsSpecified) {
  const Case cases[] = {
      {"abc", "xxabcxx", false, true},
      {"abc", "ab c", false, false},
      {"a^b", "a^b", false, false},  // ^ and $ are anchors anywhere
      {"^ab", "ab", false, true},
      {"^ab", "cab", false, false},
      {"ab$", "cab", false, true},
      {"ab$", "abc", false, false},
      {"*a", "xax", false, true},  // a leading star applies to the empty string
      {"*a", "xyz", false, false},
      {"[]a]", "]", false, true},
      {"[]a]", "a", false, true},
      {"[]a]", "b", false, false},
      {"[a-]x]", "x", false, true},  // the first ] ends the range a-]
      {"[a-]x]", "a", false, false},
      {"[^a-c]", "abc", false, false},
      {"[^a-c]", "abd", false, true},
      {"a.c", "abc", false, true},
      {"foo\\b", "foo bar", false, true},  // \b is the end of a word
      {"foo\\b", "foobar", false, false},
      {"\\bfoo", "a foo", false, false},
      {"\\<foo\\>", "a foo b", false, true},
      {"\\<foo\\>", "afoo", false, false},
      {"o\\Bo", "foo", false, true},
      {"o\\Bo", "o o", false, false},
      {"\\w", "_", false, false},  // no underscore in words
      {"\\W", "_", false, true},
      {"a\\.b", "a.b", false, true},
      {"a\\.b", "axb", false, false},
      {"a{2}", "a{2}", false, true},  // braces are literals
      {"ab|cd", "xcdx", false, true},
      {"ab\ncd", "xcdx", false, true},  // a line feed separates alternatives
      {"()a", "a", false, true},
      {"a+?b", "b", false, true},
      {"(ab)+c", "ababc", false, true},
      {"a\\|b", "a|b", false, true},
      {"a\\|b", "a", false, false},
      {"(a)\\1", "aa", false, true},
      {"(a)\\1", "ab", false, false},
      {"(ab|cd)\\1", "xcdcd", false, true},
      {"(ab|cd)\\1", "abcd", false, false},
      // Case folding: letters of the pattern, not brackets, not escapes.
      {"abc", "xABCx", true, true},
      {"ABC", "xabcx", true, true},
      {"[A-Z]", "Q", true, false},
      {"[A-Z]", "q", true, true},
      {"a\\Wb", "a b", true, true},
      {"a\\Wb", "axb", true, false},
      {"o\\Bo", "FOO", true, true},
      {"o\\Bo", "O O", true, false},
      {"(a)\\1", "aA", true, true},
      // Contexts that a merged constraint would confuse.
      {"a$|a\\>", "ab", false, false},
      {"a$|a\\>", "a b", false, true},
      {"(^|\\<)a", "ba", false, false},
      {"(^|\\<)a", "b a", false, true},
      {"(^|\\<)a", "ab", false, true},
      {"x(\\<|$)", "xa", false, false},
      {"", "anything", false, true},
      {"\xe9t\xe9", "\xc9T\xc9", true, false},  // bytes from 128 up never fold
  };
  for (const Case& c : cases)
    EXPECT_EQ(Matches(c.pattern, c.line, c.fold), c.match) << "pattern '" << c.pattern << "' line '" << c.line
                                                           << "' fold " << c.fold;
}

TEST(FileMatcher, SyntaxErrorsHaveTheEngineMessages) {
  const std::pair<const char*, const char*> cases[] = {
      {"[abc", "Unbalanced ["}, {"[", "Unbalanced ["},        {"[^", "Unbalanced ["},
      {"[a-]", "Unbalanced ["}, {"ab\\", "Unfinished \\ quote"}, {"(ab", "Unbalanced ("},
      {"((a)", "Unbalanced ("}, {"a)", "Unbalanced )"},       {"(a))", "Unbalanced )"},
      {"[a-]x]", ""},           {"()", ""},                   {"a**+?", ""},
  };
  for (auto& [pattern, message] : cases) EXPECT_EQ(CompileError(pattern), message) << pattern;
}

TEST(FileMatcher, RegexLibraryMessagePassesThrough) {
  FileMatcher m;
  EXPECT_NE(m.Compile("(a)\\2", false), "");  // no group 2
}

TEST(FileMatcher, CountsLinesUpToTheMatch) {
  FileMatcher m;
  m.Compile("c", false);
  std::string text = "a\nb\nc\nd\n";
  auto* b = reinterpret_cast<const uint8_t*>(text.data());
  int64_t lines = 0;
  bool backref;
  const uint8_t* hit = m.Execute(b, b + text.size(), lines, backref);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(lines, 2);
  lines = 0;
  m.Compile("z", false);
  EXPECT_EQ(m.Execute(b, b + text.size(), lines, backref), nullptr);
  EXPECT_EQ(lines, 4);
}

// A pattern whose automaton has thousands of states: the tables are
// released and rebuilt, and the answers agree with the C library.
TEST(FileMatcher, TableLimitKeepsAnswersRight) {
  const std::string pattern = "(a|b)*a(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)(a|b)c";
  regex_t ref;
  ASSERT_EQ(regcomp(&ref, pattern.c_str(), REG_EXTENDED | REG_NOSUB), 0);
  FileMatcher m;
  m.Compile(pattern, false);
  std::mt19937 rng(7);
  int matched = 0;
  for (int i = 0; i < 400; ++i) {
    std::string line;
    for (int k = 0; k < 300; ++k) line += "abc"[rng() % (k % 50 == 49 ? 3 : 2)];
    std::string text = line + "\n";
    auto* b = reinterpret_cast<const uint8_t*>(text.data());
    int64_t lines = 0;
    bool backref;
    bool ours = m.Execute(b, b + text.size(), lines, backref) != nullptr;
    bool theirs = regexec(&ref, line.c_str(), 0, nullptr, 0) == 0;
    ASSERT_EQ(ours, theirs) << line;
    matched += ours;
    EXPECT_LE(m.TableCount(), FileMatcher::kMaxTables);
  }
  EXPECT_GT(m.StateCount(), FileMatcher::kMaxTables);
  EXPECT_GT(matched, 0);
  regfree(&ref);
}

TEST(FileMatcher, RequiredLiterals) {
  using Set = std::vector<std::string>;
  const std::pair<const char*, Set> cases[] = {
      {"procedure", {"procedure"}},
      {"[A-Za-z]+_[0-9]+", {"_"}},
      {"^end;", {"end;"}},
      {"\\<inline\\>", {"inline"}},
      {"a.*b", {"b"}},  // the rarer byte
      {"(ab|cd)\\1", {"ab", "cd"}},
      {"x(abc|abd)", {"xab"}},
      {"(foo)+bar", {"foobar"}},
      {"ab*c", {"c"}},
      {"e.*t", {}},  // common bytes filter badly
      {"ERangeError|EOverflow|EConvertError", {"ERangeError", "EOverflow", "EConvertError"}},
      {"x|yz", {}},
  };
  for (auto& [pattern, literals] : cases) {
    FileMatcher m;
    m.Compile(pattern, false);
    EXPECT_EQ(m.RequiredLiterals(), literals) << pattern;
  }
}

// Lines are found through the literal filter exactly as without it.
TEST(FileMatcher, LiteralFilterFindsEveryLine) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += (i % 37 == 0 ? "xx EOverflow" : i % 53 == 0 ? "eRangeERROR" : "nothing") +
                                        std::string(i % 40, ' ') + "\n";
  for (bool fold : {false, true}) {
    FileMatcher m;
    m.Compile("ERangeError|EOverflow", fold);
    auto* b = reinterpret_cast<const uint8_t*>(text.data());
    const uint8_t* p = b;
    const uint8_t* end = b + text.size();
    int64_t lines = 0;
    std::vector<int64_t> found;
    bool backref;
    while (const uint8_t* hit = m.Execute(p, end, lines, backref)) {
      found.push_back(lines);
      p = static_cast<const uint8_t*>(memchr(hit, '\n', end - hit)) + 1;
      ++lines;
    }
    std::vector<int64_t> want;
    for (int i = 0; i < 500; ++i)
      if (i % 37 == 0 || (fold && i % 53 == 0)) want.push_back(i);
    EXPECT_EQ(found, want) << fold;
    EXPECT_EQ(lines, 500);
  }
}

}  // namespace
}  // namespace vesper::rx
