#include "wizards/resexplorer/core/ResInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "platform/Streams.h"
#include "wizards/resexplorer/core/Exe32img.h"
#include "wizards/resexplorer/core/Exehdr.h"
#include "wizards/resexplorer/core/ResFileForms.h"

namespace vesper {

// One resource of a resource file, in file order. Offset and size are absolute.
struct TExeImage::Record {
  uint16_t Zero = 0;
  uint16_t Id = 0;
  std::string Name;
  uint16_t Type = 0;  // 0xFFFF for a named type
  uint32_t Position = 0;
  uint32_t Size = 0;
  std::string TypeName;
};

namespace {

using ItemList = std::vector<std::pair<std::string, std::unique_ptr<TResourceItem>>>;

std::string Hex4(unsigned v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04X", v);
  return buf;
}

std::string UnknownTypeName(unsigned rawType) { return "Unknown Type: 0x" + Hex4(rawType); }

std::string Decimal4(unsigned v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04u", v);
  return buf;
}

// Offsets and sizes of 16-bit executables are in units of 1 << shift.
uint32_t Scaled(uint16_t value, uint16_t shift) {
  return uint32_t(uint64_t(value) << std::min<unsigned>(shift, 32));
}

bool ReadExact(TStream& s, void* buffer, size_t count) { return s.Read(buffer, count) == count; }

bool ReadWord(TStream& s, uint16_t& v) {
  uint8_t b[2];
  if (!ReadExact(s, b, 2)) return false;
  v = uint16_t(b[0] | (b[1] << 8));
  return true;
}

bool ReadDWord(TStream& s, uint32_t& v) {
  uint8_t b[4];
  if (!ReadExact(s, b, 4)) return false;
  v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
  return true;
}

// A type or name of a 16-bit resource file: 0xFF and an id word, or a
// zero-terminated name of at most 255 bytes.
bool ReadRes16Ident(TStream& s, uint16_t& id, std::string& name, bool& named) {
  uint8_t first;
  if (!ReadExact(s, &first, 1)) return false;
  if (first == 0xFF) {
    named = false;
    return ReadWord(s, id);
  }
  named = true;
  name.clear();
  for (uint8_t c = first; c != 0;) {
    if (name.size() == 255) return false;
    name.push_back(char(c));
    if (!ReadExact(s, &c, 1)) return false;
  }
  return true;
}

// A type or name of a 32-bit resource file: 0xFFFF and an id word, or a
// zero-terminated UTF-16 string.
bool ReadRes32Ident(TStream& s, uint16_t& id, std::string& name, bool& named) {
  uint16_t first;
  if (!ReadWord(s, first)) return false;
  if (first == 0xFFFF) {
    named = false;
    return ReadWord(s, id);
  }
  named = true;
  std::u16string text;
  for (uint16_t c = first; c != 0;) {
    text.push_back(char16_t(c));
    if (!ReadWord(s, c)) return false;
  }
  name = Utf16ToAnsi(text);
  return true;
}

void SortItems(ItemList& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
}

std::string ResFileTypeName(uint16_t type) {
  if (type == 0 || type == 13 || (type > 16 && type != 256)) return UnknownTypeName(type);
  return FixedTypeName(type);
}

std::string Exe16TypeName(const TTypeInfo& type) {
  if (!(type.TypeId & 0x8000)) return type.Name;
  unsigned id = type.TypeId & 0x7FFF;
  if ((id >= 1 && id <= 10) || id == 12 || id == 14 || id == 15 || id == 16) return FixedTypeName(id);
  return UnknownTypeName(type.TypeId);
}

bool IsForm(std::string_view prefix) { return prefix.size() >= 4 && prefix.substr(0, 4) == "TPF0"; }

}  // namespace

std::string FixedTypeName(unsigned typeId) {
  static const char* const names[] = {
      nullptr,  "CURSOR",      "BITMAP",  "ICON",          "MENU",         "DIALOG",
      "STRINGS", "FONTDIR",    "FONT",    "ACCELERATOR",   "RCDATA",       "MESSAGE TABLE",
      "GROUP CURSOR", nullptr, "GROUP ICON", "NAME TABLE", "VERSION",      "FORMS"};
  if (typeId < std::size(names) && names[typeId]) return names[typeId];
  if (typeId == 256) return "POP-UP HELP";
  return "Unknown Type";
}

// ---- TResourceList ----

int TResourceList::IndexOf(const std::string& typeName) const {
  for (size_t i = 0; i < types_.size(); ++i)
    if (SameText(types_[i].name, typeName)) return int(i);
  return -1;
}

int TResourceList::Add(const std::string& typeName) {
  int found = IndexOf(typeName);
  if (found >= 0) return found;
  auto at = std::upper_bound(types_.begin(), types_.end(), typeName, [](const std::string& n, const Type& t) {
    return CompareText(n, t.name) < 0;
  });
  auto inserted = types_.insert(at, Type{typeName, nullptr});
  return int(inserted - types_.begin());
}

void TResourceList::AddItem(int index, std::unique_ptr<TResourceItem> item) {
  Type& type = types_.at(size_t(index));
  if (!type.first)
    type.first = std::move(item);
  else
    type.first->Children.push_back(std::move(item));
}

std::vector<const TResourceItem*> TResourceList::Items(int index) const {
  std::vector<const TResourceItem*> items;
  const TResourceItem* first = Item(index);
  if (!first) return items;
  items.push_back(first);
  for (auto& child : first->Children) items.push_back(child.get());
  return items;
}

// ---- TResourceItem ----

void TResourceItem::LoadData(TMemoryStream& stream) const {
  TFileStream file(owner_.FileName(), fmOpenRead);
  if (uint64_t(Offset) + Size > uint64_t(file.Size())) throw EExeImage(SDataOutsideFile);
  file.Seek(Offset, SeekOrigin::Beginning);
  stream.SetSize(Size);
  stream.SetPosition(0);
  file.ReadBuffer(stream.DataString().data(), Size);
  stream.SetPosition(0);
}

std::string TResourceItem::Data() const {
  TMemoryStream stream;
  LoadData(stream);
  return std::move(stream.DataString());
}

void TResourceItem::SaveToStream(TStream& stream) const {
  std::string data = Data();
  switch (ResType) {
    case rtCursor:
    case rtIcon: stream.WriteString(IconFileFromResource(data, ResType == rtCursor)); break;
    case rtBitmap: stream.WriteString(BitmapFileFromResource(data, Size)); break;
    case rtString: stream.WriteString(StringTableText(data, StringTableFirstId(*this), IsUnicode)); break;
    case rtForms: stream.WriteString(FormResourceRecord(Name, data)); break;
    default: stream.WriteString(data);
  }
}

std::string TResourceItem::PictureData() const {
  switch (ResType) {
    case rtCursor:
    case rtIcon: return IconFileFromResource(Data(), ResType == rtCursor);
    case rtBitmap: return BitmapFileFromResource(Data(), Size);
    default: throw EExeImage(SNotPictureType);
  }
}

std::string TResourceItem::FormText() const { return FormDataToText(Data()); }

// ---- TExeImage ----

TExeImage::TExeImage(std::string fileName) : fileName_(std::move(fileName)) {
  std::string ext = UpperCase(ExtractFileExt(fileName_));
  if (!ext.empty() && std::string_view(SResFileExtensions).find(ext) != std::string_view::npos) {
    ReadResFile();
    return;
  }
  TExeHeaders headers;
  int rc = ReadExeHeaders(fileName_, headers);
  if (rc == ehOk) {
    is16Bit_ = true;
    ReadExe16(headers);
  } else if (rc == ehNotNewExe) {
    ReadExe32();
  } else {
    throw EExeImage(ExeHeaderErrorText(rc));
  }
}

TExeImage::~TExeImage() = default;

const TResourceItem* TExeImage::FindItem(const std::string& typeName, const std::string& itemName) const {
  int index = resources_.IndexOf(typeName);
  if (index < 0) return nullptr;
  for (const TResourceItem* item : resources_.Items(index))
    if (SameText(item->Name, itemName)) return item;
  return nullptr;
}

void TExeImage::AddSorted(const std::string& typeName, ItemList& items) {
  SortItems(items);
  int index = resources_.Add(typeName);
  for (auto& [key, item] : items) resources_.AddItem(index, std::move(item));
  items.clear();
}

void TExeImage::ReadResFile() {
  TMemoryStream data;
  try {
    data.LoadFromFile(fileName_);
  } catch (const Exception&) {
    throw EExeImage(ExeHeaderErrorText(ehOpenFailed));
  }
  const std::string& bytes = data.DataString();
  auto word = [&](size_t at) { return uint16_t(uint8_t(bytes[at]) | (uint8_t(bytes[at + 1]) << 8)); };
  auto dword = [&](size_t at) { return uint32_t(word(at)) | (uint32_t(word(at + 2)) << 16); };
  isResFile_ = true;
  if (bytes.size() >= 12 && dword(0) == 0 && dword(4) == 32 && word(8) == 0xFFFF && word(10) == 0) {
    is16Bit_ = false;
    ReadRes32Records(data);
  } else if (bytes.size() >= 12 && uint8_t(bytes[0]) == 0xFF && word(4) != 0) {
    is16Bit_ = true;
    ReadRes16Records(data);
  } else {
    throw EExeImage(SNotValidResFile);
  }
  GroupRecords();
}

void TExeImage::ReadRes16Records(TStream& s) {
  s.SetPosition(0);
  for (;;) {
    Record r;
    bool typeNamed, nameNamed;
    if (!ReadRes16Ident(s, r.Type, r.TypeName, typeNamed)) return;
    if (!ReadRes16Ident(s, r.Id, r.Name, nameNamed)) return;
    uint16_t flags;
    if (!ReadWord(s, flags) || !ReadDWord(s, r.Size)) return;
    if (typeNamed) r.Type = 0xFFFF;
    if (!nameNamed) r.Name = Decimal4(r.Id);
    int64_t pos = s.Position();
    if (pos > int64_t(UINT32_MAX)) return;
    r.Position = uint32_t(pos);
    records_.push_back(std::move(r));
    s.Seek(pos + int64_t(records_.back().Size), SeekOrigin::Beginning);
  }
}

void TExeImage::ReadRes32Records(TStream& s) {
  s.SetPosition(0);
  for (bool first = true;; first = false) {
    Record r;
    uint32_t headerSize;
    if (!ReadDWord(s, r.Size)) return;
    bool typeNamed, nameNamed;
    if (!ReadDWord(s, headerSize) || !ReadRes32Ident(s, r.Type, r.TypeName, typeNamed) ||
        !ReadRes32Ident(s, r.Id, r.Name, nameNamed))
      return;
    int64_t pos = (s.Position() + 3) & ~int64_t(3);
    uint8_t rest[16];
    s.SetPosition(pos);
    if (!ReadExact(s, rest, sizeof rest)) return;
    pos += 16;
    if (pos > int64_t(UINT32_MAX)) return;
    if (typeNamed) r.Type = 0xFFFF;
    if (!nameNamed) r.Name = Decimal4(r.Id);
    r.Position = uint32_t(pos);
    if (!first) records_.push_back(r);
    s.SetPosition((pos + int64_t(r.Size) + 3) & ~int64_t(3));
  }
}

void TExeImage::GroupRecords() {
  size_t i = 0;
  while (i < records_.size()) {
    const Record& head = records_[i];
    std::string typeName = head.Type == 0xFFFF ? head.TypeName : ResFileTypeName(head.Type);
    ItemList batch;
    for (; i < records_.size(); ++i) {
      const Record& r = records_[i];
      if (r.Type != head.Type || (r.Type == 0xFFFF && r.TypeName != head.TypeName)) break;
      auto item = std::make_unique<TResourceItem>(*this);
      item->Name = r.Name;
      item->Offset = r.Position;
      item->Size = r.Size;
      item->ResType = r.Type;
      item->Id = r.Id;
      item->OrdinalId = r.Id;
      item->IsUnicode = !is16Bit_;
      batch.emplace_back(r.Name, std::move(item));
    }
    AddSorted(typeName, batch);
  }
}

void TExeImage::ReadExe16(const TExeHeaders& headers) {
  resources_.AlignShift = headers.AlignShift;
  if (headers.Types.empty()) return;
  TFileStream file(fileName_, fmOpenRead);
  for (size_t t = 0; t < headers.Types.size(); ++t) ReadExe16Type(file, headers, t);
}

void TExeImage::ReadExe16Type(TStream& file, const TExeHeaders& headers, size_t typeIndex) {
  const TTypeInfo& type = headers.Types[typeIndex];
  std::string typeName = Exe16TypeName(type);
  bool rcdata = typeName == "RCDATA";
  ItemList forms, others;
  for (const TNameInfo& r : type.Resources) {
    auto item = std::make_unique<TResourceItem>(*this);
    std::string key;
    if (r.Id & 0x8000) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "0x%04X%u", unsigned(r.Id), unsigned(r.Id & 0x7FFF));
      key = buf;
      item->Name = key.substr(6);
    } else {
      key = item->Name = r.Name;
    }
    item->Offset = Scaled(r.Offset, headers.AlignShift);
    item->Size = Scaled(r.Length, headers.AlignShift);
    item->ResType = (type.TypeId & 0x8000) ? (type.TypeId & 0x7FFF) : 0;
    item->Id = r.Id;
    item->IsUnicode = false;
    bool form = false;
    if (rcdata) {
      char magic[4];
      file.Seek(item->Offset, SeekOrigin::Beginning);
      form = file.Read(magic, 4) == 4 && IsForm(std::string_view(magic, 4));
    }
    if (form) item->ResType = rtForms;
    (form ? forms : others).emplace_back(key, std::move(item));
  }
  if (!forms.empty()) AddSorted(FixedTypeName(rtForms), forms);
  if (!others.empty() || !rcdata) AddSorted(typeName, others);
}

void TExeImage::ReadExe32() {
  TExe32Image image(fileName_);
  TResource32List& root = image.ResourceRoot();
  // Every real item has a directory entry of its own; directories shared by
  // many entries of a hostile file would otherwise multiply without end.
  uint64_t budget = image.FileSize() / 8 + 16;
  auto take = [&budget] {
    if (budget-- == 0) throw EExe32Image("Damaged file: resource directories refer to each other");
  };
  for (int t = 0; t < root.Count(); ++t) {
    TResource32Item& type = root.Items(t);
    std::string typeName = UpperCase(type.Name());
    if (typeName == "STRING") typeName = "STRINGS";
    int resType = type.IsNamed() ? 0 : int(type.RawId() & 0x7F);
    auto makeItem = [&](TResource32Item& entry) {
      take();
      bool form = IsForm(entry.DataPrefix(4));
      auto item = std::make_unique<TResourceItem>(*this);
      item->Name = entry.Name();
      item->Size = entry.DataSize();
      item->Offset = entry.Offset();
      item->ResType = form ? int(rtForms) : resType;
      item->IsUnicode = true;
      item->OrdinalId = entry.RawId();
      item->Id = uint16_t(entry.RawId());
      return item;
    };
    ItemList forms, others;
    if (!type.IsList()) {
      others.emplace_back(type.Name(), makeItem(type));
    } else {
      TResource32List& list = type.SubList();
      bool rcdata = typeName == "RCDATA";
      for (int i = 0; i < list.Count(); ++i) {
        TResource32Item& entry = list.Items(i);
        auto item = makeItem(entry);
        bool form = rcdata && item->ResType == rtForms;
        char key[32];
        std::snprintf(key, sizeof key, "0x%04X - ", entry.RawId());
        std::string sortKey = form ? item->Name : key + item->Name;
        (form ? forms : others).emplace_back(sortKey, std::move(item));
      }
      if (rcdata) {
        if (!forms.empty()) AddSorted(FixedTypeName(rtForms), forms);
        if (others.empty()) continue;
      }
    }
    AddSorted(typeName, others);
  }
}

}  // namespace vesper
