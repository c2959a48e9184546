#include "wizards/funcproc/core/LexAnalyser.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/Format.h"
#include "platform/StrUtils.h"

namespace vesper {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsLetter(c) || IsDigit(c); }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsFloatChar(char c) { return IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}

const char* MessageText(TLexMessage ident) {
  switch (ident) {
    case lmLineTooLong: return "Line too long";
    case lmInvalidString: return "Invalid string constant";
    case lmIdentifierExpected: return "Identifier expected";
    case lmStringExpected: return "String expected";
    case lmNumberExpected: return "Number expected";
    case lmInvalidBinary: return "Invalid binary value";
  }
  return "Parse error";
}

}  // namespace

TLexAnalyser::TLexAnalyser(TStream& stream) : TLexAnalyser(stream, DeferFirstToken{}) {
  NextToken();
}

TLexAnalyser::TLexAnalyser(TStream& stream, DeferFirstToken)
    : stream_(stream), buffer_(new char[kBufSize + 1]) {
  buffer_[0] = 0;
}

TLexAnalyser::~TLexAnalyser() = default;

void TLexAnalyser::ReadBuffer() {
  origin_ += int64_t(pos_);
  buffer_[sourceEnd_] = saveChar_;
  size_t count = fill_ - pos_;
  if (count != 0) std::memmove(buffer_.get(), buffer_.get() + pos_, count);
  fill_ = count;
  pos_ = tokenStart_ = 0;
  while (!eof_ && fill_ < kBufSize) {
    size_t n = stream_.Read(buffer_.get() + fill_, kBufSize - fill_);
    if (n == 0) eof_ = true;
    fill_ += n;
  }
  sourceEnd_ = fill_;
  if (fill_ == kBufSize) {
    // Cut after the last complete line; the rest waits for the next fill.
    const void* lf = memrchr(buffer_.get(), '\n', fill_);
    if (!lf) AbortScan(MessageText(lmLineTooLong));
    sourceEnd_ = size_t(static_cast<const char*>(lf) - buffer_.get()) + 1;
  }
  saveChar_ = buffer_[sourceEnd_];
  buffer_[sourceEnd_] = 0;
}

void TLexAnalyser::AbortScan(const std::string& message) {
  // Leave an empty text behind so that any later call sees the end.
  fill_ = sourceEnd_ = pos_ = tokenStart_ = 0;
  buffer_[0] = 0;
  saveChar_ = 0;
  eof_ = true;
  token_ = toEOF;
  Raise(message);
}

void TLexAnalyser::Raise(const std::string& message) {
  Error(message);
  // Error never returns; this only guards an override that would.
  throw EParserError(LineMessage(message));
}

void TLexAnalyser::SkipBlanks() {
  for (;;) {
    unsigned char c = static_cast<unsigned char>(Peek());
    if (c == 0 && AtSourceEnd()) {
      ReadBuffer();
      if (AtSourceEnd()) return;
      continue;
    }
    if (c > ' ') return;
    if (c == '\n') CountLine();
    Advance();
  }
}

void TLexAnalyser::CheckToken(char t) {
  if (token_ == t) return;
  switch (t) {
    case toSymbol: Raise(MessageText(lmIdentifierExpected));
    case toString: Raise(MessageText(lmStringExpected));
    case toInteger:
    case toFloat: Raise(MessageText(lmNumberExpected));
    case toEOF: Raise("End of file expected");
    default: Raise(Format("'%s' expected", {std::string(1, t)}));
  }
}

void TLexAnalyser::ErrorRes(TLexMessage ident) { Raise(MessageText(ident)); }

void TLexAnalyser::Error(const std::string& message) {
  throw EParserError(LineMessage(message));
}

std::string TLexAnalyser::LineMessage(const std::string& message) const {
  return Format("%s on line %d", {message, line_});
}

void TLexAnalyser::HexToBinary(TStream& stream) {
  SkipBlanks();
  while (Peek() != '}') {
    std::string bytes;
    while (IsHexDigit(Peek()) && IsHexDigit(Peek(1))) {
      bytes.push_back(char(HexValue(Peek()) * 16 + HexValue(Peek(1))));
      pos_ += 2;
    }
    if (bytes.empty()) ErrorRes(lmInvalidBinary);
    stream.WriteBuffer(bytes.data(), bytes.size());
    SkipBlanks();
  }
  NextToken();
}

char TLexAnalyser::NextToken() {
  SkipBlanks();
  tokenStart_ = pos_;
  char c = Peek();
  if (c == '#' || c == '\'') {
    ReadString();
  } else if (c == '$') {
    ReadHexNumber();
  } else if (c == '-' || IsDigit(c)) {
    ReadNumber();
  } else if (IsLetter(c)) {
    ReadSymbol();
  } else if (c == 0 && AtSourceEnd()) {
    token_ = toEOF;
  } else {
    Advance();
    token_ = c;
  }
  return token_;
}

void TLexAnalyser::ReadString() {
  stringValue_.clear();
  for (;;) {
    char c = Peek();
    if (c == '#') {
      Advance();
      unsigned code = 0;  // wraps; only the low byte counts
      while (IsDigit(Peek())) {
        code = code * 10 + unsigned(Peek() - '0');
        Advance();
      }
      stringValue_.push_back(char(code & 0xFF));
    } else if (c == '\'') {
      Advance();
      for (;;) {
        c = Peek();
        if (c == '\r' || c == '\n' || (c == 0 && AtSourceEnd())) ErrorRes(lmInvalidString);
        Advance();
        if (c == '\'') {
          if (Peek() != '\'') break;
          Advance();
        }
        stringValue_.push_back(c);
      }
    } else {
      break;
    }
  }
  token_ = toString;
}

void TLexAnalyser::ReadHexNumber() {
  Advance();
  while (IsHexDigit(Peek())) Advance();
  token_ = toInteger;
}

void TLexAnalyser::ReadNumber() {
  Advance();
  while (IsDigit(Peek())) Advance();
  token_ = toInteger;
  while (IsFloatChar(Peek())) {
    Advance();
    token_ = toFloat;
  }
}

void TLexAnalyser::ReadSymbol() {
  Advance();
  while (IsIdentChar(Peek())) Advance();
  token_ = toSymbol;
}

int64_t TLexAnalyser::SourcePos() { return origin_ + int64_t(tokenStart_); }

double TLexAnalyser::TokenFloat() {
  std::string text = TokenString();
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size())
    throw EConvertError("'" + text + "' is not a valid floating point value");
  return v;
}

int32_t TLexAnalyser::TokenInt() { return StrToInt(TokenString()); }

std::string TLexAnalyser::TokenString() {
  if (token_ == toString) return stringValue_.substr(0, kMaxTokenText);
  size_t len = std::min(pos_ - tokenStart_, kMaxTokenText);
  return std::string(buffer_.get() + tokenStart_, len);
}

bool TLexAnalyser::TokenSymbolIs(std::string_view s) {
  return token_ == toSymbol && TokenStringIs(s);
}

char TLexAnalyser::SkipPastToken(char t) {
  SkipToToken(t);
  return NextToken();
}

void TLexAnalyser::SkipToToken(char t) {
  while (token_ != t && token_ != toEOF) NextToken();
}

char TLexAnalyser::CheckAndNext(char t) {
  CheckToken(t);
  return NextToken();
}

char TLexAnalyser::CheckSymbolAndNext(std::string_view s) {
  if (!TokenSymbolIs(s)) Error(Format("%s expected", {s}));
  return NextToken();
}

bool TLexAnalyser::TokenStringIs(std::string_view s) {
  if (token_ == toString) return SameText(TokenString(), s);
  // Compare in place: most tokens are short and most comparisons fail.
  size_t len = std::min(pos_ - tokenStart_, kMaxTokenText);
  return SameText(std::string_view(buffer_.get() + tokenStart_, len), s);
}

}  // namespace vesper
