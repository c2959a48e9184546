// Buffered token scanner over a byte stream. The stream is read 4096 bytes
// at a time; the usable text of each fill ends after its last complete line,
// so a token never straddles a refill.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Exception.h"
#include "platform/Streams.h"

namespace vesper {

// Raised by the scanner; the message names the line.
VESPER_EXCEPTION(EParserError, Exception)

// Token kinds. Any other byte value is a one-character token of itself.
constexpr char toEOF = 0;
constexpr char toSymbol = 1;
constexpr char toString = 2;
constexpr char toInteger = 3;
constexpr char toFloat = 4;

// Message numbers of the scanner's errors.
enum TLexMessage {
  lmLineTooLong,
  lmInvalidString,
  lmIdentifierExpected,
  lmStringExpected,
  lmNumberExpected,
  lmInvalidBinary,
};

class TLexAnalyser {
 public:
  static constexpr size_t kBufSize = 4096;
  // Maximum length of a token's text.
  static constexpr size_t kMaxTokenText = 255;

  // Reads the first token.
  explicit TLexAnalyser(TStream& stream);
  virtual ~TLexAnalyser();
  TLexAnalyser(const TLexAnalyser&) = delete;
  TLexAnalyser& operator=(const TLexAnalyser&) = delete;

  // Skips bytes of value 32 or less, counting line feeds.
  virtual void SkipBlanks();
  // Raises "<kind> expected" unless the current token is of kind `t`.
  virtual void CheckToken(char t);
  [[noreturn]] virtual void ErrorRes(TLexMessage ident);
  // Raises EParserError "<message> on line <n>".
  [[noreturn]] virtual void Error(const std::string& message);
  // Decodes pairs of hexadecimal digits up to '}' into `stream`, then takes
  // the next token.
  virtual void HexToBinary(TStream& stream);
  virtual char NextToken();
  // Offset in the stream of the current token.
  virtual int64_t SourcePos();
  virtual double TokenFloat();
  virtual int32_t TokenInt();
  // The current token's text (a string's decoded contents), at most 255 bytes.
  virtual std::string TokenString();
  // The current token is a symbol equal to `s` ignoring case.
  virtual bool TokenSymbolIs(std::string_view s);
  // SkipToToken(t), then NextToken().
  virtual char SkipPastToken(char t);
  // Takes tokens until one of kind `t` (or the end of the file) is current.
  virtual void SkipToToken(char t);
  // CheckToken(t), then NextToken().
  virtual char CheckAndNext(char t);
  // Raises "<s> expected" unless TokenSymbolIs(s), then NextToken().
  virtual char CheckSymbolAndNext(std::string_view s);
  // The current token's text equals `s` ignoring case, whatever its kind.
  virtual bool TokenStringIs(std::string_view s);

  char Token() const { return token_; }
  int SourceLine() const { return line_; }

 protected:
  struct DeferFirstToken {};
  // For subclasses whose SkipBlanks differs: they read the first token in
  // their own constructor.
  TLexAnalyser(TStream& stream, DeferFirstToken);

  // Byte at the current position; NUL at the end of the usable text.
  char Peek(size_t ahead = 0) const { return buffer_[pos_ + ahead]; }
  // True when the current position is the end of the usable text.
  bool AtSourceEnd() const { return pos_ == sourceEnd_; }
  void Advance() { ++pos_; }
  void CountLine() { ++line_; }
  // Moves the unread text to the buffer start and reads more. Afterwards
  // AtSourceEnd() holds only at the end of the stream.
  void ReadBuffer();

 private:
  void ReadString();
  void ReadNumber();
  void ReadHexNumber();
  void ReadSymbol();
  [[noreturn]] void AbortScan(const std::string& message);
  // Calls Error, which raises.
  [[noreturn]] void Raise(const std::string& message);
  std::string LineMessage(const std::string& message) const;

  TStream& stream_;
  std::unique_ptr<char[]> buffer_;  // kBufSize bytes of text and a NUL
  size_t fill_ = 0;        // bytes read into the buffer
  size_t sourceEnd_ = 0;   // end of the usable text (holds a NUL)
  size_t pos_ = 0;         // current position
  size_t tokenStart_ = 0;  // start of the current token
  char saveChar_ = 0;      // byte replaced by the NUL at sourceEnd_
  bool eof_ = false;       // the stream has no more bytes
  int64_t origin_ = 0;     // stream bytes before the buffer
  int line_ = 1;
  char token_ = toEOF;
  std::string stringValue_;  // decoded text of a string token
};

}  // namespace vesper
