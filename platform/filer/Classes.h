// The streamable object model: persistent objects that publish properties
// (in stream order), collections of items, components that own components,
// and the class registry that lets a stream create a component by its class
// name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"

namespace vesper {

VESPER_EXCEPTION(EFilerError, EStreamError)
VESPER_EXCEPTION(EClassNotFound, EFilerError)
VESPER_EXCEPTION(EInvalidCast, Exception)
VESPER_EXCEPTION(EComponentError, Exception)

class TPersistent;

enum class TPropKind { pkInteger, pkBoolean, pkEnumeration, pkSet, pkFloat, pkString, pkObject };

// An ordinal property equal to its default is not written.
constexpr int64_t kNoDefault = INT64_MIN;

struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::pkInteger;
  std::vector<std::string> Names;  // identifiers of an enumeration or a set
  int64_t Default = kNoDefault;
  // Integer, Boolean (0/1), enumeration (index) and set (bit mask) values.
  std::function<int64_t()> GetOrd;
  std::function<void(int64_t)> SetOrd;
  std::function<std::string()> GetStr;
  std::function<void(const std::string&)> SetStr;
  std::function<long double()> GetFloat;
  std::function<void(long double)> SetFloat;
  // A collection, or a persistent object whose properties are written with
  // dotted names ("Font.Name").
  std::function<TPersistent*()> GetObject;
  // Empty: always stored (subject to the default).
  std::function<bool()> Stored;
};

// The published properties of one object, in the order they are written.
// Integers are 32-bit; strings are written unless empty, floats unless 0.
class TPropList {
 public:
  TPropInfo& Integer(std::string name, std::function<int32_t()> get, std::function<void(int32_t)> set,
                     int64_t def = kNoDefault);
  TPropInfo& Boolean(std::string name, std::function<bool()> get, std::function<void(bool)> set,
                     int64_t def = kNoDefault);
  TPropInfo& Enumeration(std::string name, std::vector<std::string> names, std::function<int()> get,
                         std::function<void(int)> set, int64_t def = kNoDefault);
  // Up to 32 elements; bit i stands for names[i].
  TPropInfo& Set(std::string name, std::vector<std::string> names, std::function<uint32_t()> get,
                 std::function<void(uint32_t)> set, int64_t def = kNoDefault);
  TPropInfo& Float(std::string name, std::function<long double()> get, std::function<void(long double)> set);
  TPropInfo& String(std::string name, std::function<std::string()> get, std::function<void(const std::string&)> set);
  TPropInfo& Object(std::string name, std::function<TPersistent*()> get);

  const TPropInfo* Find(std::string_view name) const;  // ignoring case
  const std::vector<TPropInfo>& Items() const { return items_; }

 private:
  TPropInfo& Add(std::string name, TPropKind kind);
  std::vector<TPropInfo> items_;
};

class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual std::string ClassName() const = 0;
  virtual void PublishedProperties(TPropList& props) {}
  // Copies from `source`; by default asks the source (AssignTo), which
  // raises EConvertError "Cannot assign a %s to a %s".
  virtual void Assign(const TPersistent& source);

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  std::string ClassName() const override { return "TCollectionItem"; }
  TCollection* Collection() const { return collection_; }
  int Index() const;

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
 public:
  using TItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;
  explicit TCollection(TItemFactory factory) : factory_(std::move(factory)) {}
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  std::string ClassName() const override { return "TCollection"; }
  // The object that owns the collection, or none.
  virtual TPersistent* GetOwner() const { return nullptr; }

  TCollectionItem* Add();
  int Count() const { return int(items_.size()); }
  TCollectionItem* Items(int index) const;  // EListError "List index out of bounds (%d)"
  int IndexOf(const TCollectionItem* item) const;
  void Delete(int index);
  void Clear();  // last item first
  // From another collection: clears, then adds one item per source item and
  // assigns it.
  void Assign(const TPersistent& source) override;

 private:
  TItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
};

enum TComponentStateFlag : unsigned { csLoading = 1, csReading = 2, csDestroying = 8 };

class TComponent : public TPersistent {
 public:
  // An owned component is freed by its owner.
  explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string ClassName() const override { return "TComponent"; }
  void PublishedProperties(TPropList& props) override;  // Tag (default 0)

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Empty or an identifier unique among the owner's components; else
  // EComponentError.
  virtual void SetName(const std::string& name);
  int32_t Tag = 0;

  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int index) const;
  TComponent* FindComponent(std::string_view name) const;  // ignoring case

  unsigned ComponentState() const { return state_; }
  // Called for every component read from a stream once the whole stream is
  // read; clears csLoading.
  virtual void Loaded();

 private:
  friend class TComponentReader;
  void Insert(TComponent* c) { components_.push_back(c); }
  void Remove(TComponent* c);

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  unsigned state_ = 0;
};

// The class registry. A factory creates a component with the given owner
// (none for the root of a stream).
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

void RegisterClass(const std::string& className, TComponentFactory factory);
template <class T>
void RegisterClass(const std::string& className) {
  RegisterClass(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
}
void UnRegisterClass(std::string_view className);
// The factory of a registered class (ignoring case), or none.
const TComponentFactory* GetClass(std::string_view className);
// As GetClass; raises EClassNotFound "Class %s not found".
const TComponentFactory& FindClass(std::string_view className);

}  // namespace vesper
