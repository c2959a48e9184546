#include "wizards/resedit/core/VersionRecord.h"

#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/StrUtils.h"
#include "platform/VersionBuilder.h"
#include "wizards/resedit/core/VersionResource.h"

namespace vesper {

namespace {

TVersionStrings StandardStrings(const TVersionResource& v, bool is32) {
  TVersionStrings order32 = {
      {"Comments", v.Comments},           {"CompanyName", v.CompanyName},
      {"FileDescription", v.FileDescription}, {"InternalName", v.InternalName},
      {"LegalCopyright", v.LegalCopyright}, {"LegalTrademarks", v.LegalTrademarks},
      {"OriginalFilename", v.OriginalFilename}, {"PrivateBuild", v.PrivateBuild},
      {"ProductName", v.ProductName},     {"ProductVersion", v.ProductVersionText},
      {"SpecialBuild", v.SpecialBuild}};
  TVersionStrings order16 = {
      {"CompanyName", v.CompanyName},       {"FileDescription", v.FileDescription},
      {"InternalName", v.InternalName},     {"LegalCopyright", v.LegalCopyright},
      {"OriginalFilename", v.OriginalFilename}, {"Comments", v.Comments},
      {"LegalTrademarks", v.LegalTrademarks}, {"ProductName", v.ProductName},
      {"ProductVersion", v.ProductVersionText}, {"SpecialBuild", v.SpecialBuild},
      {"PrivateBuild", v.PrivateBuild}};
  TVersionStrings out;
  for (auto& kv : is32 ? order32 : order16)
    if (!Trim(kv.second).empty()) out.push_back(kv);
  return out;
}

uint32_t FileDateMs(const TVersionResource& v) { return uint32_t(DateTimeToFileDate(v.InternalDate())); }

void Put16(std::string& b, uint16_t v) { version_detail::Put16(b, v); }

void Align(std::string& b) { version_detail::Align(b); }

// A 16-bit block: length, value length, key with zero, padding, value, padding, children.
std::string Block16(const std::string& key, const std::string& value, const std::string& children) {
  std::string b(4, '\0');
  b += key;
  b += '\0';
  Align(b);
  b += value;
  if (!children.empty()) {
    Align(b);
    b += children;
  }
  uint16_t len = uint16_t(b.size());
  b[0] = char(len & 0xFF);
  b[1] = char(len >> 8);
  b[2] = char(value.size() & 0xFF);
  b[3] = char(value.size() >> 8);
  return b;
}

std::string FixedInfo(const TVersionResource& v) {
  std::string f;
  auto put32 = [&](uint32_t x) { version_detail::Put32(f, x); };
  auto& fv = v.FileVersion();
  auto& pv = v.ProductVersion();
  put32(0xFEEF04BD);
  put32(0x00010000);
  put32(uint32_t(fv[0]) << 16 | fv[1]);
  put32(uint32_t(fv[2]) << 16 | fv[3]);
  put32(uint32_t(pv[0]) << 16 | pv[1]);
  put32(uint32_t(pv[2]) << 16 | pv[3]);
  put32(ListValue(VersionFlagsMaskList(), v.FlagsMask));
  put32(ListValue(VersionFileFlagsList(), v.FileFlags));
  put32(ListValue(VersionFileOsList(), v.FileOs));
  put32(ListValue(VersionFileTypeList(), v.FileType));
  put32(0);
  put32(FileDateMs(v));
  put32(0);
  return f;
}

}  // namespace

TVersionStrings VersionRecordStrings(const TVersionResource& v, bool is32) {
  TVersionStrings out;
  if (!Trim(v.FileVersionText).empty()) out.push_back({"FileVersion", v.FileVersionText});
  if (v.CustomStrings.empty()) {
    for (auto& kv : StandardStrings(v, is32)) out.push_back(kv);
    return out;
  }
  for (const std::string& line : v.CustomStrings) {
    size_t sep = line.find('\1');
    std::string key = line.substr(0, sep);
    if (key == "FileVersion") continue;
    out.push_back({key, sep == std::string::npos ? std::string() : line.substr(sep + 1)});
  }
  return out;
}

// The strings are converted from the ANSI code page (keys are ASCII).
std::string VersionRecordData32(const TVersionResource& v) {
  using version_detail::Block;
  std::string strings;
  for (auto& [key, value] : VersionRecordStrings(v, true)) {
    std::u16string wide = AnsiToUtf16(value);
    std::string bytes;
    for (char16_t c : wide) Put16(bytes, uint16_t(c));
    Put16(bytes, 0);
    Align(strings);
    strings += Block(key, bytes, uint16_t(wide.size() + 1), 1, "");
  }
  std::string table = Block(IntToHex(v.Language, 4) + IntToHex(v.CharSet, 4), "", 0, 1, strings);
  std::string translation;
  Put16(translation, v.Language);
  Put16(translation, v.CharSet);
  std::string children = Block("StringFileInfo", "", 0, 1, table);
  Align(children);
  children += Block("VarFileInfo", "", 0, 1, Block("Translation", translation, 4, 0, ""));
  std::string fixed = FixedInfo(v);
  return Block("VS_VERSION_INFO", fixed, uint16_t(fixed.size()), 0, children);
}

std::string VersionRecordData16(const TVersionResource& v) {
  std::string strings;
  for (auto& [key, value] : VersionRecordStrings(v, false)) {
    Align(strings);
    strings += Block16(key, value + '\0', "");
  }
  std::string table = Block16(IntToHex(v.Language, 4) + IntToHex(v.CharSet, 4), "", strings);
  std::string stringInfo = Block16("StringFileInfo", "", table);
  std::string translation;
  Put16(translation, v.Language);
  Put16(translation, v.CharSet);
  std::string varInfo = Block16("VarFileInfo", "", Block16("Translation", translation, ""));
  Align(stringInfo);
  return Block16("VS_VERSION_INFO", FixedInfo(v), stringInfo + varInfo);
}

}  // namespace vesper
