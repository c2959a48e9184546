// The entry records and lists of the simple kinds of a resource project:
// strings, bitmaps, icons, cursors, RCDATA items, history and notes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "wizards/resedit/core/MemOptions.h"
#include "wizards/resedit/core/ResList.h"

namespace vesper {

// Compression method of bitmaps and RCDATA items.
enum TResCompression : uint8_t { rcNone = 0, rcRle = 1, rcLzh = 2 };

struct TStringEntry : TResEntry {
  std::string Text;  // may hold escape sequences
};

// An entry whose data come from a file named in the project.
struct TFileEntry : TResEntry {
  std::string FileName;
  uint16_t MemOptions = moDefault;
};

struct TBmpEntry : TFileEntry {
  bool LoadByName = false;
  uint8_t Compression = rcNone;
};

struct TIconEntry : TFileEntry {
  bool LoadByName = false;
};

using TCursorEntry = TIconEntry;

// How an RCDATA file is embedded (low byte of the kind-and-compression word).
enum TRcDataKind : uint8_t { rkRcData = 0, rkSound = 1, rkVideo = 2, rkForm = 3 };

// Kind-and-compression value of entries read from the older layout.
constexpr uint16_t rkOlderLayout = 10;

struct TRcDataEntry : TFileEntry {
  uint16_t KindAndCompression = 0;  // low byte kind, high byte compression
  uint8_t Kind() const { return uint8_t(KindAndCompression & 0xFF); }
  uint8_t Compression() const { return uint8_t(KindAndCompression >> 8); }
  void SetKind(uint8_t kind) { KindAndCompression = uint16_t((KindAndCompression & 0xFF00) | kind); }
  void SetCompression(uint8_t c) { KindAndCompression = uint16_t((KindAndCompression & 0x00FF) | (c << 8)); }
};

struct TRcDataKindInfo {
  uint8_t Kind;
  const char* Caption;      // as shown
  const char* Filter;       // file dialog filter
  const char* TypeName;     // compiled type, nullptr for RCDATA (10)
  const char* PackedType;   // compiled type when compressed
};

// The four kinds in value order.
const std::vector<TRcDataKindInfo>& RcDataKinds();
// The kind's caption; "Unknown" for any other value.
std::string RcDataKindCaption(uint8_t kind);

class TStringResource : public TResList<TStringEntry> {
 public:
  using TResList::TResList;
};

class TBmpResource : public TResList<TBmpEntry> {
 public:
  using TResList::TResList;
};

class TIconResource : public TResList<TIconEntry> {
 public:
  using TResList::TResList;
};

class TCursorResource : public TResList<TCursorEntry> {
 public:
  using TResList::TResList;
};

class TRcDataResource : public TResList<TRcDataEntry> {
 public:
  using TResList::TResList;
};

// A history entry; versions are packed major (high byte) down to build.
struct THistoryEntry {
  uint32_t FileVersion = 0;
  uint32_t ProductVersion = 0;
  TDateTime Date = 0;
  std::string Author;
  std::string Comments;
};

// Unkeyed: entries stay in the order given.
class THistoryResource {
 public:
  explicit THistoryResource(TResources* owner) : owner_(owner) {}
  THistoryResource(const THistoryResource&) = delete;
  THistoryResource& operator=(const THistoryResource&) = delete;

  TResources* Owner() const { return owner_; }
  int Count() const { return int(items_.size()); }
  bool Empty() const { return items_.empty(); }
  const std::vector<std::unique_ptr<THistoryEntry>>& Items() const { return items_; }
  THistoryEntry* At(int index) const;
  THistoryEntry* Current() const { return current_; }
  int CurrentIndex() const { return IndexOf(current_); }
  int IndexOf(const THistoryEntry* entry) const;

  THistoryEntry* Append(THistoryEntry entry);
  // False when the entry is not one of this list.
  bool Delete(const THistoryEntry* entry);
  void Clear();

 private:
  TResources* owner_;
  std::vector<std::unique_ptr<THistoryEntry>> items_;
  THistoryEntry* current_ = nullptr;
};

class TNotesResource {
 public:
  explicit TNotesResource(TResources* owner) : owner_(owner) {}
  TResources* Owner() const { return owner_; }
  std::string Text;

 private:
  TResources* owner_;
};

}  // namespace vesper
