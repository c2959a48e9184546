#include "platform/IniFile.h"

#include <sys/stat.h>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "platform/StringList.h"

namespace vesper {

namespace {

enum class LineKind { Other, Header, Key };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string name;   // section or key, trimmed
  std::string value;  // keys: trimmed, without enclosing quotes
};

bool Quoted(std::string_view v) {
  return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

ParsedLine Parse(std::string_view raw) {
  ParsedLine p;
  std::string line = Trim(raw);
  if (line.empty() || line[0] == ';') return p;
  if (line[0] == '[') {
    size_t close = line.find(']');
    p.kind = LineKind::Header;
    p.name = Trim(std::string_view(line).substr(1, close == std::string::npos ? std::string::npos
                                                                               : close - 1));
    return p;
  }
  size_t eq = line.find('=');
  if (eq == std::string::npos) return p;
  p.kind = LineKind::Key;
  p.name = Trim(std::string_view(line).substr(0, eq));
  p.value = Trim(std::string_view(line).substr(eq + 1));
  if (Quoted(p.value)) p.value = p.value.substr(1, p.value.size() - 2);
  return p;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// The value as written: quoted when reading it back would otherwise trim
// blanks or strip quotes.
std::string StoredValue(std::string_view value) {
  std::string v(value);
  if (!v.empty() && (Trim(v) != v || Quoted(v))) return "\"" + v + "\"";
  return v;
}

void CheckName(std::string_view name, std::string_view forbidden) {
  std::string trimmed = Trim(name);
  if (trimmed.empty() || HasLineBreak(name) ||
      trimmed.find_first_of(forbidden) != std::string::npos || trimmed[0] == ';' ||
      trimmed[0] == '[') {
    throw EIniFileException("Invalid section or key name '" + std::string(name) + "'");
  }
}

}  // namespace

// ---- TIniDocument --------------------------------------------------------

void TIniDocument::SetText(std::string_view text) {
  lines_.clear();
  size_t p = 0;
  while (p < text.size()) {
    size_t end = text.find_first_of("\r\n", p);
    if (end == std::string_view::npos) end = text.size();
    lines_.emplace_back(text.substr(p, end - p));
    p = end;
    if (p < text.size() && text[p] == '\r') ++p;
    if (p < text.size() && text[p] == '\n') ++p;
  }
}

std::string TIniDocument::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

int TIniDocument::FindSection(std::string_view section) const {
  std::string name = Trim(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    ParsedLine p = Parse(lines_[i]);
    if (p.kind == LineKind::Header && SameText(p.name, name)) return int(i);
  }
  return -1;
}

int TIniDocument::SectionEnd(int h) const {
  int i = h + 1;
  while (i < int(lines_.size()) && Parse(lines_[size_t(i)]).kind != LineKind::Header) ++i;
  return i;
}

int TIniDocument::FindKey(int h, std::string_view ident) const {
  std::string name = Trim(ident);
  int end = SectionEnd(h);
  for (int i = h + 1; i < end; ++i) {
    ParsedLine p = Parse(lines_[size_t(i)]);
    if (p.kind == LineKind::Key && SameText(p.name, name)) return i;
  }
  return -1;
}

bool TIniDocument::ReadString(std::string_view section, std::string_view ident,
                              std::string& value) const {
  int h = FindSection(section);
  int k = h < 0 ? -1 : FindKey(h, ident);
  if (k < 0) return false;
  value = Parse(lines_[size_t(k)]).value;
  return true;
}

void TIniDocument::WriteString(std::string_view section, std::string_view ident,
                               std::string_view value) {
  CheckName(section, "]");
  CheckName(ident, "=");
  if (HasLineBreak(value)) {
    throw EIniFileException("Invalid line break in the value of '" + std::string(ident) + "'");
  }
  std::string line = Trim(ident) + "=" + StoredValue(value);
  int h = FindSection(section);
  if (h < 0) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + Trim(section) + "]");
    lines_.push_back(line);
    return;
  }
  int k = FindKey(h, ident);
  if (k >= 0) {
    lines_[size_t(k)] = line;
    return;
  }
  int last = h;  // after the section's last key, before trailing blank lines
  int end = SectionEnd(h);
  for (int i = h + 1; i < end; ++i) {
    if (Parse(lines_[size_t(i)]).kind == LineKind::Key) last = i;
  }
  lines_.insert(lines_.begin() + last + 1, line);
}

std::vector<std::string> TIniDocument::Sections() const {
  std::vector<std::string> names;
  for (const std::string& raw : lines_) {
    ParsedLine p = Parse(raw);
    if (p.kind != LineKind::Header) continue;
    bool seen = false;
    for (const std::string& n : names) seen = seen || SameText(n, p.name);
    if (!seen) names.push_back(p.name);
  }
  return names;
}

std::vector<std::string> TIniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  int h = FindSection(section);
  if (h < 0) return keys;
  int end = SectionEnd(h);
  for (int i = h + 1; i < end; ++i) {
    ParsedLine p = Parse(lines_[size_t(i)]);
    if (p.kind != LineKind::Key || p.name.empty()) continue;
    bool seen = false;
    for (const std::string& k : keys) seen = seen || SameText(k, p.name);
    if (!seen) keys.push_back(p.name);
  }
  return keys;
}

bool TIniDocument::EraseSection(std::string_view section) {
  bool erased = false;
  for (int h = FindSection(section); h >= 0; h = FindSection(section)) {
    lines_.erase(lines_.begin() + h, lines_.begin() + SectionEnd(h));
    erased = true;
  }
  return erased;
}

bool TIniDocument::DeleteKey(std::string_view section, std::string_view ident) {
  int h = FindSection(section);
  if (h < 0) return false;
  bool deleted = false;
  for (int k = FindKey(h, ident); k >= 0; k = FindKey(h, ident)) {
    lines_.erase(lines_.begin() + k);
    deleted = true;
  }
  return deleted;
}

// ---- TIniFile ------------------------------------------------------------

const TIniDocument& TIniFile::Load() const {
  struct stat st{};
  int64_t stamp[4] = {0, -1, 0, 0};
  if (stat(fileName_.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
    stamp[0] = int64_t(st.st_ino);
    stamp[1] = int64_t(st.st_size);
    stamp[2] = int64_t(st.st_mtim.tv_sec);
    stamp[3] = int64_t(st.st_mtim.tv_nsec);
  }
  if (cached_ && std::equal(stamp, stamp + 4, stamp_)) return cache_;
  std::string text;
  if (stamp[1] >= 0) text = ReadFileBytes(fileName_);
  cache_.SetText(text);
  std::copy(stamp, stamp + 4, stamp_);
  cached_ = true;
  return cache_;
}

void TIniFile::Save(const TIniDocument& doc) {
  try {
    SaveFileAtomic(fileName_, doc.Text());
  } catch (const Exception&) {
    cached_ = false;
    throw EIniFileException("Unable to write to " + fileName_);
  }
  cached_ = false;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 std::string_view def) const {
  std::string value;
  if (Current().ReadString(section, ident, value)) return value;
  return std::string(def);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view ident,
                              int32_t def) const {
  std::string s = ReadString(section, ident, "");
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
  return StrToIntDef(s, def);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool def) const {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view ident,
                           std::string_view value) {
  TIniDocument doc = Load();
  doc.WriteString(section, ident, value);
  Save(doc);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int32_t value) {
  WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

const TIniDocument& TIniFile::Current() const {
  try {
    return Load();
  } catch (const EStreamError&) {
    // An unreadable file reads as an empty one.
    cache_.SetText("");
    cached_ = false;
    return cache_;
  }
}

void TIniFile::ReadSection(std::string_view section, TStrings& keys) const {
  keys.BeginUpdate();
  try {
    keys.Clear();
    for (const std::string& k : Current().Keys(section)) keys.Add(k);
  } catch (...) {
    keys.EndUpdate();
    throw;
  }
  keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
  sections.BeginUpdate();
  try {
    sections.Clear();
    for (const std::string& s : Current().Sections()) sections.Add(s);
  } catch (...) {
    sections.EndUpdate();
    throw;
  }
  sections.EndUpdate();
}

void TIniFile::ReadSectionValues(std::string_view section, TStrings& values) const {
  values.BeginUpdate();
  try {
    values.Clear();
    const TIniDocument& doc = Current();
    for (const std::string& k : doc.Keys(section)) {
      std::string v;
      doc.ReadString(section, k, v);
      values.Add(k + "=" + v);
    }
  } catch (...) {
    values.EndUpdate();
    throw;
  }
  values.EndUpdate();
}

bool TIniFile::SectionExists(std::string_view section) const {
  return !Current().Keys(section).empty();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
  std::string v;
  return Current().ReadString(section, ident, v);
}

void TIniFile::EraseSection(std::string_view section) {
  TIniDocument doc = Load();
  if (doc.EraseSection(section)) Save(doc);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident) {
  TIniDocument doc = Load();
  if (doc.DeleteKey(section, ident)) Save(doc);
}

}  // namespace vesper
