#include "platform/StrUtils.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/Exception.h"

namespace vesper {

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

char UpCase(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
char LoCase(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = UpCase(c);
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = LoCase(c);
  return r;
}

int CompareStr(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    if (d) return d;
  }
  return int(a.size()) - int(b.size());
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = static_cast<unsigned char>(UpCase(a[i])) - static_cast<unsigned char>(UpCase(b[i]));
    if (d) return d;
  }
  return int(a.size()) - int(b.size());
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

bool StartsText(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool EndsText(std::string_view suffix, std::string_view s) {
  return s.size() >= suffix.size() && SameText(s.substr(s.size() - suffix.size()), suffix);
}

size_t PosText(std::string_view sub, std::string_view s) {
  if (sub.size() > s.size()) return std::string_view::npos;
  for (size_t i = 0; i + sub.size() <= s.size(); ++i)
    if (SameText(s.substr(i, sub.size()), sub)) return i;
  return std::string_view::npos;
}

bool TryStrToInt64(std::string_view s, int64_t& value) {
  std::string t = Trim(s);
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) neg = t[i++] == '-';
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return false;
  uint64_t acc = 0;
  const uint64_t limit = base == 16 ? std::numeric_limits<uint64_t>::max()
                                    : uint64_t(std::numeric_limits<int64_t>::max()) + (neg ? 1 : 0);
  for (; i < t.size(); ++i) {
    int d;
    char c = t[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    if (acc > (limit - d) / base) return false;
    acc = acc * base + d;
  }
  value = neg ? int64_t(0 - acc) : int64_t(acc);
  return true;
}

bool TryStrToInt(std::string_view s, int32_t& value) {
  int64_t v;
  if (!TryStrToInt64(s, v)) return false;
  std::string t = Trim(s);
  bool hex = t.find('$') != std::string::npos || t.find("0x") != std::string::npos ||
             t.find("0X") != std::string::npos;
  if (hex && v >= 0 && v <= 0xFFFFFFFFll) {
    value = int32_t(uint32_t(v));
    return true;
  }
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
  value = int32_t(v);
  return true;
}

int32_t StrToInt(std::string_view s) {
  int32_t v;
  if (!TryStrToInt(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return v;
}

int64_t StrToInt64(std::string_view s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return v;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  int32_t v;
  return TryStrToInt(s, v) ? v : def;
}

std::string IntToStr(int64_t v) { return std::to_string(v); }

std::string IntToHex(uint64_t v, int digits) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string r;
  do {
    r.insert(r.begin(), kHex[v & 15]);
    v >>= 4;
  } while (v);
  while (int(r.size()) < digits) r.insert(r.begin(), '0');
  return r;
}

std::string StringReplace(std::string_view s, std::string_view from, std::string_view to, bool all,
                          bool ignoreCase) {
  if (from.empty()) return std::string(s);
  std::string r;
  size_t i = 0;
  while (i < s.size()) {
    size_t p = ignoreCase ? PosText(from, s.substr(i)) : s.substr(i).find(from);
    if (p == std::string_view::npos) break;
    r.append(s.substr(i, p));
    r.append(to);
    i += p + from.size();
    if (!all) break;
  }
  r.append(s.substr(std::min(i, s.size())));
  return r;
}

std::vector<std::string> SplitString(std::string_view s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t p = s.find(sep, start);
    if (p == std::string_view::npos) {
      parts.emplace_back(s.substr(start));
      return parts;
    }
    parts.emplace_back(s.substr(start, p - start));
    start = p + 1;
  }
}

std::string QuotedStr(std::string_view s) {
  std::string r = "'";
  for (char c : s) {
    if (c == '\'') r += '\'';
    r += c;
  }
  return r + "'";
}

std::string ShortStringToStd(const unsigned char* buf) {
  return std::string(reinterpret_cast<const char*>(buf + 1), buf[0]);
}

void StdToShortString(std::string_view s, unsigned char* buf, size_t maxLen) {
  size_t n = std::min({s.size(), maxLen, size_t(255)});
  buf[0] = static_cast<unsigned char>(n);
  std::memcpy(buf + 1, s.data(), n);
}

}  // namespace vesper
