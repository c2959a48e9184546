#include "platform/filer/Classes.h"

#include <algorithm>
#include <map>

#include "platform/StrUtils.h"

namespace vesper {

// ---------------------------------------------------------------- properties

TPropInfo& TPropList::Add(std::string name, TPropKind kind) {
  TPropInfo& p = items_.emplace_back();
  p.Name = std::move(name);
  p.Kind = kind;
  return p;
}

TPropInfo& TPropList::Integer(std::string name, std::function<int32_t()> get, std::function<void(int32_t)> set,
                              int64_t def) {
  TPropInfo& p = Add(std::move(name), TPropKind::pkInteger);
  p.GetOrd = [get] { return int64_t(get()); };
  p.SetOrd = [set](int64_t v) { set(int32_t(v)); };
  p.Default = def;
  return p;
}

TPropInfo& TPropList::Boolean(std::string name, std::function<bool()> get, std::function<void(bool)> set,
                              int64_t def) {
  TPropInfo& p = Add(std::move(name), TPropKind::pkBoolean);
  p.GetOrd = [get] { return int64_t(get() ? 1 : 0); };
  p.SetOrd = [set](int64_t v) { set(v != 0); };
  p.Default = def;
  return p;
}

TPropInfo& TPropList::Enumeration(std::string name, std::vector<std::string> names, std::function<int()> get,
                                  std::function<void(int)> set, int64_t def) {
  TPropInfo& p = Add(std::move(name), TPropKind::pkEnumeration);
  p.Names = std::move(names);
  p.GetOrd = [get] { return int64_t(get()); };
  p.SetOrd = [set](int64_t v) { set(int(v)); };
  p.Default = def;
  return p;
}

TPropInfo& TPropList::Set(std::string name, std::vector<std::string> names, std::function<uint32_t()> get,
                          std::function<void(uint32_t)> set, int64_t def) {
  TPropInfo& p = Add(std::move(name), TPropKind::pkSet);
  p.Names = std::move(names);
  p.GetOrd = [get] { return int64_t(get()); };
  p.SetOrd = [set](int64_t v) { set(uint32_t(v)); };
  p.Default = def;
  return p;
}

TPropInfo& TPropList::Float(std::string name, std::function<long double()> get,
                            std::function<void(long double)> set) {
  TPropInfo& p = Add(std::move(name), TPropKind::pkFloat);
  p.GetFloat = std::move(get);
  p.SetFloat = std::move(set);
  return p;
}

TPropInfo& TPropList::String(std::string name, std::function<std::string()> get,
                             std::function<void(const std::string&)> set) {
  TPropInfo& p = Add(std::move(name), TPropKind::pkString);
  p.GetStr = std::move(get);
  p.SetStr = std::move(set);
  return p;
}

TPropInfo& TPropList::Object(std::string name, std::function<TPersistent*()> get) {
  TPropInfo& p = Add(std::move(name), TPropKind::pkObject);
  p.GetObject = std::move(get);
  return p;
}

const TPropInfo* TPropList::Find(std::string_view name) const {
  for (auto& p : items_)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

// ---------------------------------------------------------------- persistent

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

// ---------------------------------------------------------------- collections

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Add() {
  std::unique_ptr<TCollectionItem> item = factory_();
  item->collection_ = this;
  items_.push_back(std::move(item));
  return items_.back().get();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[size_t(index)].get();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return int(i);
  return -1;
}

void TCollection::Delete(int index) {
  Items(index);  // range check
  // Out of the list before it is destroyed, so its destructor sees a
  // consistent collection.
  std::unique_ptr<TCollectionItem> item = std::move(items_[size_t(index)]);
  items_.erase(items_.begin() + index);
  item.reset();
}

void TCollection::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

void TCollection::Assign(const TPersistent& source) {
  auto* other = dynamic_cast<const TCollection*>(&source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  Clear();
  for (auto& item : other->items_) Add()->Assign(*item);
}

// ---------------------------------------------------------------- components

namespace {

bool IsValidIdent(std::string_view s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(s[0])) return false;
  return std::all_of(s.begin() + 1, s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

}  // namespace

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->Insert(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  while (!components_.empty()) delete components_.back();  // each removes itself
  if (owner_) owner_->Remove(this);
}

void TComponent::Remove(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
}

void TComponent::PublishedProperties(TPropList& props) {
  props.Integer("Tag", [this] { return Tag; }, [this](int32_t v) { Tag = v; }, 0);
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) throw EComponentError("'" + name + "' is not a valid component name");
  if (!name.empty() && owner_) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this) throw EComponentError("A component named " + name + " already exists");
  }
  name_ = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[size_t(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::Loaded() { state_ &= ~unsigned(csLoading); }

// ---------------------------------------------------------------- registry

namespace {

std::map<std::string, TComponentFactory>& Registry() {
  static std::map<std::string, TComponentFactory> registry;
  return registry;
}

}  // namespace

void RegisterClass(const std::string& className, TComponentFactory factory) {
  Registry()[UpperCase(className)] = std::move(factory);
}

void UnRegisterClass(std::string_view className) { Registry().erase(UpperCase(className)); }

const TComponentFactory* GetClass(std::string_view className) {
  auto it = Registry().find(UpperCase(className));
  return it == Registry().end() ? nullptr : &it->second;
}

const TComponentFactory& FindClass(std::string_view className) {
  const TComponentFactory* f = GetClass(className);
  if (!f) throw EClassNotFound("Class " + std::string(className) + " not found");
  return *f;
}

}  // namespace vesper
