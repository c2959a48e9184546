#include "platform/StringList.h"

#include <algorithm>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Streams.h"
#include "platform/StrUtils.h"

namespace vesper {

// ---- TStrings ------------------------------------------------------------

void TStrings::IndexError(int index) {
  throw EStringListError(Format("List index out of bounds (%d)", {index}));
}

void TStrings::Put(int index, const std::string& s) {
  void* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, void* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, void* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  BeginUpdate();
  try {
    Clear();
    AddStrings(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
  std::string s1 = Get(index1);
  void* o1 = GetObject(index1);
  std::string s2 = Get(index2);
  void* o2 = GetObject(index2);
  Put(index1, s2);
  PutObject(index1, o2);
  Put(index2, s1);
  PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
  std::string s = Get(curIndex);
  void* object = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, object);
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (Get(i) != other.Get(i)) return false;
  }
  return true;
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
  return CompareStr(a, b);
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Get(i), s) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const void* object) const {
  for (int i = 0; i < Count(); ++i) {
    if (GetObject(i) == object) return i;
  }
  return -1;
}

std::string TStrings::Names(int index) const {
  std::string s = Get(index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && CompareStrings(std::string_view(s).substr(0, eq), name) == 0) {
      return i;
    }
  }
  return -1;
}

std::string TStrings::Values(std::string_view name) const {
  int i = IndexOfName(name);
  if (i < 0) return {};
  std::string s = Get(i);
  return s.substr(s.find('=') + 1);
}

void TStrings::SetValue(std::string_view name, std::string_view value) {
  int i = IndexOfName(name);
  std::string item = std::string(name) + "=" + std::string(value);
  if (!value.empty()) {
    if (i < 0) {
      Add(item);
    } else {
      Put(i, item);
    }
  } else if (i >= 0) {
    Delete(i);
  }
}

std::string TStrings::CommaText() const {
  int n = Count();
  if (n == 1 && Get(0).empty()) return "\"\"";
  std::string result;
  for (int i = 0; i < n; ++i) {
    std::string s = Get(i);
    bool quote = std::any_of(s.begin(), s.end(), [](char c) {
      return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',';
    });
    if (quote) {
      std::string q = "\"";
      for (char c : s) {
        q += c;
        if (c == '"') q += '"';
      }
      s = q + "\"";
    }
    if (i > 0) result += ',';
    result += s;
  }
  return result;
}

namespace {

// Control characters (NUL included) and spaces separate items.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

void TStrings::SetCommaText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    const size_t n = text.size();
    while (p < n && IsBlank(text[p])) ++p;
    while (p < n) {
      std::string s;
      if (text[p] == '"') {
        ++p;
        while (p < n) {
          if (text[p] == '"') {
            if (p + 1 < n && text[p + 1] == '"') {
              s += '"';
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          s += text[p++];
        }
      } else {
        size_t start = p;
        while (p < n && !IsBlank(text[p]) && text[p] != ',') ++p;
        s = std::string(text.substr(start, p - start));
      }
      Add(s);
      while (p < n && IsBlank(text[p])) ++p;
      if (p < n && text[p] == ',') {
        do {
          ++p;
        } while (p < n && IsBlank(text[p]));
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string result;
  for (int i = 0; i < Count(); ++i) {
    result += Get(i);
    result += "\r\n";
  }
  return result;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    while (p < text.size()) {
      size_t end = text.find_first_of("\r\n", p);
      if (end == std::string_view::npos) end = text.size();
      Add(std::string(text.substr(p, end - p)));
      p = end;
      if (p < text.size() && text[p] == '\r') ++p;
      if (p < text.size() && text[p] == '\n') ++p;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromFile(const std::string& fileName) { SetText(ReadFileBytes(fileName)); }

void TStrings::SaveToFile(const std::string& fileName) const { SaveFileAtomic(fileName, Text()); }

void TStrings::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  std::string data;
  if (size > 0) data = stream.ReadString(size_t(size));
  SetText(data);
}

void TStrings::SaveToStream(TStream& stream) const { stream.WriteString(Text()); }

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

// ---- TStringList ---------------------------------------------------------

TStringList::TStringList(const TStringList& other) : TStrings() { *this = other; }

TStringList& TStringList::operator=(const TStringList& other) {
  if (this != &other) {
    Changing();
    items_ = other.items_;
    sorted_ = other.sorted_;
    caseSensitive_ = other.caseSensitive_;
    duplicates_ = other.duplicates_;
    Changed();
  }
  return *this;
}

void TStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) IndexError(index);
}

void TStringList::CheckUnsorted() const {
  if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
}

const TStringList::Entry& TStringList::Item(int index) const {
  CheckIndex(index, Count());
  return items_[size_t(index)];
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(*this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(*this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    if (OnChanging) OnChanging(*this);
  } else if (OnChange) {
    OnChange(*this);
  }
}

void TStringList::Put(int index, const std::string& s) {
  CheckUnsorted();
  CheckIndex(index, Count());
  Changing();
  items_[size_t(index)].text = s;
  Changed();
}

void TStringList::PutObject(int index, void* object) {
  CheckIndex(index, Count());
  Changing();
  items_[size_t(index)].object = object;
  Changed();
}

void TStringList::InsertItem(int index, const std::string& s, void* object) {
  Changing();
  items_.insert(items_.begin() + index, Entry{s, object});
  Changed();
}

int TStringList::Add(const std::string& s) {
  int index = Count();
  if (sorted_) {
    if (Find(s, index)) {
      if (duplicates_ == TDuplicates::dupIgnore) return index;
      if (duplicates_ == TDuplicates::dupError) {
        throw EStringListError("String list does not allow duplicates");
      }
    }
  }
  InsertItem(index, s, nullptr);
  return index;
}

void TStringList::Insert(int index, const std::string& s) {
  CheckUnsorted();
  CheckIndex(index, Count() + 1);
  InsertItem(index, s, nullptr);
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckUnsorted();
  CheckIndex(index1, Count());
  CheckIndex(index2, Count());
  Changing();
  std::swap(items_[size_t(index1)], items_[size_t(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  CheckUnsorted();
  CheckIndex(curIndex, Count());
  CheckIndex(newIndex, Count());
  if (curIndex == newIndex) return;
  Changing();
  Entry e = std::move(items_[size_t(curIndex)]);
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, std::move(e));
  Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

bool TStringList::Find(std::string_view s, int& index) const {
  bool found = false;
  int l = 0;
  int h = Count() - 1;
  while (l <= h) {
    int i = (l + h) / 2;
    int c = CompareStrings(items_[size_t(i)].text, s);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != TDuplicates::dupAccept) l = i;
      }
    }
  }
  index = l;
  return found;
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index = 0;
  return Find(s, index) ? index : -1;
}

void TStringList::QuickSort(int l, int r, const TStringListSortCompare& compare) {
  // Bounds are checked on every step, so an inconsistent comparison can
  // leave the order arbitrary but never reads outside the list.
  while (l < r) {
    int i = l;
    int j = r;
    int p = l + (r - l) / 2;
    do {
      while (i < r && compare(*this, i, p) < 0) ++i;
      while (j > l && compare(*this, j, p) > 0) --j;
      if (i <= j) {
        std::swap(items_[size_t(i)], items_[size_t(j)]);
        if (p == i) {
          p = j;
        } else if (p == j) {
          p = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    // Recurse into the smaller part, loop over the larger one.
    if (j - l < r - i) {
      if (l < j) QuickSort(l, j, compare);
      l = i;
    } else {
      if (i < r) QuickSort(i, r, compare);
      r = j;
    }
  }
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (sorted_ || Count() < 2) return;
  Changing();
  QuickSort(0, Count() - 1, compare);
  Changed();
}

void TStringList::Sort() {
  if (Count() < 2) return;
  Changing();
  QuickSort(0, Count() - 1, [](TStringList& list, int a, int b) {
    return list.CompareStrings(list.items_[size_t(a)].text, list.items_[size_t(b)].text);
  });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (value == sorted_) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

}  // namespace vesper
