#include "platform/RegFormat.h"

#include <optional>

namespace vesper {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr size_t kHexLineWidth = 77;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithText(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if ((s[i] | 0x20) != (prefix[i] | 0x20)) return false;
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// 1 to 8 hexadecimal digits, nothing else.
std::optional<uint32_t> ParseHex32(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  uint32_t v = 0;
  for (char c : s) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    v = v << 4 | uint32_t(d);
  }
  return v;
}

// A quoted text starting at s[pos] == '"' with the escapes \\ and \";
// leaves pos after the closing quote.
bool ParseQuoted(std::string_view s, size_t& pos, std::string& out, std::string& why) {
  out.clear();
  for (++pos; pos < s.size(); ++pos) {
    char c = s[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\') {
      if (pos + 1 >= s.size() || (s[pos + 1] != '\\' && s[pos + 1] != '"')) {
        why = "invalid escape sequence";
        return false;
      }
      c = s[++pos];
    }
    out += c;
  }
  why = "missing closing quote";
  return false;
}

// "01,02,ff": one or two hex digits per byte; one trailing comma is allowed.
bool ParseHexBytes(std::string_view s, std::string& out, std::string& why) {
  out.clear();
  s = TrimBlanks(s);
  if (s.empty()) return true;
  while (true) {
    size_t comma = s.find(',');
    std::string_view item = TrimBlanks(s.substr(0, comma));
    bool last = comma == std::string_view::npos;
    if (item.empty() && last && !out.empty()) return true;
    auto v = item.size() <= 2 ? ParseHex32(item) : std::nullopt;
    if (!v) {
      why = "invalid hex byte";
      return false;
    }
    out += char(*v);
    if (last) return true;
    s.remove_prefix(comma + 1);
  }
}

bool ParseHexData(std::string_view s, RegValueData& data, std::string& why) {
  s.remove_prefix(3);  // "hex"
  data.type = REG_BINARY;
  if (!s.empty() && s.front() == '(') {
    size_t close = s.find(')');
    auto type = close == std::string_view::npos ? std::nullopt : ParseHex32(s.substr(1, close - 1));
    if (!type) {
      why = "invalid hex type";
      return false;
    }
    data.type = *type;
    s.remove_prefix(close + 1);
  }
  if (s.empty() || s.front() != ':') {
    why = "invalid value data";
    return false;
  }
  return ParseHexBytes(s.substr(1), data.bytes, why);
}

bool ParseData(std::string_view s, RegFileValue& value, std::string& why) {
  if (s == "-") {
    value.remove = true;
    return true;
  }
  if (!s.empty() && s.front() == '"') {
    size_t pos = 0;
    std::string text;
    if (!ParseQuoted(s, pos, text, why)) return false;
    if (!TrimBlanks(s.substr(pos)).empty()) {
      why = "text after the closing quote";
      return false;
    }
    value.data = RegStringData(text);
    return true;
  }
  if (StartsWithText(s, "dword:")) {
    auto v = ParseHex32(TrimBlanks(s.substr(6)));
    if (!v) {
      why = "invalid dword value";
      return false;
    }
    value.data = RegDwordData(*v);
    return true;
  }
  if (StartsWithText(s, "hex")) return ParseHexData(s, value.data, why);
  why = "invalid value data";
  return false;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : lines_(SplitLines(text)) {
    if (!lines_.empty() && lines_[0].substr(0, 3) == "\xEF\xBB\xBF") lines_[0].remove_prefix(3);
  }

  RegFileText Run() {
    bool headerSeen = false;
    while (next_ < lines_.size()) {
      int lineNo = int(next_) + 1;
      std::string_view line = TrimBlanks(lines_[next_++]);
      if (line.empty() || line.front() == ';') continue;
      if (!headerSeen) {
        headerSeen = true;
        if (line == kHeader) continue;
        Error(lineNo, "missing REGEDIT4 header");
      }
      if (line.front() == '[') {
        KeyLine(lineNo, line);
      } else if (line.front() == '"' || line.front() == '@') {
        ValueLine(lineNo, line);
      } else {
        Error(lineNo, "unrecognised line");
      }
    }
    return std::move(result_);
  }

 private:
  void Error(int line, std::string reason) { result_.errors.push_back({line, std::move(reason)}); }

  void KeyLine(int lineNo, std::string_view line) {
    haveKey_ = false;
    if (line.back() != ']') return Error(lineNo, "missing ']'");
    std::string_view inner = line.substr(1, line.size() - 2);
    RegFileKey key;
    key.line = lineNo;
    if (!inner.empty() && inner.front() == '-') {
      key.remove = true;
      inner.remove_prefix(1);
    }
    std::vector<std::string> parts = SplitRegPath(inner);
    if (parts.empty()) return Error(lineNo, "empty key name");
    for (auto& p : parts) key.path += (key.path.empty() ? "" : "\\") + p;
    result_.keys.push_back(std::move(key));
    haveKey_ = !result_.keys.back().remove;
  }

  // Joins the hex continuation lines ("01,02,\") that follow a value line.
  std::string JoinContinuations(std::string_view data) {
    std::string joined(data);
    while (!joined.empty() && joined.back() == '\\' && next_ < lines_.size()) {
      joined.pop_back();
      joined += TrimBlanks(lines_[next_++]);
    }
    return joined;
  }

  void ValueLine(int lineNo, std::string_view line) {
    RegFileValue value;
    std::string why;
    size_t pos = 1;
    if (line.front() == '"') {
      pos = 0;
      if (!ParseQuoted(line, pos, value.name, why)) return Error(lineNo, "value name: " + why);
    }
    std::string_view rest = TrimBlanks(line.substr(pos));
    if (rest.empty() || rest.front() != '=') return Error(lineNo, "missing '='");
    rest = TrimBlanks(rest.substr(1));
    std::string data = StartsWithText(rest, "hex") ? JoinContinuations(rest) : std::string(rest);
    if (!ParseData(data, value, why)) return Error(lineNo, why);
    if (!haveKey_) return Error(lineNo, "value outside a key");
    result_.keys.back().values.push_back(std::move(value));
  }

  std::vector<std::string_view> lines_;
  size_t next_ = 0;
  bool haveKey_ = false;
  RegFileText result_;
};

void AppendQuoted(std::string& out, std::string_view s) {
  out += '"';
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

// Text that a quoted value keeps exactly: one terminating zero, no line ends.
bool IsPlainText(const RegValueData& data) {
  const std::string& b = data.bytes;
  if (b.empty() || b.back() != '\0') return false;
  return b.find_first_of(std::string_view("\0\r\n", 3)) == b.size() - 1;
}

void AppendHex(std::string& out, const RegValueData& data) {
  static const char digits[] = "0123456789abcdef";
  out += "hex";
  if (data.type != REG_BINARY) {
    out += '(';
    std::string t;
    for (uint32_t v = data.type; v || t.empty(); v >>= 4) t.insert(t.begin(), digits[v & 15]);
    out += t + ')';
  }
  out += ':';
  size_t lineStart = out.rfind('\n');
  size_t lineLen = out.size() - (lineStart == std::string::npos ? 0 : lineStart + 1);
  for (size_t i = 0; i < data.bytes.size(); ++i) {
    if (i > 0) {
      if (lineLen + 3 > kHexLineWidth) {
        out += ",\\\r\n  ";
        lineLen = 2;
      } else {
        out += ',';
        ++lineLen;
      }
    }
    unsigned char b = static_cast<unsigned char>(data.bytes[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
    lineLen += 2;
  }
}

}  // namespace

RegValueData RegStringData(std::string_view text) {
  RegValueData d{REG_SZ, std::string(text)};
  d.bytes += '\0';
  return d;
}

RegValueData RegDwordData(uint32_t value) {
  RegValueData d{REG_DWORD, std::string(4, '\0')};
  for (int i = 0; i < 4; ++i) d.bytes[size_t(i)] = char(value >> (8 * i));
  return d;
}

RegValueData RegBinaryData(std::string_view bytes) { return {REG_BINARY, std::string(bytes)}; }

std::string RegDataText(const RegValueData& data) { return data.bytes.substr(0, data.bytes.find('\0')); }

std::vector<std::string> SplitRegPath(std::string_view path) {
  std::vector<std::string> parts;
  while (!path.empty()) {
    size_t sep = path.find('\\');
    if (sep != 0) parts.emplace_back(path.substr(0, sep));
    if (sep == std::string_view::npos) break;
    path.remove_prefix(sep + 1);
  }
  return parts;
}

bool IsRegNameWritable(std::string_view name) { return name.find_first_of("\r\n") == std::string_view::npos; }

RegFileText ParseRegFile(std::string_view text) { return Parser(text).Run(); }

std::string FormatRegValue(const RegFileValue& value) {
  std::string out;
  if (value.name.empty()) out += '@';
  else AppendQuoted(out, value.name);
  out += '=';
  const RegValueData& d = value.data;
  if (value.remove) {
    out += '-';
  } else if (d.type == REG_SZ && IsPlainText(d)) {
    AppendQuoted(out, std::string_view(d.bytes).substr(0, d.bytes.size() - 1));
  } else if (d.type == REG_DWORD && d.bytes.size() == 4) {
    static const char digits[] = "0123456789abcdef";
    out += "dword:";
    for (int i = 3; i >= 0; --i) {
      unsigned char b = static_cast<unsigned char>(d.bytes[size_t(i)]);
      out += digits[b >> 4];
      out += digits[b & 15];
    }
  } else {
    AppendHex(out, d);
  }
  return out;
}

std::string FormatRegFile(const std::vector<RegFileKey>& keys) {
  std::string out(kHeader);
  out += "\r\n\r\n";
  for (auto& key : keys) {
    out += key.remove ? "[-" : "[";
    out += key.path + "]\r\n";
    for (auto& v : key.values) out += FormatRegValue(v) + "\r\n";
    out += "\r\n";
  }
  return out;
}

}  // namespace vesper
