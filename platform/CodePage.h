// The ANSI code page: Windows-1252 unless VESPER_ACP names another (1252 or
// 65001 = UTF-8). Every conversion between 8-bit texts, UTF-16 and UTF-8 (the
// form Qt and the file system take) goes through here.
#pragma once

#include <string>
#include <string_view>

namespace vesper {

// 1252 or 65001, read once from VESPER_ACP.
unsigned GetACP();
// For tests: sets the code page in force (1252 or 65001).
void SetACP(unsigned codePage);

// ANSI bytes to UTF-16. With 1252 every byte maps to one unit; the five
// bytes 1252 leaves undefined map to U+0081, U+008D, U+008F, U+0090, U+009D.
std::u16string AnsiToUtf16(std::string_view ansi);
// UTF-16 to ANSI. Characters the code page lacks become '?'.
std::string Utf16ToAnsi(std::u16string_view text);

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

// UTF-8 helpers (ill-formed sequences decode to U+FFFD).
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);
bool IsValidUtf8(std::string_view s);
// True when `s` is valid UTF-8 and holds at least one byte above 0x7F.
bool LooksLikeUtf8Text(std::string_view s);

}  // namespace vesper
