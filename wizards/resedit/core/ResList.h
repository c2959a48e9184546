// The ordered entry lists of a resource project. Keyed lists hold entries
// in ascending order of their 16-bit id (unsigned); the current entry is the
// one last added or inserted. Entries are owned by the list and keep their
// address until they are deleted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

class TResources;

// What every keyed entry has: a 16-bit id and a unique symbolic name.
struct TResEntry {
  uint16_t Id = 0;
  std::string Name;
};

template <class Entry>
class TResList {
 public:
  using EntryType = Entry;

  explicit TResList(TResources* owner) : owner_(owner) {}
  TResList(const TResList&) = delete;
  TResList& operator=(const TResList&) = delete;

  TResources* Owner() const { return owner_; }
  int Count() const { return int(items_.size()); }
  bool Empty() const { return items_.empty(); }
  const std::vector<std::unique_ptr<Entry>>& Items() const { return items_; }
  Entry* At(int index) const { return index >= 0 && index < Count() ? items_[index].get() : nullptr; }
  Entry* First() const { return At(0); }
  Entry* Last() const { return At(Count() - 1); }
  Entry* Current() const { return current_; }
  // Position of the current entry from the first, -1 when there is none.
  int CurrentIndex() const { return IndexOf(current_); }

  int IndexOf(const Entry* entry) const {
    for (int i = 0; i < Count(); ++i)
      if (items_[i].get() == entry) return i;
    return -1;
  }

  Entry* FindById(uint16_t id) const {
    for (auto& e : items_)
      if (e->Id == id) return e.get();
    return nullptr;
  }

  // Exact, case-sensitive; `skip` is left out of the search.
  Entry* FindByName(std::string_view name, const Entry* skip = nullptr) const {
    for (auto& e : items_)
      if (e.get() != skip && e->Name == name) return e.get();
    return nullptr;
  }

  // Links the entry after the last one (the file reader relies on ascending
  // order); refuses an id that is present anywhere in the list.
  Entry* Append(Entry entry) {
    if (FindById(entry.Id)) return nullptr;
    items_.push_back(std::make_unique<Entry>(std::move(entry)));
    current_ = items_.back().get();
    return current_;
  }

  // Inserts before the first entry with a larger id; refuses a duplicate id.
  Entry* Insert(Entry entry) {
    if (items_.empty()) return Append(std::move(entry));
    if (FindById(entry.Id)) return nullptr;
    auto pos = items_.begin();
    while (pos != items_.end() && (*pos)->Id <= entry.Id) ++pos;
    pos = items_.insert(pos, std::make_unique<Entry>(std::move(entry)));
    current_ = pos->get();
    return current_;
  }

  // Changes the entry with `oldId` to `values`. With the same id the name is
  // taken only when no other entry has it; a new id must be free, and the
  // entry then moves to its place in id order. Returns the changed entry.
  Entry* Update(uint16_t oldId, Entry values) {
    Entry* entry = FindById(oldId);
    if (!entry) return nullptr;
    if (values.Id == oldId) {
      if (FindByName(values.Name, entry)) values.Name = entry->Name;
      *entry = std::move(values);
      return entry;
    }
    if (FindById(values.Id)) return nullptr;
    Delete(oldId);
    return Insert(std::move(values));
  }

  bool Delete(uint16_t id) {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      if ((*it)->Id != id) continue;
      if (it->get() == current_) current_ = nullptr;
      items_.erase(it);
      return true;
    }
    return false;
  }

  void Clear() {
    items_.clear();
    current_ = nullptr;
  }

 private:
  TResources* owner_;
  std::vector<std::unique_ptr<Entry>> items_;
  Entry* current_ = nullptr;
};

}  // namespace vesper
