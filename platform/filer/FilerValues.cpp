#include "platform/filer/FilerValues.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"

namespace vesper {

// long double is the x87 80-bit format here, so the 10 bytes are its
// little-endian image and a copy keeps every bit (NaN payloads included).
static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384 && sizeof(long double) >= 10,
              "the filer needs the x87 extended format as long double");

void ExtendedToBytes(long double value, uint8_t out[10]) { std::memcpy(out, &value, 10); }

long double BytesToExtended(const uint8_t in[10]) {
  long double v = 0;
  std::memcpy(&v, in, 10);
  return v;
}

std::string FilerFloatToStr(long double value) {
  // The text form always uses '.', whatever the locale settings say.
  struct SeparatorScope {
    char saved = DecimalSeparator;
    SeparatorScope() { DecimalSeparator = '.'; }
    ~SeparatorScope() { DecimalSeparator = saved; }
  } scope;
  return FloatToStr(value);
}

// ---------------------------------------------------------------- reader

std::string ReadStreamRest(TStream& stream) {
  int64_t left = stream.Size() - stream.Position();
  return left > 0 ? stream.ReadString(size_t(left)) : std::string();
}

void TValueReader::Error(const std::string& what) const { ErrorAt(pos_, what); }

void TValueReader::ErrorAt(size_t position, const std::string& what) const {
  throw EReadError("Stream read error at offset " + std::to_string(base_ + position) + ": " + what);
}

TValueType TValueReader::NextValue() const {
  if (AtEnd()) Error("value expected, the stream ends");
  return TValueType(uint8_t(data_[pos_]));
}

TValueType TValueReader::ReadValue() {
  TValueType v = NextValue();
  ++pos_;
  return v;
}

void TValueReader::CheckValue(TValueType expected) {
  size_t at = pos_;
  TValueType v = ReadValue();
  if (v != expected)
    ErrorAt(at, "value type " + std::to_string(expected) + " expected, found " + std::to_string(v));
}

uint8_t TValueReader::ReadByte(const char* what) {
  if (AtEnd()) Error(std::string(what) + " expected, the stream ends");
  return uint8_t(data_[pos_++]);
}

std::string TValueReader::ReadBytes(size_t count, const char* what) {
  if (count > Remaining())
    Error(std::string(what) + " of " + std::to_string(count) + " bytes runs past the end");
  std::string s(data_.substr(pos_, count));
  pos_ += count;
  return s;
}

size_t TValueReader::CheckedCount(uint64_t count, size_t unit, const char* what) {
  if (count > Remaining() / unit)
    Error(std::string(what) + " of " + std::to_string(count) + " units runs past the end");
  return size_t(count);
}

template <class T>
T TValueReader::ReadLE(const char* what) {
  std::string b = ReadBytes(sizeof(T), what);
  uint64_t v = 0;
  for (size_t i = sizeof(T); i-- > 0;) v = (v << 8) | uint8_t(b[i]);
  T result;
  if constexpr (sizeof(T) == 8) {
    std::memcpy(&result, &v, 8);
  } else {
    using U = std::conditional_t<sizeof(T) == 1, uint8_t, std::conditional_t<sizeof(T) == 2, uint16_t, uint32_t>>;
    U u = U(v);
    std::memcpy(&result, &u, sizeof(T));
  }
  return result;
}

std::string TValueReader::ReadStr(const char* what) {
  uint8_t len = ReadByte(what);
  return ReadBytes(len, what);
}

void TValueReader::ReadSignature() {
  if (Remaining() < 4 || data_.substr(pos_, 4) != "TPF0") Error("signature \"TPF0\" expected");
  pos_ += 4;
}

void TValueReader::ReadPrefix(uint8_t& flags, int32_t& position) {
  flags = 0;
  position = -1;
  if (AtEnd() || (uint8_t(data_[pos_]) & 0xF0) != 0xF0) return;
  flags = uint8_t(data_[pos_++]) & 0x0F;
  if (flags & ffChildPos) {
    size_t at = pos_;
    int64_t p = ReadInteger();
    if (p < INT32_MIN || p > INT32_MAX) ErrorAt(at, "child position out of range");
    position = int32_t(p);
  }
}

int64_t TValueReader::ReadInteger() {
  size_t at = pos_;
  switch (ReadValue()) {
    case vaInt8: return ReadLE<int8_t>("integer");
    case vaInt16: return ReadLE<int16_t>("integer");
    case vaInt32: return ReadLE<int32_t>("integer");
    case vaInt64: return ReadLE<int64_t>("integer");
    default: ErrorAt(at, "integer value expected");
  }
}

long double TValueReader::ReadFloat() {
  switch (NextValue()) {
    case vaExtended: {
      ++pos_;
      std::string b = ReadBytes(10, "float");
      return BytesToExtended(reinterpret_cast<const uint8_t*>(b.data()));
    }
    case vaSingle: return ReadSingle();
    case vaDouble: ++pos_; return ReadLE<double>("float");
    case vaDate: return ReadDate();
    case vaInt8: case vaInt16: case vaInt32: case vaInt64: return (long double)ReadInteger();
    default: Error("float value expected");
  }
}

float TValueReader::ReadSingle() {
  CheckValue(vaSingle);
  return ReadLE<float>("single");
}

int64_t TValueReader::ReadCurrency() {
  CheckValue(vaCurrency);
  return ReadLE<int64_t>("currency");
}

double TValueReader::ReadDate() {
  CheckValue(vaDate);
  return ReadLE<double>("date");
}

std::string TValueReader::ReadString() {
  switch (NextValue()) {
    case vaString: ++pos_; return ReadStr("string");
    case vaLString: {
      ++pos_;
      size_t n = CheckedCount(ReadLE<uint32_t>("string length"), 1, "string");
      return ReadBytes(n, "string");
    }
    case vaWString: return Utf16ToAnsi(ReadWideString());
    case vaUTF8String: {
      ++pos_;
      size_t n = CheckedCount(ReadLE<uint32_t>("string length"), 1, "string");
      return Utf8ToAnsi(ReadBytes(n, "string"));
    }
    default: Error("string value expected");
  }
}

std::u16string TValueReader::ReadWideString() {
  switch (NextValue()) {
    case vaWString: {
      ++pos_;
      size_t n = CheckedCount(ReadLE<uint32_t>("string length"), 2, "wide string");
      std::string b = ReadBytes(n * 2, "wide string");
      std::u16string s(n, u'\0');
      for (size_t i = 0; i < n; ++i) s[i] = char16_t(uint8_t(b[2 * i]) | (uint8_t(b[2 * i + 1]) << 8));
      return s;
    }
    case vaUTF8String: {
      ++pos_;
      size_t n = CheckedCount(ReadLE<uint32_t>("string length"), 1, "string");
      return Utf8ToUtf16(ReadBytes(n, "string"));
    }
    default: return AnsiToUtf16(ReadString());
  }
}

bool TValueReader::ReadBoolean() {
  size_t at = pos_;
  TValueType v = ReadValue();
  if (v != vaFalse && v != vaTrue) ErrorAt(at, "Boolean value expected");
  return v == vaTrue;
}

std::string TValueReader::ReadIdent() {
  size_t at = pos_;
  switch (ReadValue()) {
    case vaIdent: return ReadStr("identifier");
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: ErrorAt(at, "identifier expected");
  }
}

std::string TValueReader::ReadBinary() {
  CheckValue(vaBinary);
  size_t n = CheckedCount(ReadLE<uint32_t>("binary length"), 1, "binary data");
  return ReadBytes(n, "binary data");
}

// ---------------------------------------------------------------- writer

void TValueWriter::WriteLE(uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out_.push_back(char(uint8_t(v >> (8 * i))));
}

void TValueWriter::WriteLength(size_t n) {
  if (n > UINT32_MAX) throw EWriteError("Value too large to store: " + std::to_string(n) + " bytes");
  WriteLE(n, 4);
}

void TValueWriter::WritePrefix(uint8_t flags, int32_t position) {
  if (flags == 0) return;
  out_.push_back(char(0xF0 | (flags & 0x0F)));
  if (flags & ffChildPos) WriteInteger(position);
}

void TValueWriter::WriteStr(std::string_view s) {
  if (s.size() > 255) throw EWriteError("Name too long to store: " + std::string(s.substr(0, 40)) + "...");
  out_.push_back(char(uint8_t(s.size())));
  out_ += s;
}

void TValueWriter::WriteHeaderNames(std::string_view className, std::string_view objectName) {
  if (className.size() > kMaxClassNameLength)
    throw EWriteError("Class name longer than " + std::to_string(kMaxClassNameLength) + " characters");
  WriteStr(className);
  WriteStr(objectName);
}

void TValueWriter::WriteInteger(int64_t v) {
  if (v >= INT8_MIN && v <= INT8_MAX) {
    WriteValue(vaInt8);
    WriteLE(uint64_t(v), 1);
  } else if (v >= INT16_MIN && v <= INT16_MAX) {
    WriteValue(vaInt16);
    WriteLE(uint64_t(v), 2);
  } else if (v >= INT32_MIN && v <= INT32_MAX) {
    WriteValue(vaInt32);
    WriteLE(uint64_t(v), 4);
  } else {
    WriteValue(vaInt64);
    WriteLE(uint64_t(v), 8);
  }
}

void TValueWriter::WriteFloat(long double v) {
  WriteValue(vaExtended);
  uint8_t b[10];
  ExtendedToBytes(v, b);
  out_.append(reinterpret_cast<const char*>(b), 10);
}

void TValueWriter::WriteSingle(float v) {
  WriteValue(vaSingle);
  uint32_t u;
  std::memcpy(&u, &v, 4);
  WriteLE(u, 4);
}

void TValueWriter::WriteCurrency(int64_t scaled) {
  WriteValue(vaCurrency);
  WriteLE(uint64_t(scaled), 8);
}

void TValueWriter::WriteDate(double v) {
  WriteValue(vaDate);
  uint64_t u;
  std::memcpy(&u, &v, 8);
  WriteLE(u, 8);
}

void TValueWriter::WriteString(std::string_view s) {
  if (s.size() <= 255) {
    WriteValue(vaString);
    out_.push_back(char(uint8_t(s.size())));
  } else {
    WriteValue(vaLString);
    WriteLength(s.size());
  }
  out_ += s;
}

void TValueWriter::WriteWideString(std::u16string_view s) {
  WriteValue(vaWString);
  WriteLength(s.size());
  for (char16_t c : s) WriteLE(c, 2);
}

void TValueWriter::WriteIdent(std::string_view ident) {
  if (SameText(ident, "False")) {
    WriteValue(vaFalse);
  } else if (SameText(ident, "True")) {
    WriteValue(vaTrue);
  } else if (SameText(ident, "nil")) {
    WriteValue(vaNil);
  } else if (SameText(ident, "Null")) {
    WriteValue(vaNull);
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TValueWriter::WriteBinary(std::string_view bytes) {
  WriteValue(vaBinary);
  WriteLength(bytes.size());
  out_ += bytes;
}

}  // namespace vesper
