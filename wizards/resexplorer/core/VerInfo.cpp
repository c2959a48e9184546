#include "wizards/resexplorer/core/VerInfo.h"

#include <cstdio>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/StrUtils.h"
#include "platform/VersionInfo.h"
#include "wizards/resexplorer/core/ResInfo.h"

namespace vesper {
namespace {

// The tables as the string resources hold them: value, comma, name.
const char* const kOperatingSystems[] = {
    "0,VOS_UNKNOWN",         "65536,VOS_DOS",           "262144,VOS_NT",
    "1,VOS__WINDOWS16",      "4,VOS__WINDOWS32",        "65537,VOS_DOS_WINDOWS16",
    "65540,VOS_DOS_WINDOWS32", "262148,VOS_NT_WINDOWS32"};
const char* const kFileTypes[] = {"0,VFT_UNKNOWN", "1,VFT_APP",  "2,VFT_DLL",       "3,VFT_DRV",
                                  "4,VFT_FONT",    "5,VFT_VXD",  "7,VFT_STATIC_LIB"};
const char* const kLanguages[] = {
    "1025,Arabic", "1026,Bulgarian", "1027,Catalan", "1028,Traditional Chinese", "1029,Czech",
    "1030,Danish", "1031,German", "1032,Greek", "1033,U.S. English", "1034,Castilian Spanish",
    "1035,Finnish", "1036,French", "1037,Hebrew", "1038,Hungarian", "1039,Icelandic", "1040,Italian",
    "1041,Japanese", "1042,Korean", "1043,Dutch", "1044,Norwegian - Bokm", "1045,Polish",
    "1046,Brazilian Portuguese", "1047,Rhaeto-Romanic", "1048,Romanian", "1049,Russian",
    "1050,Croato-Serbian (Latin)", "1051,Slovak", "1052,Albanian", "1053,Swedish", "1054,Thai",
    "1055,Turkish", "1056,Urdu", "1057,Bahasa", "2052,Simplified Chinese", "2055,Swiss German",
    "2057,U.K. English", "2058,Mexican Spanish", "2060,Belgian French", "2064,Swiss Italian",
    "2067,Belgian Dutch", "2068,Norwegian - Nynorsk", "2070,Portuguese",
    "2074,Serbo-Croatian (Cyrillic)", "3084,Canadian French", "4108,Swiss French"};
const char* const kCharSets[] = {"0,7-bit ASCII",
                                 "932,Windows, Japan (Shift - JIS X-0208)",
                                 "949,Windows, Korea (Shift - KSC 5601)",
                                 "950,Windows, Taiwan (GB5)",
                                 "1200,Unicode",
                                 "1250,Windows, Latin-2 (Eastern European)",
                                 "1251,Windows, Cyrillic",
                                 "1252,Windows, Multilingual",
                                 "1253,Windows, Greek",
                                 "1254,Windows, Turkish",
                                 "1255,Windows, Hebrew",
                                 "1256,Windows, Arabic"};

// Caption and key of the twelve string rows.
const char* const kStringRows[12][2] = {
    {"Company Name", "CompanyName"},         {"File Description", "FileDescription"},
    {"File Version", "FileVersion"},         {"Internal Name", "InternalName"},
    {"Legal Copyright", "LegalCopyright"},   {"Original Filename", "OriginalFilename"},
    {"Comments", "Comments"},                {"Legal Trademarks", "LegalTrademarks"},
    {"Product Name", "ProductName"},         {"Product Version", "ProductVersion"},
    {"Special Build", "SpecialBuild"},       {"Private Build", "PrivateBuild"}};

size_t Align4(size_t v) { return (v + 3) & ~size_t(3); }

uint16_t Word(std::string_view d, size_t at) {
  return at + 2 <= d.size() ? uint16_t(uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8)) : 0;
}

std::string VersionText(uint32_t ms, uint32_t ls) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02u.%02u.%02u.%02u", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
  return buf;
}

// A packed file date-time (date in the high word) as text; nothing when invalid.
std::string FileDateText(uint32_t packed) {
  TDateTime dt;
  return TryFileDateToDateTime(int32_t(packed), dt) ? DateTimeToStr(dt) : "";
}

std::string Hex4(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
  return buf;
}

// The version data the system's call returns for an executable: the
// platform's reader for 32-bit images, the first VERSION item for 16-bit ones.
TVersionData FileVersionData(const TExeImage& image, const TResourceItem& selected) {
  std::string data;
  if (!image.Is16Bit() && GetFileVersionInfo(image.FileName(), data)) return TVersionData(data, true);
  int index = image.Resources().IndexOf("VERSION");
  const TResourceItem* item = index >= 0 ? image.Resources().Item(index) : nullptr;
  if (!item) item = &selected;
  return TVersionData(item->Data(), item->IsUnicode);
}

}  // namespace

std::optional<TVersionData::Block> TVersionData::ReadBlock(size_t at, size_t limit) const {
  if (at + 4 > limit) return std::nullopt;
  Block b;
  b.start = at;
  size_t length = Word(data_, at);
  if (length < 4) return std::nullopt;
  b.end = std::min(limit, at + length);
  b.valueLength = Word(data_, at + 2);
  size_t p = at + 4;
  for (; p < b.end && data_[p] != '\0'; ++p) b.key.push_back(data_[p]);
  b.value = std::min(Align4(p + 1), b.end);
  b.valueLength = std::min(b.valueLength, b.end - b.value);
  b.children = std::min(Align4(b.value + b.valueLength), b.end);
  return b;
}

std::optional<std::string_view> TVersionData::QueryValue(std::string_view path) const {
  if (unicode_) {
    std::string_view value;
    if (!VerQueryValue(data_, path, value)) return std::nullopt;
    return value;
  }
  std::optional<Block> block = ReadBlock(0, data_.size());
  if (!block) return std::nullopt;
  for (const std::string& part : SplitString(path, '\\')) {
    if (part.empty()) continue;
    std::optional<Block> found;
    for (size_t at = block->children; at < block->end;) {
      std::optional<Block> child = ReadBlock(at, block->end);
      if (!child) break;
      if (SameText(child->key, part)) {
        found = child;
        break;
      }
      at = Align4(child->end);
    }
    if (!found) return std::nullopt;
    block = found;
  }
  return std::string_view(data_).substr(block->value, block->valueLength);
}

std::optional<std::string> TVersionData::QueryString(std::string_view path) const {
  if (unicode_) {
    std::string value;
    if (!VerQueryString(data_, path, value)) return std::nullopt;
    return value;
  }
  std::optional<std::string_view> value = QueryValue(path);
  if (!value) return std::nullopt;
  return std::string(value->substr(0, value->find('\0')));
}

std::string TVersionData::SearchString(std::string_view key) const {
  if (key.empty()) return "";
  if (!unicode_) {
    size_t found = data_.find(key);
    if (found == std::string::npos) return "";
    // The value follows the key's terminator, aligned as blocks are.
    size_t at = Align4(found + key.size() + 1);
    if (at >= data_.size()) return "";
    size_t end = data_.find('\0', at);
    return data_.substr(at, (end == std::string::npos ? data_.size() : end) - at);
  }
  std::string pattern;
  for (char16_t c : AnsiToUtf16(key)) {
    pattern.push_back(char(c & 0xFF));
    pattern.push_back(char(c >> 8));
  }
  size_t found = data_.find(pattern);
  while (found != std::string::npos && found % 2 != 0) found = data_.find(pattern, found + 1);
  if (found == std::string::npos) return "";
  size_t at = found + pattern.size() + 2;
  if (Word(data_, at) == 0) at += 2;
  std::u16string text;
  for (; at + 2 <= data_.size() && Word(data_, at) != 0; at += 2) text.push_back(char16_t(Word(data_, at)));
  return Utf16ToAnsi(text);
}

std::string LookupVersionTable(TVersionTable table, uint32_t value) {
  const char* const* rows;
  size_t count;
  switch (table) {
    case TVersionTable::OperatingSystems: rows = kOperatingSystems; count = std::size(kOperatingSystems); break;
    case TVersionTable::FileTypes: rows = kFileTypes; count = std::size(kFileTypes); break;
    case TVersionTable::Languages: rows = kLanguages; count = std::size(kLanguages); break;
    default: rows = kCharSets; count = std::size(kCharSets); break;
  }
  for (size_t i = 0; i < count; ++i) {
    std::string_view row = rows[i];
    size_t comma = row.find(',');
    int64_t number;
    if (!TryStrToInt64(row.substr(0, comma), number) || uint64_t(number) != value) continue;
    // Character-set names hold commas: they run to the row's end.
    if (table == TVersionTable::CharSets) return std::string(row.substr(comma + 1));
    return SplitString(row, ',').at(1);
  }
  return "";
}

std::pair<uint16_t, uint16_t> ChooseTranslation(std::optional<std::string_view> translation) {
  if (!translation || translation->size() < 4) return {1033, 0};
  std::pair<uint16_t, uint16_t> chosen;
  for (size_t at = 0; at + 4 <= translation->size(); at += 4) {
    chosen = {Word(*translation, at), Word(*translation, at + 2)};
    if (chosen.first == 1033) break;
  }
  return chosen;
}

std::vector<TVersionRow> VersionRows(const TExeImage& image, const TResourceItem& item) {
  TVersionData data = image.IsResFile() ? TVersionData(item.Data(), item.IsUnicode) : FileVersionData(image, item);
  std::vector<TVersionRow> rows;
  TFixedFileInfo fixed{};
  std::optional<std::string_view> root = data.QueryValue("\\");
  bool hasFixed = root && root->size() >= sizeof fixed;
  if (hasFixed) std::memcpy(&fixed, root->data(), sizeof fixed);
  auto fixedRow = [&](const char* title, std::string value) { rows.push_back({title, hasFixed ? value : ""}); };
  fixedRow("File Version", VersionText(fixed.FileVersionMS, fixed.FileVersionLS));
  fixedRow("Product Version", VersionText(fixed.ProductVersionMS, fixed.ProductVersionLS));
  fixedRow("File OS", LookupVersionTable(TVersionTable::OperatingSystems, fixed.FileOS));
  fixedRow("File Type", LookupVersionTable(TVersionTable::FileTypes, fixed.FileType));
  uint32_t date = item.IsUnicode ? fixed.FileDateMS : fixed.FileDateLS;
  fixedRow("File Date", date ? FileDateText(date) : "");
  auto [language, charSet] = ChooseTranslation(data.QueryValue("\\VarFileInfo\\Translation"));
  std::string languageName = LookupVersionTable(TVersionTable::Languages, language);
  if (languageName.empty()) languageName = "Unknown ( Code = " + std::to_string(language) + " )";
  rows.push_back({"Language", languageName});
  rows.push_back({"Char Set", LookupVersionTable(TVersionTable::CharSets, charSet)});
  std::string prefix = "\\StringFileInfo\\" + Hex4(language) + Hex4(charSet) + "\\";
  for (auto& [title, key] : kStringRows) {
    std::string value = image.IsResFile() ? data.SearchString(key) : data.QueryString(prefix + key).value_or("");
    rows.push_back({title, value});
  }
  return rows;
}

}  // namespace vesper
