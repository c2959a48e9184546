// INI text files with the class library's semantics: "[Section]" headers,
// "Key=Value" lines, names compared ignoring ASCII case, ';' comments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

class TStrings;

// The text of an INI file, kept line by line so that edits leave comments
// and unknown lines alone. Accepts CR LF, LF or CR line ends, blank lines,
// comments and damaged lines (ignored); writes CR LF. Keys and values are
// trimmed; a value enclosed in a pair of matching quotes loses them. The
// first of repeated sections or keys counts.
class TIniDocument {
 public:
  TIniDocument() = default;
  explicit TIniDocument(std::string_view text) { SetText(text); }

  void SetText(std::string_view text);
  std::string Text() const;

  bool ReadString(std::string_view section, std::string_view ident, std::string& value) const;
  // Raises EIniFileException for names that cannot be stored (empty, line
  // breaks, '=' in a key, ']' in a section) and values with line breaks.
  void WriteString(std::string_view section, std::string_view ident, std::string_view value);
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(std::string_view section) const;
  // Erase returns false when there was nothing to remove.
  bool EraseSection(std::string_view section);
  bool DeleteKey(std::string_view section, std::string_view ident);

 private:
  // Index of the first header of `section`, -1 when absent.
  int FindSection(std::string_view section) const;
  // Index after the last line of the section starting at header `h`.
  int SectionEnd(int h) const;
  int FindKey(int h, std::string_view ident) const;

  std::vector<std::string> lines_;
};

class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(std::string_view section, std::string_view ident,
                         std::string_view def) const;
  // Decimal, "$FF" or "0xFF"; the default for anything else.
  int32_t ReadInteger(std::string_view section, std::string_view ident, int32_t def) const;
  // An integer other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view ident, bool def) const;

  // Every write replaces the file atomically; a failure raises
  // EIniFileException "Unable to write to %s".
  void WriteString(std::string_view section, std::string_view ident, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view ident, int32_t value);
  void WriteBool(std::string_view section, std::string_view ident, bool value);  // "1" / "0"

  // The lists are cleared first.
  void ReadSection(std::string_view section, TStrings& keys) const;
  void ReadSections(TStrings& sections) const;
  void ReadSectionValues(std::string_view section, TStrings& values) const;  // "Key=Value"
  // True when the section has at least one key.
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view ident) const;
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view ident);
  // Writes are never deferred, so there is nothing to flush; kept for callers.
  void UpdateFile() {}

 private:
  // The current text of the file (empty when missing), re-read when the file
  // changed since the last read.
  const TIniDocument& Load() const;
  // Load, with an unreadable file read as an empty one.
  const TIniDocument& Current() const;
  void Save(const TIniDocument& doc);

  std::string fileName_;
  mutable TIniDocument cache_;
  mutable bool cached_ = false;
  mutable int64_t stamp_[4] = {0, 0, 0, 0};  // inode, size, mtime sec, nsec
};

}  // namespace vesper
