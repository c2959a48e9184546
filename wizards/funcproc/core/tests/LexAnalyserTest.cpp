#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizards/funcproc/core/DelphiParser.h"
#include "wizards/funcproc/core/LexAnalyser.h"

using namespace vesper;

namespace {

struct Tok {
  char kind;
  std::string text;
  int line;
  bool operator==(const Tok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
  return os << "{" << int(t.kind) << ", \"" << t.text << "\", " << t.line << "}";
}

template <class Scanner>
std::vector<Tok> Tokens(const std::string& source) {
  TMemoryStream stream(source);
  Scanner s(stream);
  std::vector<Tok> out;
  for (; s.Token() != toEOF; s.NextToken()) out.push_back({s.Token(), s.TokenString(), s.SourceLine()});
  return out;
}

template <class Scanner>
std::string ErrorOf(const std::string& source) {
  TMemoryStream stream(source);
  try {
    Scanner s(stream);
    while (s.NextToken() != toEOF) {
    }
  } catch (const EParserError& e) {
    return e.Message();
  }
  return "";
}

}  // namespace

TEST(LexAnalyser, TokenKinds) {
  struct Case {
    std::string source;
    std::vector<Tok> tokens;
  } cases[] = {
      {"Foo_1 _x", {{toSymbol, "Foo_1", 1}, {toSymbol, "_x", 1}}},
      {"'it''s'", {{toString, "it's", 1}}},
      {"#65'b'#67#", {{toString, std::string("AbC") + '\0', 1}}},
      {"#321", {{toString, "A", 1}}},  // only the low byte of the code counts
      {"''", {{toString, "", 1}}},
      {"$1aF $", {{toInteger, "$1aF", 1}, {toInteger, "$", 1}}},
      {"42 -7", {{toInteger, "42", 1}, {toInteger, "-7", 1}}},
      {"1.5e-3 1..9", {{toFloat, "1.5e-3", 1}, {toFloat, "1..9", 1}}},
      {"- x", {{toInteger, "-", 1}, {toSymbol, "x", 1}}},
      {"(a:=b);", {{'(', "(", 1}, {toSymbol, "a", 1}, {':', ":", 1}, {'=', "=", 1},
                   {toSymbol, "b", 1}, {')', ")", 1}, {';', ";", 1}}},
      {"a\r\n\n\tb\x01\x7f", {{toSymbol, "a", 1}, {toSymbol, "b", 3}, {'\x7f', "\x7f", 3}}},
      {std::string("a\0b", 3), {{toSymbol, "a", 1}, {toSymbol, "b", 1}}},  // NUL inside the text is a blank
      {"\xe9t\xe9", {{'\xe9', "\xe9", 1}, {toSymbol, "t", 1}, {'\xe9', "\xe9", 1}}},
      // The base scanner knows no comments.
      {"{x}", {{'{', "{", 1}, {toSymbol, "x", 1}, {'}', "}", 1}}},
  };
  for (auto& c : cases) EXPECT_EQ(Tokens<TLexAnalyser>(c.source), c.tokens) << c.source;
}

TEST(LexAnalyser, TokenTextIsCutTo255) {
  std::string longName(300, 'n');
  auto toks = Tokens<TLexAnalyser>(longName + " '" + longName + "'");
  ASSERT_EQ(toks.size(), 2u);
  EXPECT_EQ(toks[0].text, std::string(255, 'n'));
  EXPECT_EQ(toks[1].text, std::string(255, 'n'));
}

TEST(LexAnalyser, ErrorsNameTheLine) {
  EXPECT_EQ(ErrorOf<TLexAnalyser>("a\n'open"), "Invalid string constant on line 2");
  EXPECT_EQ(ErrorOf<TLexAnalyser>("a\n\n'open\nb'"), "Invalid string constant on line 3");
  EXPECT_EQ(ErrorOf<TLexAnalyser>("'cr\r'"), "Invalid string constant on line 1");
  EXPECT_EQ(ErrorOf<TLexAnalyser>("x\n" + std::string(5000, 'a') + "\n"), "Line too long on line 2");
  EXPECT_EQ(ErrorOf<TLexAnalyser>("x\n" + std::string(4096, 'a')), "Line too long on line 2");
  // The longest line that fits: 4095 bytes and its line feed.
  EXPECT_EQ(ErrorOf<TLexAnalyser>(std::string(4095, 'a') + "\nb"), "");
  EXPECT_EQ(ErrorOf<TLexAnalyser>(std::string(4095, ' ') + "\n" + std::string(4095, 'a')), "");
}

TEST(LexAnalyser, TokensAcrossRefills) {
  // Lines of different lengths so that the cuts fall everywhere in a line.
  std::string source;
  std::vector<Tok> expected;
  std::vector<int64_t> positions;
  for (int i = 1; i <= 3000; ++i) {
    std::string name = "sym" + std::to_string(i) + std::string(size_t(i % 37), 'x');
    positions.push_back(int64_t(source.size()) + 2);
    source += "  " + name + " 'q" + std::to_string(i) + "'\n";
    expected.push_back({toSymbol, name, i});
    expected.push_back({toString, "q" + std::to_string(i), i});
  }
  EXPECT_EQ(Tokens<TLexAnalyser>(source), expected);

  TMemoryStream stream(source);
  TLexAnalyser s(stream);
  for (size_t i = 0; i < positions.size(); ++i, s.NextToken(), s.NextToken())
    ASSERT_EQ(s.SourcePos(), positions[i]) << i;
  EXPECT_EQ(s.Token(), toEOF);
  EXPECT_EQ(s.SourceLine(), 3001);
}

TEST(LexAnalyser, Conversions) {
  TMemoryStream stream("$FF -12 2.5e1 'x' { 0aFf 10\n 02 } end");
  TLexAnalyser s(stream);
  EXPECT_EQ(s.TokenInt(), 255);
  s.NextToken();
  EXPECT_EQ(s.TokenInt(), -12);
  s.NextToken();
  EXPECT_DOUBLE_EQ(s.TokenFloat(), 25.0);
  s.NextToken();
  EXPECT_THROW(s.TokenInt(), EConvertError);
  EXPECT_THROW(s.TokenFloat(), EConvertError);
  EXPECT_TRUE(s.TokenStringIs("X"));
  EXPECT_FALSE(s.TokenSymbolIs("x"));
  s.CheckToken(toString);
  EXPECT_THROW(s.CheckToken(toSymbol), EParserError);
  EXPECT_EQ(s.NextToken(), '{');
  TMemoryStream bytes;
  s.HexToBinary(bytes);
  EXPECT_EQ(bytes.DataString(), "\x0a\xff\x10\x02");
  EXPECT_EQ(s.Token(), '}');
  EXPECT_EQ(s.NextToken(), toSymbol);
  EXPECT_EQ(s.CheckSymbolAndNext("END"), toEOF);

  TMemoryStream bad("{ 0g }");
  TLexAnalyser b(bad);
  TMemoryStream out;
  try {
    b.HexToBinary(out);
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_STREQ(e.what(), "Invalid binary value on line 1");
  }
}

TEST(LexAnalyser, Skipping) {
  TMemoryStream stream("a b ; c ; d");
  TLexAnalyser s(stream);
  s.SkipToToken(';');
  EXPECT_EQ(s.Token(), ';');
  EXPECT_EQ(s.SkipPastToken(';'), toSymbol);
  EXPECT_TRUE(s.TokenSymbolIs("c"));
  s.SkipToToken('?');  // stops at the end
  EXPECT_EQ(s.Token(), toEOF);
  EXPECT_THROW(s.CheckAndNext(';'), EParserError);
}

TEST(DelphiParser, Comments) {
  struct Case {
    const char* source;
    std::vector<Tok> tokens;
  } cases[] = {
      {"a { b\n c } d", {{toSymbol, "a", 1}, {toSymbol, "d", 2}}},
      {"a (* b\n\n *) d", {{toSymbol, "a", 1}, {toSymbol, "d", 3}}},
      {"a // b (* c\nd", {{toSymbol, "a", 1}, {toSymbol, "d", 2}}},
      {"{ { } x }", {{toSymbol, "x", 1}, {'}', "}", 1}}},  // no nesting
      {"(*) x *) y", {{toSymbol, "y", 1}}},               // "(*)" opens only
      {"(* note **) y", {{toSymbol, "y", 1}}},
      {"{ (* } x *)", {{toSymbol, "x", 1}, {'*', "*", 1}, {')', ")", 1}}},
      {"(a) / b", {{'(', "(", 1}, {toSymbol, "a", 1}, {')', ")", 1}, {'/', "/", 1}, {toSymbol, "b", 1}}},
      {"'{x}' {y}", {{toString, "{x}", 1}}},
      {"a { open\n to the end", {{toSymbol, "a", 1}}},
      {"a (* open", {{toSymbol, "a", 1}}},
      {"a //", {{toSymbol, "a", 1}}},
      {"{a}{b}//c\n(*d*)e", {{toSymbol, "e", 2}}},
  };
  for (auto& c : cases) EXPECT_EQ(Tokens<TDelphiParser>(c.source), c.tokens) << c.source;
}

TEST(DelphiParser, LongCommentsAcrossRefills) {
  // A comment spanning many fills counts its line feeds; a comment line of
  // any length is still one line of the buffer and must fit.
  std::string body;
  for (int i = 0; i < 2000; ++i) body += "comment line " + std::to_string(i) + "\n";
  auto toks = Tokens<TDelphiParser>("a {\n" + body + "} b (*\n" + body + "*) c");
  std::vector<Tok> expected = {{toSymbol, "a", 1}, {toSymbol, "b", 2002}, {toSymbol, "c", 4003}};
  EXPECT_EQ(toks, expected);
  EXPECT_EQ(ErrorOf<TDelphiParser>("{" + std::string(5000, 'c') + "}"), "Line too long on line 1");
}
