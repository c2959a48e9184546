#include "platform/filer/FormConverter.h"

#include "platform/StrUtils.h"
#include "platform/filer/FilerValues.h"
#include "platform/filer/Parser.h"

namespace vesper {

namespace {

// Objects, lists and collections nest at most this deep.
constexpr int kMaxDepth = 500;
// Strings are cut into quoted runs of at most this many characters per line.
constexpr size_t kLineLength = 64;
constexpr size_t kBytesPerLine = 32;

class TBinaryToText {
 public:
  TBinaryToText(TValueReader& reader, std::string& out) : r_(reader), out_(out) {}

  void ConvertObject() {
    Enter();
    ConvertHeader();
    ++nesting_;
    while (!r_.EndOfList()) ConvertProperty();
    r_.ReadListEnd();
    while (!r_.EndOfList()) ConvertObject();
    r_.ReadListEnd();
    --nesting_;
    Indent();
    out_ += "end\r\n";
    --depth_;
  }

 private:
  void Enter() {
    if (++depth_ > kMaxDepth) r_.Error("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
  }
  void Indent() { out_.append(size_t(nesting_) * 2, ' '); }
  void NewLine() {
    out_ += "\r\n";
    Indent();
  }

  void ConvertHeader() {
    uint8_t flags;
    int32_t position;
    r_.ReadPrefix(flags, position);
    std::string className = r_.ReadStr("class name");
    std::string objectName = r_.ReadStr("component name");
    Indent();
    out_ += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
    if (!objectName.empty()) out_ += objectName + ": ";
    out_ += className;
    if (flags & ffChildPos) out_ += " [" + std::to_string(position) + "]";
    out_ += "\r\n";
  }

  void ConvertProperty() {
    Indent();
    out_ += r_.ReadStr("property name");
    out_ += " = ";
    ConvertValue();
    out_ += "\r\n";
  }

  void ConvertValue() {
    switch (r_.NextValue()) {
      case vaList: ConvertList(); break;
      case vaInt8: case vaInt16: case vaInt32: case vaInt64: out_ += std::to_string(r_.ReadInteger()); break;
      case vaExtended: case vaDouble: out_ += FilerFloatToStr(r_.ReadFloat()); break;
      case vaSingle: out_ += FilerFloatToStr(r_.ReadSingle()) + "s"; break;
      case vaCurrency: out_ += std::to_string(r_.ReadCurrency()) + "c"; break;
      case vaDate: out_ += FilerFloatToStr(r_.ReadDate()) + "d"; break;
      case vaString: case vaLString: ConvertText(r_.ReadString(), false); break;
      case vaWString: case vaUTF8String: ConvertText(r_.ReadWideString(), true); break;
      case vaIdent: case vaFalse: case vaTrue: case vaNil: case vaNull: out_ += r_.ReadIdent(); break;
      case vaBinary: ConvertBinary(); break;
      case vaSet: ConvertSet(); break;
      case vaCollection: ConvertCollection(); break;
      default: r_.Error("unknown value type " + std::to_string(r_.NextValue()));
    }
  }

  void ConvertList() {
    Enter();
    r_.ReadValue();
    out_ += '(';
    ++nesting_;
    while (!r_.EndOfList()) {
      NewLine();
      ConvertValue();
    }
    r_.ReadListEnd();
    --nesting_;
    out_ += ')';
    --depth_;
  }

  // Quoted runs of printable characters and #nn for the others, wrapped
  // after kLineLength characters with " +" and a new line.
  template <class Str>
  void ConvertText(const Str& s, bool wide) {
    size_t len = s.size();
    if (len == 0) {
      out_ += "''";
      return;
    }
    auto code = [&](size_t i) { return uint32_t(std::make_unsigned_t<typename Str::value_type>(s[i])); };
    auto plain = [&](size_t i) { return code(i) >= ' ' && code(i) != '\'' && (!wide || code(i) <= 127); };
    ++nesting_;
    if (len > kLineLength) NewLine();
    size_t i = 0, k = 0;
    do {
      bool lineBreak = false;
      if (plain(i)) {
        size_t j = i;
        do ++i; while (i < len && plain(i) && i - k < kLineLength);
        lineBreak = i - k >= kLineLength;
        out_ += '\'';
        for (; j < i; ++j) out_.push_back(char(code(j)));
        out_ += '\'';
      } else {
        out_ += '#' + std::to_string(code(i));
        ++i;
        lineBreak = i - k >= kLineLength;
      }
      if (lineBreak && i < len) {
        out_ += " +";
        NewLine();
        k = i;
      }
    } while (i < len);
    --nesting_;
  }

  void ConvertBinary() {
    static const char kHex[] = "0123456789ABCDEF";
    std::string bytes = r_.ReadBinary();
    out_ += '{';
    ++nesting_;
    bool multiLine = bytes.size() >= kBytesPerLine;
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (multiLine && i % kBytesPerLine == 0) NewLine();
      out_ += kHex[uint8_t(bytes[i]) >> 4];
      out_ += kHex[uint8_t(bytes[i]) & 15];
    }
    --nesting_;
    out_ += '}';
  }

  void ConvertSet() {
    r_.ReadValue();
    out_ += '[';
    for (int i = 0;; ++i) {
      std::string element = r_.ReadStr("set element");
      if (element.empty()) break;
      if (i > 0) out_ += ", ";
      out_ += element;
    }
    out_ += ']';
  }

  void ConvertCollection() {
    Enter();
    r_.ReadValue();
    out_ += '<';
    ++nesting_;
    while (!r_.EndOfList()) {
      NewLine();
      out_ += "item";
      TValueType v = r_.NextValue();
      if (v == vaInt8 || v == vaInt16 || v == vaInt32) out_ += " [" + std::to_string(r_.ReadInteger()) + "]";
      out_ += "\r\n";
      r_.CheckValue(vaList);
      ++nesting_;
      while (!r_.EndOfList()) ConvertProperty();
      r_.ReadListEnd();
      --nesting_;
      Indent();
      out_ += "end";
    }
    r_.ReadListEnd();
    --nesting_;
    out_ += '>';
    --depth_;
  }

  TValueReader& r_;
  std::string& out_;
  int nesting_ = 0;
  int depth_ = 0;
};

class TTextToBinary {
 public:
  TTextToBinary(TParser& parser, std::string& out) : p_(parser), w_(out) {}

  void ConvertObject() {
    Enter();
    bool isInherited = p_.TokenSymbolIs("inherited");
    bool isInline = p_.TokenSymbolIs("inline");
    if (!isInherited && !isInline) p_.CheckTokenSymbol("object");
    p_.NextToken();
    ConvertHeader(isInherited, isInline);
    while (!p_.TokenSymbolIs("end") && !p_.TokenSymbolIs("object") && !p_.TokenSymbolIs("inherited") &&
           !p_.TokenSymbolIs("inline"))
      ConvertProperty();
    w_.WriteListEnd();
    while (!p_.TokenSymbolIs("end")) ConvertObject();
    w_.WriteListEnd();
    p_.NextToken();
    --depth_;
  }

 private:
  void Enter() {
    if (++depth_ > kMaxDepth) p_.Error("Nesting deeper than " + std::to_string(kMaxDepth) + " levels");
  }

  // The current symbol (or number, in sets), checked to fit a short text.
  std::string TakeName() {
    if (p_.Token() != toInteger) p_.CheckToken(toSymbol);
    if (p_.TokenString().size() > 255) p_.Error("Name longer than 255 characters");
    return p_.TokenString();
  }

  // "[n]" after a header or an item; -1 when absent.
  int64_t ConvertOrderModifier() {
    if (p_.Token() != '[') return -1;
    p_.NextToken();
    p_.CheckToken(toInteger);
    int64_t order = p_.TokenInt();
    if (order < 0 || order > INT32_MAX) p_.Error("Invalid order index");
    p_.NextToken();
    p_.CheckToken(']');
    p_.NextToken();
    return order;
  }

  void ConvertHeader(bool isInherited, bool isInline) {
    p_.CheckToken(toSymbol);
    std::string className = TakeName();
    int classLine = p_.SourceLine();
    std::string objectName;
    if (p_.NextToken() == ':') {
      p_.NextToken();
      p_.CheckToken(toSymbol);
      objectName = className;
      className = TakeName();
      classLine = p_.SourceLine();
      p_.NextToken();
    }
    int64_t position = ConvertOrderModifier();
    uint8_t flags = (isInherited ? ffInherited : 0) | (isInline ? ffInline : 0) | (position >= 0 ? ffChildPos : 0);
    w_.WritePrefix(flags, int32_t(position));
    if (className.size() > kMaxClassNameLength)
      p_.ErrorAt("Class name longer than " + std::to_string(kMaxClassNameLength) + " characters", classLine);
    w_.WriteHeaderNames(className, objectName);
  }

  void ConvertProperty() {
    p_.CheckToken(toSymbol);
    std::string name = p_.TokenString();
    p_.NextToken();
    while (p_.Token() == '.') {
      p_.NextToken();
      p_.CheckToken(toSymbol);
      name += "." + p_.TokenString();
      if (name.size() > 255) p_.Error("Name longer than 255 characters");
      p_.NextToken();
    }
    if (name.size() > 255) p_.Error("Name longer than 255 characters");
    w_.WriteStr(name);
    p_.CheckToken('=');
    p_.NextToken();
    ConvertValue();
  }

  void ConvertString() {
    std::string narrow = p_.TokenString();
    std::u16string wide = p_.TokenWideString();
    bool isWide = p_.TokenIsWide();
    while (p_.NextToken() == '+') {
      p_.NextToken();
      p_.CheckToken(toString);
      narrow += p_.TokenString();
      wide += p_.TokenWideString();
      isWide = isWide || p_.TokenIsWide();
    }
    if (isWide)
      w_.WriteWideString(wide);
    else
      w_.WriteString(narrow);
  }

  void ConvertFloat() {
    switch (p_.FloatType()) {
      case 's': w_.WriteSingle(float(p_.TokenFloat())); break;
      case 'c': w_.WriteCurrency(p_.TokenCurrency()); break;
      case 'd': w_.WriteDate(double(p_.TokenFloat())); break;
      default: w_.WriteFloat(p_.TokenFloat());
    }
  }

  void ConvertSet() {
    p_.NextToken();
    w_.WriteValue(vaSet);
    if (p_.Token() != ']') {
      for (;;) {
        w_.WriteStr(TakeName());
        if (p_.NextToken() == ']') break;
        p_.CheckToken(',');
        p_.NextToken();
      }
    }
    w_.WriteStr("");
  }

  void ConvertList() {
    Enter();
    p_.NextToken();
    w_.WriteListBegin();
    while (p_.Token() != ')') {
      // A Null item would be read back as the end of the list.
      if (p_.TokenSymbolIs("Null")) p_.Error("Null is not allowed in a list");
      ConvertValue();
    }
    w_.WriteListEnd();
    --depth_;
  }

  void ConvertCollection() {
    Enter();
    p_.NextToken();
    w_.WriteValue(vaCollection);
    while (p_.Token() != '>') {
      p_.CheckTokenSymbol("item");
      p_.NextToken();
      int64_t order = ConvertOrderModifier();
      if (order >= 0) w_.WriteInteger(order);
      w_.WriteListBegin();
      while (!p_.TokenSymbolIs("end")) ConvertProperty();
      w_.WriteListEnd();
      p_.NextToken();
    }
    w_.WriteListEnd();
    --depth_;
  }

  void ConvertValue() {
    if (p_.Token() == toString) {
      ConvertString();
      return;
    }
    switch (p_.Token()) {
      case toSymbol: w_.WriteIdent(p_.TokenComponentIdent()); break;
      case toInteger: w_.WriteInteger(p_.TokenInt()); break;
      case toFloat: ConvertFloat(); break;
      case '[': ConvertSet(); break;
      case '(': ConvertList(); break;
      case '{': w_.WriteBinary(p_.HexToBinary()); break;
      case '<': ConvertCollection(); break;
      default: p_.Error("Invalid property value");
    }
    p_.NextToken();
  }

  TParser& p_;
  TValueWriter w_;
  int depth_ = 0;
};

}  // namespace

TFormFileKind DetectFormFileKind(std::string_view data) {
  if (data.substr(0, 4) == "TPF0") return TFormFileKind::fkBinary;
  if (!data.empty() && uint8_t(data[0]) == 0xFF) return TFormFileKind::fkResource;
  return TFormFileKind::fkText;
}

static std::string BinaryToText(std::string_view binary, size_t base, size_t* consumed) {
  TValueReader reader(binary, base);
  std::string out;
  reader.ReadSignature();
  TBinaryToText(reader, out).ConvertObject();
  if (consumed) *consumed = reader.Position();
  return out;
}

std::string ObjectBinaryToText(std::string_view binary, size_t* consumed) {
  return BinaryToText(binary, 0, consumed);
}

std::string ObjectTextToBinary(std::string_view text) {
  TParser parser(text);
  std::string out;
  TValueWriter(out).WriteSignature();
  TTextToBinary(parser, out).ConvertObject();
  // Text after the root object would otherwise be dropped without a word.
  if (parser.Token() != toEOF) parser.Error("End of file expected");
  return out;
}

size_t ReadResHeader(std::string_view data) {
  auto fail = [](const std::string& what) -> size_t {
    throw EReadError("Stream read error at offset 0: " + what);
  };
  if (data.size() < 3 || uint8_t(data[0]) != 0xFF || uint8_t(data[1]) != 10 || data[2] != 0)
    return fail("resource header of a form expected");
  size_t zero = data.find('\0', 3);
  if (zero == std::string_view::npos || zero + 7 > data.size())
    return fail("resource header runs past the end");
  return zero + 7;
}

std::string MakeResHeader(std::string_view binary) {
  TValueReader reader(binary);
  reader.ReadSignature();
  uint8_t flags;
  int32_t position;
  reader.ReadPrefix(flags, position);
  std::string name = UpperCase(reader.ReadStr("class name"));
  std::string header("\xFF\x0A\x00", 3);
  header += name;
  header.push_back('\0');
  TValueWriter w(header);
  w.WriteLE(0x1030, 2);
  w.WriteLE(binary.size(), 4);
  return header;
}

std::string ObjectResourceToText(std::string_view resource) {
  size_t header = ReadResHeader(resource);
  return BinaryToText(resource.substr(header), header, nullptr);
}

std::string ObjectTextToResource(std::string_view text) {
  std::string binary = ObjectTextToBinary(text);
  return MakeResHeader(binary) + binary;
}

void ObjectBinaryToText(TStream& input, TStream& output) {
  int64_t start = input.Position();
  size_t consumed = 0;
  output.WriteString(ObjectBinaryToText(ReadStreamRest(input), &consumed));
  input.SetPosition(start + int64_t(consumed));
}

void ObjectTextToBinary(TStream& input, TStream& output) { output.WriteString(ObjectTextToBinary(ReadStreamRest(input))); }

void ObjectResourceToText(TStream& input, TStream& output) {
  output.WriteString(ObjectResourceToText(ReadStreamRest(input)));
}

void ObjectTextToResource(TStream& input, TStream& output) {
  output.WriteString(ObjectTextToResource(ReadStreamRest(input)));
}

std::string FormFileToText(std::string_view data) {
  switch (DetectFormFileKind(data)) {
    case TFormFileKind::fkBinary: return ObjectBinaryToText(data);
    case TFormFileKind::fkResource: return ObjectResourceToText(data);
    case TFormFileKind::fkText: return ObjectBinaryToText(ObjectTextToBinary(data));
  }
  return {};
}

std::string FormFileToBinary(std::string_view data, bool resourceHeader) {
  std::string binary;
  switch (DetectFormFileKind(data)) {
    case TFormFileKind::fkText: binary = ObjectTextToBinary(data); break;
    case TFormFileKind::fkBinary: {
      size_t consumed = 0;
      ObjectBinaryToText(data, &consumed);  // validates
      binary = std::string(data.substr(0, consumed));
      break;
    }
    case TFormFileKind::fkResource: {
      size_t header = ReadResHeader(data);
      size_t consumed = 0;
      BinaryToText(data.substr(header), header, &consumed);
      binary = std::string(data.substr(header, consumed));
      break;
    }
  }
  return resourceHeader ? MakeResHeader(binary) + binary : binary;
}

}  // namespace vesper
