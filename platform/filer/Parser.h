// Tokenizer of the text form format: symbols, integers ("12", "-3", "$FF"),
// floats with an optional type suffix (s single, c currency, d date),
// strings made of quoted parts and #nn characters, and single characters.
// Blanks, line ends and "//" comments separate tokens. Errors are
// EParserError texts ending in " on line N".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Exception.h"

namespace vesper {

VESPER_EXCEPTION(EParserError, Exception)

enum : char { toEOF = 0, toSymbol = 1, toString = 2, toInteger = 3, toFloat = 4 };

class TParser {
 public:
  explicit TParser(std::string_view text);

  char Token() const { return token_; }
  char NextToken();
  int SourceLine() const { return tokenLine_; }

  // The symbol or number as written; for a string its ANSI bytes (#nn above
  // 255 keep their low byte; see TokenIsWide).
  const std::string& TokenString() const { return text_; }
  // A string holding a #nn above 255 is a wide string.
  bool TokenIsWide() const { return wide_; }
  const std::u16string& TokenWideString() const { return wideText_; }
  int64_t TokenInt() const;
  long double TokenFloat() const;
  char FloatType() const { return floatType_; }  // 0, 's', 'c' or 'd' (lower case)
  // A currency token ("12.5c") as its scaled value in units of 1/10000.
  int64_t TokenCurrency() const;
  bool TokenSymbolIs(std::string_view s) const;
  // A symbol with optional ".symbol" parts (a component reference).
  std::string TokenComponentIdent();

  void CheckToken(char t) const;
  void CheckTokenSymbol(std::string_view s) const;
  // After a '{' token: the hex pairs up to '}', which becomes the token.
  std::string HexToBinary();

  [[noreturn]] void Error(const std::string& message) const { ErrorAt(message, tokenLine_); }
  [[noreturn]] void ErrorAt(const std::string& message, int line) const;

 private:
  void SkipBlanks();
  void ScanString();
  void ScanNumber();
  bool AtEnd() const { return pos_ >= src_.size(); }
  char Peek(size_t ahead = 0) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0'; }

  std::string_view src_;
  size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  char token_ = toEOF;
  char floatType_ = 0;
  bool wide_ = false;
  std::string text_;
  std::u16string wideText_;
};

}  // namespace vesper
