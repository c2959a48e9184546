// String lists with the class library's semantics: TStrings is the abstract
// list of strings with attached objects (TStringList, list boxes, memos);
// TStringList keeps them in memory, optionally sorted.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

class TStream;

class TStrings {
 public:
  virtual ~TStrings() = default;

  // Primitives of a concrete list. Out-of-range indexes raise
  // EStringListError "List index out of bounds (%d)".
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);  // keeps the object
  virtual void* GetObject(int index) const { (void)index; return nullptr; }
  virtual void PutObject(int index, void* object) { (void)index; (void)object; }
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  virtual int Add(const std::string& s);
  int AddObject(const std::string& s, void* object);
  void InsertObject(int index, const std::string& s, void* object);
  void AddStrings(const TStrings& strings);
  void Assign(const TStrings& source);
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  bool Equals(const TStrings& other) const;

  std::string Strings(int index) const { return Get(index); }
  std::string operator[](int index) const { return Get(index); }
  void SetStrings(int index, const std::string& s) { Put(index, s); }
  void* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, void* object) { PutObject(index, object); }

  // Comparison of items: exact in TStrings, see TStringList::CaseSensitive.
  virtual int CompareStrings(std::string_view a, std::string_view b) const;
  virtual int IndexOf(std::string_view s) const;
  int IndexOfObject(const void* object) const;

  // "Name=Value" items. Names(i) is empty when item i has no '='; Values is
  // empty when no item has the name; SetValue with an empty value deletes.
  std::string Names(int index) const;
  int IndexOfName(std::string_view name) const;
  std::string Values(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);

  // Items separated by commas; items holding blanks, control characters,
  // commas or quotes are double-quoted. Setting also splits at blanks.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  // Every item followed by CR LF; setting splits at CR LF, LF or CR.
  virtual std::string Text() const;
  virtual void SetText(std::string_view text);

  // LoadFromFile raises EFOpenError "Cannot open file %s"; SaveToFile
  // replaces the file atomically.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  // Nested; change notifications wait for the outermost EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

 protected:
  virtual void SetUpdateState(bool updating) { (void)updating; }
  [[noreturn]] static void IndexError(int index);

 private:
  int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
 public:
  using TNotifyEvent = std::function<void(TStringList&)>;
  using TStringListSortCompare = std::function<int(TStringList&, int, int)>;

  TStringList() = default;
  TStringList(const TStringList& other);
  TStringList& operator=(const TStringList& other);

  int Count() const override { return int(items_.size()); }
  std::string Get(int index) const override { return Item(index).text; }
  // Same as Get without a copy.
  const std::string& At(int index) const { return Item(index).text; }
  void Put(int index, const std::string& s) override;
  void* GetObject(int index) const override { return Item(index).object; }
  void PutObject(int index, void* object) override;
  // On a sorted list Add finds the place; Insert (and Put, Exchange, Move)
  // raise EStringListError "Operation not allowed on sorted string list".
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;

  // Binary search of a sorted list: true when found; `index` is the match
  // (the first one with dupAccept) or the insertion point.
  bool Find(std::string_view s, int& index) const;
  int IndexOf(std::string_view s) const override;
  int CompareStrings(std::string_view a, std::string_view b) const override;

  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  // Applies to sorted lists only: unsorted lists accept every string.
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  // False by default: ASCII letters compare ignoring case.
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool updating) override;
  void Changing();
  void Changed();

 private:
  struct Entry {
    std::string text;
    void* object = nullptr;
  };
  const Entry& Item(int index) const;
  void CheckIndex(int index, int limit) const;
  void CheckUnsorted() const;
  void InsertItem(int index, const std::string& s, void* object);
  void QuickSort(int l, int r, const TStringListSortCompare& compare);

  std::vector<Entry> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

}  // namespace vesper
