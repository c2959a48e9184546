#include "platform/filer/Parser.h"

#include <locale.h>

#include <cmath>
#include <cstdlib>

#include "platform/CodePage.h"
#include "platform/StrUtils.h"

namespace vesper {

namespace {

bool IsSymbolStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsSymbolChar(char c) { return IsSymbolStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Decimal text to long double, independent of the process locale.
bool ParseLongDouble(const std::string& s, long double& v) {
  static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
  if (s.empty()) return false;
  char* end = nullptr;
  v = strtold_l(s.c_str(), &end, c);
  return end == s.c_str() + s.size();
}

}  // namespace

TParser::TParser(std::string_view text) : src_(text) {
  if (src_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  NextToken();
}

void TParser::ErrorAt(const std::string& message, int line) const {
  throw EParserError(message + " on line " + std::to_string(line));
}

void TParser::SkipBlanks() {
  while (!AtEnd()) {
    char c = src_[pos_];
    if (c == '\n') {
      ++line_;
    } else if (c == '/' && Peek(1) == '/') {
      while (!AtEnd() && src_[pos_] != '\n') ++pos_;
      continue;
    } else if (uint8_t(c) > ' ') {
      return;
    }
    ++pos_;
  }
}

char TParser::NextToken() {
  SkipBlanks();
  tokenLine_ = line_;
  text_.clear();
  wideText_.clear();
  wide_ = false;
  floatType_ = 0;
  if (AtEnd()) return token_ = toEOF;
  char c = src_[pos_];
  if (IsSymbolStart(c)) {
    size_t start = pos_;
    while (!AtEnd() && IsSymbolChar(src_[pos_])) ++pos_;
    text_ = std::string(src_.substr(start, pos_ - start));
    return token_ = toSymbol;
  }
  if (c == '\'' || c == '#') {
    ScanString();
    return token_ = toString;
  }
  if (c == '$' || c == '-' || IsDigit(c)) {
    ScanNumber();
    return token_;
  }
  ++pos_;
  text_ = std::string(1, c);
  return token_ = c;
}

void TParser::ScanString() {
  std::string run;  // a quoted part, kept to convert it to UTF-16 whole
  while (!AtEnd()) {
    char c = src_[pos_];
    if (c == '#') {
      ++pos_;
      uint32_t code = 0;
      size_t digits = 0;
      bool hex = Peek() == '$';
      if (hex) ++pos_;
      for (int d; !AtEnd() && (d = hex ? HexValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1)) >= 0; ++pos_) {
        code = code * (hex ? 16 : 10) + uint32_t(d);
        if (code > 0xFFFF) Error("Invalid string constant");
        ++digits;
      }
      if (digits == 0) Error("Invalid string constant");
      if (code > 255) wide_ = true;
      text_.push_back(char(uint8_t(code)));
      wideText_.push_back(char16_t(code));
    } else if (c == '\'') {
      ++pos_;
      run.clear();
      for (;;) {
        if (AtEnd() || src_[pos_] == '\r' || src_[pos_] == '\n') Error("Unterminated string");
        if (src_[pos_] == '\'') {
          if (Peek(1) != '\'') break;
          ++pos_;
        }
        run.push_back(src_[pos_++]);
      }
      ++pos_;
      text_ += run;
      wideText_ += AnsiToUtf16(run);
    } else {
      break;
    }
  }
}

void TParser::ScanNumber() {
  size_t start = pos_;
  token_ = toInteger;
  if (src_[pos_] == '$') {
    ++pos_;
    while (!AtEnd() && HexValue(src_[pos_]) >= 0) ++pos_;
  } else {
    if (src_.substr(pos_, 4) == "-INF") {
      // Negative infinity as floats print it; "INF" and "NAN" alone stay identifiers.
      pos_ += 4;
      token_ = toFloat;
    } else {
      ++pos_;
      while (!AtEnd() && IsDigit(src_[pos_])) ++pos_;
      for (char c; !AtEnd() && (IsDigit(c = src_[pos_]) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-');
           ++pos_)
        token_ = toFloat;
    }
    char s = LoCase(Peek());
    if (s == 's' || s == 'c' || s == 'd') {
      floatType_ = s;
      token_ = toFloat;
      ++pos_;
    }
  }
  text_ = std::string(src_.substr(start, pos_ - start));
}

int64_t TParser::TokenInt() const {
  int32_t v32;
  if (TryStrToInt(text_, v32)) return v32;
  int64_t v;
  if (!TryStrToInt64(text_, v)) Error("'" + text_ + "' is not a valid integer value");
  return v;
}

long double TParser::TokenFloat() const {
  std::string s = floatType_ ? text_.substr(0, text_.size() - 1) : text_;
  long double v;
  if (!ParseLongDouble(s, v)) Error("'" + s + "' is not a valid floating point value");
  return v;
}

int64_t TParser::TokenCurrency() const {
  std::string s = text_.substr(0, text_.size() - 1);
  int64_t v;
  if (TryStrToInt64(s, v)) return v;  // exact for whole numbers
  long double f = TokenFloat();
  if (!(std::fabs(f) < 9.2233720368547758e18L)) Error("Currency value out of range: " + s);
  return std::llrintl(f);  // halves to even, as the FPU rounds
}

bool TParser::TokenSymbolIs(std::string_view s) const { return token_ == toSymbol && SameText(s, text_); }

std::string TParser::TokenComponentIdent() {
  CheckToken(toSymbol);
  std::string ident = text_;
  while (Peek() == '.' && IsSymbolStart(Peek(1))) {
    ++pos_;
    NextToken();
    ident += "." + text_;
  }
  return ident;
}

void TParser::CheckToken(char t) const {
  if (token_ == t) return;
  switch (t) {
    case toSymbol: Error("Identifier expected");
    case toString: Error("String expected");
    case toInteger: case toFloat: Error("Number expected");
    default: Error(std::string("'") + t + "' expected");
  }
}

void TParser::CheckTokenSymbol(std::string_view s) const {
  if (!TokenSymbolIs(s)) Error(std::string(s) + " expected");
}

std::string TParser::HexToBinary() {
  std::string bytes;
  for (;;) {
    SkipBlanks();
    tokenLine_ = line_;
    if (AtEnd()) Error("Invalid binary value");
    if (src_[pos_] == '}') break;
    int hi = HexValue(src_[pos_]);
    int lo = HexValue(Peek(1));
    if (hi < 0 || lo < 0) Error("Invalid binary value");
    bytes.push_back(char(hi * 16 + lo));
    pos_ += 2;
  }
  NextToken();
  return bytes;
}

}  // namespace vesper
