#include "wizards/resexplorer/core/ExeImports.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/StrUtils.h"
#include "wizards/resexplorer/core/Exe32img.h"

namespace vesper {
namespace {

// Bounds the work on hostile tables whose descriptors share long arrays or
// whose names run on for megabytes.
constexpr uint64_t kMaxThunks = 1u << 20;
constexpr uint64_t kMaxNameBytes = 64u << 20;

struct Budget {
  uint64_t thunks = kMaxThunks;
  uint64_t bytes = kMaxNameBytes;
  void Take(size_t nameBytes) {
    if (thunks == 0 || nameBytes > bytes) throw EExe32Image("Damaged import table");
    --thunks;
    bytes -= nameBytes;
  }
};

struct ImportSection {
  uint64_t va = 0, end = 0;
  uint32_t delta = 0;
  bool Inside(uint64_t address) const { return address > va && address < end; }
};

// Appends the names of one thunk array; returns false when it held none.
bool WalkThunks(const TExe32Image& image, const ImportSection& sec, uint32_t array, const std::string& module,
                std::vector<std::string>& out, Budget& budget) {
  const uint64_t ordinalFlag = image.Is64Bit() ? (1ull << 63) : 0x80000000ull;
  const unsigned width = image.Is64Bit() ? 8 : 4;
  bool any = false;
  for (uint64_t at = uint64_t(array) - sec.delta;; at += width) {
    budget.Take(0);
    uint64_t value = image.Is64Bit() ? image.QWord(at) : image.DWord(at);
    if (value == 0 || (value & ordinalFlag)) break;
    std::string name = image.CString(uint32_t(value) - uint64_t(sec.delta) + 2);
    budget.Take(module.size() + name.size());
    out.push_back(module + "\t" + name);
    any = true;
  }
  return any;
}

}  // namespace

// A sorted list that ignores duplicates, compared without regard to case.
TStringList SortedList() {
  TStringList list;
  list.SetSorted(true);
  return list;
}

TStringList ReadImports(const TExe32Image& image) {
  std::vector<std::string> entries;
  std::optional<TImageSectionHeader> idata = image.FindSection(".idata");
  if (!idata) return SortedList();
  ImportSection sec;
  const TImageSectionHeader& h = *idata;
  sec.va = h.VirtualAddress;
  sec.end = uint64_t(h.VirtualAddress) + h.SizeOfRawData;
  sec.delta = h.VirtualAddress - h.PointerToRawData;
  Budget budget;
  for (uint64_t d = h.PointerToRawData;; d += 20) {
    uint32_t originalFirst = image.DWord(d), stamp = image.DWord(d + 4);
    uint32_t name = image.DWord(d + 12), first = image.DWord(d + 16);
    if (stamp == 0 && name == 0) break;
    std::string module = image.CString(uint64_t(name) - sec.delta);
    budget.Take(module.size());
    uint64_t firstValue = image.Is64Bit() ? image.QWord(uint64_t(first) - sec.delta)
                                          : image.DWord(uint64_t(first) - sec.delta);
    uint32_t array;
    if (sec.Inside(firstValue))
      array = first;
    else if (originalFirst != 0 && sec.Inside(originalFirst))
      array = originalFirst;
    else
      break;
    if (!WalkThunks(image, sec, array, module, entries, budget)) entries.push_back(module + "\t");
  }
  // Added in order, each entry lands at the list's end.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  TStringList list = SortedList();
  for (auto& e : entries) list.Add(e);
  return list;
}

namespace {

class PackageData {
 public:
  explicit PackageData(std::string_view data) : data_(data) {}
  uint32_t Read(size_t bytes) {
    if (data_.size() - pos_ < bytes) throw EReadError("Stream read error");
    uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i) v |= uint32_t(uint8_t(data_[pos_ + i])) << (8 * i);
    pos_ += bytes;
    return v;
  }
  std::string Name() {
    size_t end = data_.find('\0', pos_);
    if (end == std::string_view::npos) throw EReadError("Stream read error");
    std::string name(data_.substr(pos_, end - pos_));
    pos_ = end + 1;
    return name;
  }

 private:
  std::string_view data_;
  size_t pos_ = 0;
};

std::string_view PackageInfoData(TExe32Image& image) {
  EResNotFound notFound("Resource PACKAGEINFO not found");
  if (!image.FindSection(".rsrc")) throw notFound;
  TResource32List& root = image.ResourceRoot();
  for (int t = 0; t < root.Count(); ++t) {
    TResource32Item& type = root.Items(t);
    if (type.IsNamed() || type.RawId() != 10 || !type.IsList()) continue;
    TResource32List& items = type.SubList();
    for (int i = 0; i < items.Count(); ++i) {
      TResource32Item& item = items.Items(i);
      if (!item.IsNamed() || !SameText(item.Name(), "PACKAGEINFO")) continue;
      uint64_t at = item.Offset(), size = item.DataSize();
      if (!image.Contains(at, size)) RaiseDamagedImage();
      return std::string_view(reinterpret_cast<const char*>(image.Base() + at), size_t(size));
    }
  }
  throw notFound;
}

}  // namespace

TStringList ReadPackageUnits(TExe32Image& image) {
  PackageData data(PackageInfoData(image));
  TStringList units = SortedList();
  data.Read(4);  // flags
  uint32_t required = data.Read(4);
  // Each required package: a hash byte and its name.
  for (uint32_t i = 0; i < required; ++i) {
    data.Read(1);
    data.Name();
  }
  uint32_t contained = data.Read(4);
  for (uint32_t i = 0; i < contained; ++i) {
    data.Read(2);
    std::string unit = data.Name();
    if (i > 0) units.Add(unit);
  }
  return units;
}

std::string ImportModule(const std::string& entry) { return entry.substr(0, entry.find('\t')); }

void SplitImport(const std::string& entry, std::string& module, std::string& function) {
  size_t tab = entry.find('\t');
  module = UpperCase(entry.substr(0, tab));
  function = tab == std::string::npos ? std::string() : entry.substr(tab + 1);
}

}  // namespace vesper
