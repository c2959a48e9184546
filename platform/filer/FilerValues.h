// The value encoding of component streams: a tag byte per value, integers
// little-endian, short texts as a length byte and the characters. The reader
// works on bytes in memory and checks every access against their end; its
// errors are EReadError texts naming what was wrong and the byte offset.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Exception.h"
#include "platform/Streams.h"

namespace vesper {

enum TValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaDouble = 21,
};

// Flags of the prefix byte (0xF0 | flags) in front of a component.
enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// A longer class name's length byte would read back as a prefix byte.
constexpr size_t kMaxClassNameLength = 239;

// The 10-byte extended format (64-bit mantissa with explicit integer bit,
// 15-bit exponent, sign), converted without losing bits.
void ExtendedToBytes(long double value, uint8_t out[10]);
long double BytesToExtended(const uint8_t in[10]);

// A float as the class library prints it: 15 significant digits, fixed
// notation for decimal exponents -4..14, else "1.5E-7" / "1E20"; "NAN",
// "INF", "-INF".
std::string FilerFloatToStr(long double value);

// The bytes from the stream's position to its end.
std::string ReadStreamRest(TStream& stream);

class TValueReader {
 public:
  // `base` is the offset of `data` in the whole input, for messages.
  explicit TValueReader(std::string_view data, size_t base = 0) : data_(data), base_(base) {}

  size_t Position() const { return pos_; }  // within `data`
  size_t Offset() const { return base_ + pos_; }
  size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }

  [[noreturn]] void Error(const std::string& what) const;  // at the current offset
  [[noreturn]] void ErrorAt(size_t position, const std::string& what) const;

  TValueType NextValue() const;  // peeks; an error at the end of the data
  TValueType ReadValue();
  void CheckValue(TValueType expected);
  bool EndOfList() const { return NextValue() == vaNull; }
  void ReadListEnd() { CheckValue(vaNull); }

  uint8_t ReadByte(const char* what);
  std::string ReadBytes(size_t count, const char* what);
  std::string ReadStr(const char* what);  // short text, no tag
  void ReadSignature();                   // "TPF0"
  // Optional 0xF0|flags byte, then the child position when ffChildPos.
  void ReadPrefix(uint8_t& flags, int32_t& position);

  int64_t ReadInteger();   // int8, int16, int32, int64
  long double ReadFloat(); // extended, single, double, date
  float ReadSingle();
  int64_t ReadCurrency();  // the scaled 64-bit value (units of 1/10000)
  double ReadDate();
  std::string ReadString();         // ANSI: string, long string, wide, UTF-8
  std::u16string ReadWideString();  // any text value as UTF-16
  bool ReadBoolean();
  std::string ReadIdent();  // ident, False, True, nil, Null
  std::string ReadBinary(); // the bytes of a binary value

 private:
  template <class T>
  T ReadLE(const char* what);
  size_t CheckedCount(uint64_t count, size_t unit, const char* what);

  std::string_view data_;
  size_t base_ = 0;
  size_t pos_ = 0;
};

// Appends values to a byte string.
class TValueWriter {
 public:
  explicit TValueWriter(std::string& out) : out_(out) {}

  void WriteValue(TValueType v) { out_.push_back(char(v)); }
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteSignature() { out_ += "TPF0"; }
  void WritePrefix(uint8_t flags, int32_t position);
  void WriteStr(std::string_view s);  // short text; EWriteError above 255 bytes
  // Class and component name of a component; EWriteError for a class name
  // above kMaxClassNameLength.
  void WriteHeaderNames(std::string_view className, std::string_view objectName);

  void WriteInteger(int64_t v);  // the smallest of int8, int16, int32, int64
  void WriteFloat(long double v);
  void WriteSingle(float v);
  void WriteCurrency(int64_t scaled);
  void WriteDate(double v);
  void WriteString(std::string_view s);  // string up to 255 bytes, else long string
  void WriteWideString(std::u16string_view s);
  void WriteBoolean(bool v) { WriteValue(v ? vaTrue : vaFalse); }
  // False, True, nil and Null (any case) get their own tags.
  void WriteIdent(std::string_view ident);
  void WriteBinary(std::string_view bytes);

  void WriteRaw(std::string_view bytes) { out_ += bytes; }
  void WriteLE(uint64_t v, int bytes);

 private:
  void WriteLength(size_t n);  // 4 bytes; EWriteError above 4 GB

  std::string& out_;
};

}  // namespace vesper
