#include "wizards/resexplorer/core/Exe32img.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/CodePage.h"
#include "platform/StrUtils.h"

namespace vesper {
namespace {

constexpr size_t kNtHeadersSize = 248;
constexpr size_t kMaxNameChars = 127;

const char* const kTypeNames[17] = {
    "Unknown0",  "Cursor",    "Bitmap",       "Icon",        "Menu",
    "Dialog",    "String",    "FontDir",      "Font",        "Accelerators",
    "RCData",    "MessageTable", "GroupCursor", "Unknown13", "GroupIcon",
    "Unknown15", "Version"};

}  // namespace

void RaiseDamagedImage() { throw EExe32Image("Damaged file: a table lies outside the file"); }

// ---- TExe32Image ----

TExe32Image::TExe32Image(std::string fileName) : fileName_(std::move(fileName)) {
  try {
    Map();
    CheckHeaders();
  } catch (...) {
    Unmap();
    throw;
  }
}

TExe32Image::~TExe32Image() {
  root_.reset();
  Unmap();
}

void TExe32Image::Unmap() {
  if (base_) munmap(const_cast<uint8_t*>(base_), size_);
  if (fd_ >= 0) close(fd_);
  base_ = nullptr;
  fd_ = -1;
}

void TExe32Image::Map() {
  fd_ = open(fileName_.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))
    throw EExe32Image("Couldn't open: " + fileName_);
  if (st.st_size <= 0) throw EExe32Image("CreateFileMapping failed");
  size_ = uint64_t(st.st_size);
  void* view = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd_, 0);
  if (view == MAP_FAILED) throw EExe32Image("MapViewOfFile failed");
  base_ = static_cast<const uint8_t*>(view);
}

void TExe32Image::CheckHeaders() {
  if (size_ < 2 || base_[0] != 'M' || base_[1] != 'Z') throw EExe32Image("unrecognized file format");
  if (!Contains(0x3C, 4)) throw EExe32Image("Not a PE (WIN32 Executable) file");
  ntHeaders_ = DWord(0x3C);
  if (!Contains(ntHeaders_, kNtHeadersSize) || std::memcmp(base_ + ntHeaders_, "PE\0\0", 4) != 0)
    throw EExe32Image("Not a PE (WIN32 Executable) file");
  sectionCount_ = Word(ntHeaders_ + 6);
  uint16_t optionalSize = Word(ntHeaders_ + 20);
  is64_ = Word(ntHeaders_ + 24) == 0x20B;
  // The section table follows the optional header, whatever its size.
  sectionTable_ = ntHeaders_ + 24 + optionalSize;
}

uint16_t TExe32Image::Word(uint64_t offset) const {
  if (!Contains(offset, 2)) RaiseDamagedImage();
  return uint16_t(base_[offset] | (base_[offset + 1] << 8));
}

uint32_t TExe32Image::DWord(uint64_t offset) const {
  if (!Contains(offset, 4)) RaiseDamagedImage();
  uint32_t v;
  std::memcpy(&v, base_ + offset, 4);
  return v;
}

uint64_t TExe32Image::QWord(uint64_t offset) const {
  if (!Contains(offset, 8)) RaiseDamagedImage();
  uint64_t v;
  std::memcpy(&v, base_ + offset, 8);
  return v;
}

std::string TExe32Image::CString(uint64_t offset) const {
  if (offset >= size_) RaiseDamagedImage();
  const char* p = reinterpret_cast<const char*>(base_ + offset);
  return std::string(p, strnlen(p, size_ - offset));
}

std::optional<TImageSectionHeader> TExe32Image::FindSection(std::string_view name) const {
  name = name.substr(0, 8);
  for (unsigned i = 0; i < sectionCount_; ++i) {
    uint64_t at = sectionTable_ + uint64_t(i) * sizeof(TImageSectionHeader);
    if (!Contains(at, sizeof(TImageSectionHeader))) return std::nullopt;
    TImageSectionHeader section;
    std::memcpy(&section, base_ + at, sizeof section);
    std::string_view stored(section.Name, strnlen(section.Name, 8));
    if (SameText(stored, name)) return section;
  }
  return std::nullopt;
}

TResource32List& TExe32Image::ResourceRoot() {
  if (!root_) {
    std::optional<TImageSectionHeader> rsrc = FindSection(".rsrc");
    if (!rsrc) throw EExe32Image("No resources in this file.");
    const TImageSectionHeader& h = *rsrc;
    if (!Contains(h.PointerToRawData, 16)) RaiseDamagedImage();
    rsrcRaw_ = h.PointerToRawData;
    rsrcVa_ = h.VirtualAddress;
    root_ = std::make_unique<TResource32List>(*this, rsrcRaw_, 0, true);
  }
  return *root_;
}

// ---- TResource32List ----

TResource32List::TResource32List(TExe32Image& image, uint32_t dirOffset, uint8_t typeId, bool root)
    : image_(image), dirOffset_(dirOffset), typeId_(typeId), root_(root) {}

void TResource32List::Load() {
  if (loaded_) return;
  loaded_ = true;
  unsigned count = unsigned(image_.Word(dirOffset_ + 12)) + image_.Word(dirOffset_ + 14);
  uint64_t first = uint64_t(dirOffset_) + 16;
  if (!image_.Contains(first, uint64_t(count) * 8)) RaiseDamagedImage();
  items_.reserve(count);
  for (unsigned i = 0; i < count; ++i)
    items_.push_back(std::make_unique<TResource32Item>(image_, uint32_t(first + i * 8), typeId_, root_));
}

int TResource32List::Count() {
  Load();
  return int(items_.size());
}

TResource32Item& TResource32List::Items(int index) {
  Load();
  return *items_.at(size_t(index));
}

// ---- TResource32Item ----

TResource32Item::TResource32Item(TExe32Image& image, uint32_t entryOffset, uint8_t typeId, bool root)
    : image_(image), entryOffset_(entryOffset), typeId_(typeId), root_(root) {
  rawId_ = image_.DWord(entryOffset_);
  target_ = image_.DWord(entryOffset_ + 4);
  if (root_) typeId_ = uint8_t(rawId_);
}

std::string TResource32Item::Name() const {
  if (IsNamed()) {
    uint64_t at = uint64_t(image_.ResourceRawOffset()) + (rawId_ & 0x7FFFFFFF);
    size_t len = std::min<size_t>(image_.Word(at), kMaxNameChars);
    if (!image_.Contains(at + 2, len * 2)) RaiseDamagedImage();
    std::u16string text(len, u'\0');
    for (size_t i = 0; i < len; ++i) text[i] = char16_t(image_.Word(at + 2 + i * 2));
    return Utf16ToAnsi(text);
  }
  if (root_ && rawId_ <= 16) return kTypeNames[rawId_];
  return std::to_string(rawId_);
}

bool TResource32Item::IsList() const {
  if (!(target_ & 0x80000000u)) return false;
  uint64_t dir = uint64_t(image_.ResourceRawOffset()) + (target_ & 0x7FFFFFFF);
  unsigned count = unsigned(image_.Word(dir + 12)) + image_.Word(dir + 14);
  if (count == 0) return false;
  return (image_.DWord(dir + 16 + 4) & 0x80000000u) != 0;
}

TResource32List& TResource32Item::SubList() {
  if (!IsList()) throw EExe32Image("ResourceItem is not a list");
  if (!subList_) {
    uint32_t dir = image_.ResourceRawOffset() + (target_ & 0x7FFFFFFF);
    subList_ = std::make_unique<TResource32List>(image_, dir, typeId_, false);
  }
  return *subList_;
}

uint32_t TResource32Item::DataEntry() const {
  uint32_t target = target_;
  if (target & 0x80000000u) {
    // The first language of the name's directory.
    uint64_t dir = uint64_t(image_.ResourceRawOffset()) + (target & 0x7FFFFFFF);
    unsigned count = unsigned(image_.Word(dir + 12)) + image_.Word(dir + 14);
    if (count == 0) return 0;
    target = image_.DWord(dir + 16 + 4);
    if (target & 0x80000000u) RaiseDamagedImage();
  }
  uint64_t entry = uint64_t(image_.ResourceRawOffset()) + target;
  if (!image_.Contains(entry, 16)) RaiseDamagedImage();
  return uint32_t(entry);
}

uint32_t TResource32Item::DataAddress() const {
  uint32_t entry = DataEntry();
  return entry ? image_.DWord(entry) : 0;
}

uint32_t TResource32Item::DataSize() const {
  uint32_t entry = DataEntry();
  return entry ? image_.DWord(entry + 4) : 0;
}

uint32_t TResource32Item::Offset() const {
  uint32_t entry = DataEntry();
  return entry ? image_.DWord(entry) - image_.ResourceDelta() : 0;
}

std::string_view TResource32Item::DataPrefix(size_t count) const {
  uint32_t entry = DataEntry();
  if (!entry) return {};
  uint64_t at = Offset();
  uint64_t size = std::min<uint64_t>(count, image_.DWord(entry + 4));
  if (at >= image_.FileSize()) return {};
  size = std::min<uint64_t>(size, image_.FileSize() - at);
  return std::string_view(reinterpret_cast<const char*>(image_.Base() + at), size_t(size));
}

}  // namespace vesper
