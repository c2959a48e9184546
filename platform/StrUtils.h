// String helpers with the class library's semantics. Texts are 8-bit strings;
// case conversion and comparison "ignoring case" act on ASCII letters only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

std::string Trim(std::string_view s);       // removes bytes <= ' ' at both ends
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
std::string UpperCase(std::string_view s);  // ASCII a-z only
std::string LowerCase(std::string_view s);
char UpCase(char c);
char LoCase(char c);

// <0, 0, >0 like the class library's CompareStr / CompareText (ASCII folding).
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view s);
bool EndsText(std::string_view suffix, std::string_view s);
// Position of `sub` in `s` ignoring ASCII case, npos when absent.
size_t PosText(std::string_view sub, std::string_view s);

// Decimal or "$"-prefixed hexadecimal, optional sign and surrounding blanks.
// Raises EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);
bool TryStrToInt(std::string_view s, int32_t& value);
bool TryStrToInt64(std::string_view s, int64_t& value);
std::string IntToStr(int64_t v);
// Upper-case hexadecimal with at least `digits` digits.
std::string IntToHex(uint64_t v, int digits);

std::string StringReplace(std::string_view s, std::string_view from, std::string_view to,
                          bool all = true, bool ignoreCase = false);
// Splits at every occurrence of `sep`; an empty input gives one empty item.
std::vector<std::string> SplitString(std::string_view s, char sep);
// Pascal quoting: 'it''s'.
std::string QuotedStr(std::string_view s);

// Short strings: a length byte followed by up to 255 bytes.
std::string ShortStringToStd(const unsigned char* buf);
void StdToShortString(std::string_view s, unsigned char* buf, size_t maxLen = 255);

}  // namespace vesper
