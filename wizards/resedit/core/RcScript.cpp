#include "wizards/resedit/core/RcScript.h"

#include <map>

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"
#include "wizards/resedit/core/ResCompiler.h"
#include "wizards/resedit/core/Resources.h"

namespace vesper {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AddVersion(TTextLines& out, const TResources& res, TDateTime now) {
  const TVersionResource& v = res.Version;
  auto& fv = v.FileVersion();
  auto& pv = v.ProductVersion();
  std::string lang = IntToHex(v.Language, 4) + IntToHex(v.CharSet, 4);
  TTextLines head = {"// Delphi Resource File", "// Generated - " + DateToStr(now) + " @ " + TimeToStr(now), "",
                     "// Version Info", "", "1 VERSIONINFO",
                     Format("FILEVERSION %d, %d, %d, %d", {fv[0], fv[1], fv[2], fv[3]}),
                     Format("PRODUCTVERSION %d, %d, %d, %d", {pv[0], pv[1], pv[2], pv[3]}), "FILEOS " + v.FileOs,
                     "FILETYPE " + v.FileType, "{", " BLOCK \"StringFileInfo\"", "  {",
                     "  BLOCK \"" + lang + "\"", "   {"};
  out.insert(out.end(), head.begin(), head.end());
  const std::pair<const char*, std::string> values[] = {
      {"CompanyName", v.CompanyName},       {"FileDescription", v.FileDescription},
      {"FileVersion", VersionText(fv)},     {"InternalName", v.InternalName},
      {"LegalCopyright", v.LegalCopyright}, {"OriginalFilename", v.OriginalFilename},
      {"Comments", v.Comments},             {"LegalTrademarks", v.LegalTrademarks},
      {"ProductName", v.ProductName},       {"ProductVersion", v.ProductVersionText},
      {"SpecialBuild", v.SpecialBuild},     {"PrivateBuild", v.PrivateBuild}};
  for (auto& [name, value] : values)
    out.push_back(std::string("    VALUE \"") + name + "\", \"" + EscapeRcText(value) + "\\000\"");
  TTextLines tail = {"   }", "  }", " BLOCK \"VarFileInfo\"", " {",
                     Format("  VALUE \"Translation\", %d, %d", {v.Language, v.CharSet}), " }", "}", "",
                     "// Verinfo Ends", ""};
  out.insert(out.end(), tail.begin(), tail.end());
}

void AddStrings(TTextLines& out, const TResources& res) {
  out.insert(out.end(), {"// Strings", "", "// String Defines ", ""});
  for (auto& e : res.Strings.Items()) out.push_back(Format("#define %s%s %d", {e->Name, PadTo32(e->Name), e->Id}));
  out.push_back("");
  std::map<int, std::vector<const TStringEntry*>> blocks;
  for (auto& e : res.Strings.Items()) blocks[e->Id / 16 + 1].push_back(e.get());
  for (auto& [block, entries] : blocks) {
    out.insert(out.end(), {"STRINGTABLE DISCARDABLE", "BEGIN"});
    for (const TStringEntry* e : entries)
      out.push_back("   " + e->Name + PadTo32(e->Name) + " \"" + EscapeRcText(e->Text) + "\"");
    out.insert(out.end(), {"END", ""});
  }
  out.push_back("// Strings End");
}

void AddWords(TTextLines& out, const std::string& bytes) {
  size_t words = (bytes.size() + 1) / 2;
  for (size_t i = 0; i < words; ++i) {
    if (i % 8 == 0) out.push_back("  ");
    unsigned lo = uint8_t(bytes[2 * i]);
    unsigned hi = 2 * i + 1 < bytes.size() ? uint8_t(bytes[2 * i + 1]) : 0;
    out.push_back(Format("0x%.4x", {hi << 8 | lo}) + (i + 1 < words ? "," : ""));
  }
}

void AddRcData(TTextLines& out, const TResources& res) {
  out.insert(out.end(), {"// Data Defines", ""});
  for (auto& e : res.RcData.Items()) out.push_back(Format("#define %s%s %d", {e->Name, PadTo32(e->Name), e->Id}));
  out.insert(out.end(), {"", "// Data Files", ""});
  for (auto& e : res.RcData.Items()) {
    std::string path = ResolveResFile(res, e->FileName);
    if (path.empty()) continue;
    out.push_back(e->Name + PadTo32(e->Name) + " RCDATA " + RcOptionKeywords(e->MemOptions));
    out.push_back("BEGIN");
    AddWords(out, ReadFileBytes(path));
    out.insert(out.end(), {"END", ""});
  }
  out.insert(out.end(), {"", "// Data Files End", ""});
}

template <class List>
void AddFiles(TTextLines& out, const List& list, const char* definesTitle, const char* filesTitle,
              const char* keyword, const char* endTitle) {
  out.insert(out.end(), {definesTitle, ""});
  for (auto& e : list.Items()) out.push_back(Format("#define %s%s %d", {e->Name, PadTo32(e->Name), e->Id}));
  out.insert(out.end(), {"", filesTitle, ""});
  for (auto& e : list.Items()) {
    std::string name = Trim(e->Name);
    out.push_back(name + PadTo32(name) + " " + keyword + RcOptionKeywords(e->MemOptions) + "\"" + e->FileName + "\"");
  }
  out.insert(out.end(), {"", endTitle, ""});
}

}  // namespace

std::string EscapeRcText(std::string_view t) {
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    char c = t[i];
    if (c == '"') {
      out += "\"\"";
      continue;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    char n = i + 1 < t.size() ? t[i + 1] : '\0';
    if (n == 'n' || n == 'r' || n == 't' || n == 'a' || n == '\\') {
      out += '\\';
      out += n;
      ++i;
    } else if (n == '"') {
      out += "\"\"";
      ++i;
    } else if (i + 3 < t.size() && IsDigit(n) && IsDigit(t[i + 2]) && IsDigit(t[i + 3])) {
      unsigned byte = ((n - '0') * 64 + (t[i + 2] - '0') * 8 + (t[i + 3] - '0')) & 0xFF;
      out += {'\\', char('0' + (byte >> 6)), char('0' + ((byte >> 3) & 7)), char('0' + (byte & 7))};
      i += 3;
    } else {
      out += "\\\\";
    }
  }
  return out;
}

std::string RcOptionKeywords(uint16_t options) {
  std::string s;
  if (options & moPreload) s += "PRELOAD ";
  if (options & moLoadOnCall) s += "LOADONCALL ";
  if (options & moFixed) s += "FIXED ";
  if (options & moDiscardable) s += "DISCARDABLE ";
  return s;
}

TTextLines RcScriptLines(const TResources& res, TDateTime now) {
  TTextLines out;
  if (!res.Settings.NoVerResource) AddVersion(out, res, now);
  if (!res.Strings.Empty()) AddStrings(out, res);
  if (!res.RcData.Empty()) AddRcData(out, res);
  if (!res.Icons.Empty()) AddFiles(out, res.Icons, "// Icon Defines ", "// Icon Files", "ICON ", "// ICON Files End");
  if (!res.Bitmaps.Empty())
    AddFiles(out, res.Bitmaps, "// Bitmaps Defines ", "// Bitmap Files", "BITMAP ", "// Bitmap Files End");
  if (!res.Cursors.Empty())
    AddFiles(out, res.Cursors, "// Cursor Defines ", "// Cursor Files", "CURSOR ", "// Cursor Files End");
  return out;
}

void WriteRcScript(const TResources& res, const std::string& fileName) {
  SaveLines(fileName, RcScriptLines(res, Now()));
}

}  // namespace vesper
