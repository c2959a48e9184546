// Version information: queries over a version resource's data (both the
// 16-bit and the 32-bit layouts) and the rows the explorer shows for one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

class TExeImage;
class TResourceItem;

// The data of one version resource, queried by path as the system's call
// does: "\" (fixed information), "\VarFileInfo\Translation",
// "\StringFileInfo\040904E4\CompanyName". The 32-bit layout goes through the
// platform's version calls; the 16-bit layout (8-bit keys, no type word) is
// read here. Keys compare without regard to case.
class TVersionData {
 public:
  TVersionData(std::string data, bool unicode) : data_(std::move(data)), unicode_(unicode) {}
  // The value bytes of the block at `path`, or nothing.
  std::optional<std::string_view> QueryValue(std::string_view path) const;
  // A string value converted to the ANSI code page.
  std::optional<std::string> QueryString(std::string_view path) const;
  // The search used for resource files: the zero-terminated string after
  // the first occurrence of `key`; empty when the key is absent.
  std::string SearchString(std::string_view key) const;
  const std::string& Data() const { return data_; }
  bool IsUnicode() const { return unicode_; }

 private:
  struct Block {
    size_t start = 0, end = 0, value = 0, valueLength = 0, children = 0;
    std::string key;
  };
  std::optional<Block> ReadBlock(size_t at, size_t limit) const;
  std::string data_;
  bool unicode_;
};

// The fixed file information block.
struct TFixedFileInfo {
  uint32_t Signature, StrucVersion, FileVersionMS, FileVersionLS, ProductVersionMS, ProductVersionLS,
      FileFlagsMask, FileFlags, FileOS, FileType, FileSubtype, FileDateMS, FileDateLS;
};

struct TVersionRow {
  std::string Title;
  std::string Value;
};

// Lookup tables stored as "value,name" rows.
enum class TVersionTable { OperatingSystems, FileTypes, Languages, CharSets };
// The name of `value` in `table`, empty when absent.
std::string LookupVersionTable(TVersionTable table, uint32_t value);
// The (language, character set) pair to use: the first with language 1033,
// else the last; 1033 and 0 without a translation block.
std::pair<uint16_t, uint16_t> ChooseTranslation(std::optional<std::string_view> translation);

// The rows of the version view for a VERSION item of `image`.
std::vector<TVersionRow> VersionRows(const TExeImage& image, const TResourceItem& item);

}  // namespace vesper
