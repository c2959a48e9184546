// The checks the item editors run before changing a keyed list, the history
// editor's checks, and the decoding of escape sequences in string texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/StrUtils.h"
#include "wizards/resedit/core/ResNotices.h"

namespace vesper {

// What an editor holds when "Add" or "Update" is pressed. The id is the
// number typed, before it is narrowed to 16 bits.
struct TEntryFields {
  int64_t Id = 0;
  std::string Name;
  std::string FileName;  // checked only for kinds with a file
  std::string Text;      // checked only for strings
  bool NeedsFile = false;
  bool NeedsText = false;
};

inline constexpr const char* kNoBlankFields = "No Blank fields please.";
inline constexpr const char* kIdRange = "ID > 0 and < 65535 please";
std::string IdExistsMessage(int64_t id);            // "Resource Id of %d already exists"
std::string NameExistsMessage(std::string_view n);  // "Resource Name of "%s" already exists"

// Blank fields and the id range (1-65535).
TResCheck CheckEntryFields(const TEntryFields& f);

// The add check: fields, then (in a list that is not empty) an id and then a
// name that exist already.
template <class List>
TResCheck CheckAdd(const List& list, const TEntryFields& f) {
  if (TResCheck c = CheckEntryFields(f); !c) return c;
  if (list.Empty()) return {};
  if (list.FindById(uint16_t(f.Id))) return TResCheck::Refuse(IdExistsMessage(f.Id), true);
  if (list.FindByName(f.Name)) return TResCheck::Refuse(NameExistsMessage(f.Name));
  return {};
}

// The update check of the entry with `ownId`: fields, then a new id that
// exists or a name that another entry has.
template <class List>
TResCheck CheckUpdate(const List& list, uint16_t ownId, const TEntryFields& f) {
  if (TResCheck c = CheckEntryFields(f); !c) return c;
  auto* own = list.FindById(ownId);
  if (f.Id != ownId && list.FindById(uint16_t(f.Id))) return TResCheck::Refuse(IdExistsMessage(f.Id), true);
  if (list.FindByName(f.Name, own)) return TResCheck::Refuse(NameExistsMessage(f.Name));
  return {};
}

// "No point in adding nothing" / "No point in updating with nothing".
TResCheck CheckHistoryAdd(std::string_view comments);
TResCheck CheckHistoryUpdate(std::string_view comments);

// A string text as compiled: \n 10, \r 13, \t 9, \\ backslash, \a 8 (as resource compilers read it),
// \" quote, \ddd the byte d1*64 + d2*8 + d3; any other backslash stays.
std::string DecodeEscapes(std::string_view text);

}  // namespace vesper
