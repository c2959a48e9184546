#include "platform/CodePage.h"

#include <cstdlib>

namespace vesper {

namespace {

// Windows-1252 0x80..0x9F; the five undefined bytes map to themselves.
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned ReadAcpFromEnvironment() {
  const char* v = std::getenv("VESPER_ACP");
  if (v && std::string_view(v) == "65001") return 65001;
  return 1252;
}

unsigned& CurrentAcp() {
  static unsigned acp = ReadAcpFromEnvironment();
  return acp;
}

char Cp1252FromUnit(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == u) return static_cast<char>(0x80 + i);
  return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one code point at s[i]; advances i. Returns U+FFFD on bad input.
char32_t DecodeUtf8(std::string_view s, size_t& i, bool& ok) {
  auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = b(i);
  ok = true;
  if (c < 0x80) {
    ++i;
    return c;
  }
  int n;
  char32_t cp;
  char32_t min;
  if ((c & 0xE0) == 0xC0) { n = 1; cp = c & 0x1F; min = 0x80; }
  else if ((c & 0xF0) == 0xE0) { n = 2; cp = c & 0x0F; min = 0x800; }
  else if ((c & 0xF8) == 0xF0) { n = 3; cp = c & 0x07; min = 0x10000; }
  else { ++i; ok = false; return 0xFFFD; }
  for (int k = 1; k <= n; ++k) {
    if (i + k >= s.size() || (b(i + k) & 0xC0) != 0x80) { ++i; ok = false; return 0xFFFD; }
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) { ++i; ok = false; return 0xFFFD; }
  i += n + 1;
  return cp;
}

}  // namespace

unsigned GetACP() { return CurrentAcp(); }
void SetACP(unsigned codePage) { CurrentAcp() = codePage == 65001 ? 65001 : 1252; }

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    bool ok;
    char32_t cp = DecodeUtf8(utf8, i, ok);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    bool ok;
    DecodeUtf8(s, i, ok);
    if (!ok) return false;
  }
  return true;
}

bool LooksLikeUtf8Text(std::string_view s) {
  bool high = false;
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) { high = true; break; }
  return high && IsValidUtf8(s);
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  if (GetACP() == 65001) return Utf8ToUtf16(ansi);
  std::u16string out(ansi.size(), u'\0');
  for (size_t i = 0; i < ansi.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(ansi[i]);
    out[i] = (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : char16_t(c);
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  if (GetACP() == 65001) return Utf16ToUtf8(text);
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = Cp1252FromUnit(text[i]);
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (GetACP() == 65001) return std::string(ansi);
  return Utf16ToUtf8(AnsiToUtf16(ansi));
}

std::string Utf8ToAnsi(std::string_view utf8) {
  if (GetACP() == 65001) return std::string(utf8);
  return Utf16ToAnsi(Utf8ToUtf16(utf8));
}

}  // namespace vesper
