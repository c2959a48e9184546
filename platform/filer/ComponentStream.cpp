#include "platform/filer/ComponentStream.h"

#include "platform/StrUtils.h"
#include "platform/filer/FilerValues.h"

namespace vesper {

namespace {

// Components and collections nest at most this deep.
constexpr int kMaxDepth = 500;

class TComponentWriter {
 public:
  explicit TComponentWriter(std::string& out) : w_(out) {}

  void WriteRoot(TComponent& root) {
    w_.WriteSignature();
    WriteComponent(root);
  }

 private:
  void WriteComponent(TComponent& c) {
    w_.WriteHeaderNames(c.ClassName(), c.Name());
    WriteProperties(c, "");
    w_.WriteListEnd();
    for (int i = 0; i < c.ComponentCount(); ++i) WriteComponent(*c.Components(i));
    w_.WriteListEnd();
  }

  void WriteProperties(TPersistent& object, const std::string& prefix) {
    TPropList props;
    object.PublishedProperties(props);
    for (const TPropInfo& p : props.Items())
      if (!p.Stored || p.Stored()) WriteProperty(p, prefix + p.Name);
  }

  void WriteProperty(const TPropInfo& p, const std::string& name) {
    switch (p.Kind) {
      case TPropKind::pkInteger:
      case TPropKind::pkBoolean:
      case TPropKind::pkEnumeration:
      case TPropKind::pkSet: WriteOrdinal(p, name); break;
      case TPropKind::pkFloat: {
        long double v = p.GetFloat();
        if (v == 0) return;
        w_.WriteStr(name);
        w_.WriteFloat(v);
        break;
      }
      case TPropKind::pkString: {
        std::string v = p.GetStr();
        if (v.empty()) return;
        w_.WriteStr(name);
        w_.WriteString(v);
        break;
      }
      case TPropKind::pkObject: {
        TPersistent* object = p.GetObject();
        if (!object) return;
        if (auto* collection = dynamic_cast<TCollection*>(object)) {
          w_.WriteStr(name);
          WriteCollection(*collection);
        } else {
          WriteProperties(*object, name + ".");
        }
        break;
      }
    }
  }

  void WriteOrdinal(const TPropInfo& p, const std::string& name) {
    int64_t v = p.GetOrd();
    if (p.Default != kNoDefault && v == p.Default) return;
    w_.WriteStr(name);
    switch (p.Kind) {
      case TPropKind::pkBoolean: w_.WriteBoolean(v != 0); break;
      case TPropKind::pkEnumeration:
        if (v < 0 || size_t(v) >= p.Names.size())
          throw EWriteError("Value " + std::to_string(v) + " of property " + name + " has no name");
        w_.WriteValue(vaIdent);
        w_.WriteStr(p.Names[size_t(v)]);
        break;
      case TPropKind::pkSet:
        w_.WriteValue(vaSet);
        for (size_t i = 0; i < p.Names.size() && i < 32; ++i)
          if (v & (int64_t(1) << i)) w_.WriteStr(p.Names[i]);
        w_.WriteStr("");
        break;
      default: w_.WriteInteger(v);
    }
  }

  void WriteCollection(TCollection& c) {
    w_.WriteValue(vaCollection);
    for (int i = 0; i < c.Count(); ++i) {
      w_.WriteListBegin();
      WriteProperties(*c.Items(i), "");
      w_.WriteListEnd();
    }
    w_.WriteListEnd();
  }

  TValueWriter w_;
};

}  // namespace

// Friend of TComponent: sets the loading state while it reads.
class TComponentReader {
 public:
  explicit TComponentReader(std::string_view data) : r_(data) {}

  size_t Position() const { return r_.Position(); }

  std::unique_ptr<TComponent> ReadRoot() {
    r_.ReadSignature();
    std::string className = ReadHeader();
    std::unique_ptr<TComponent> root(Create(className, nullptr));
    ReadBody(*root, 0);
    FinishLoading();
    return root;
  }

  void ReadRoot(TComponent& instance) {
    r_.ReadSignature();
    ReadHeader();
    try {
      ReadBody(instance, 0);
    } catch (...) {
      for (TComponent* c : loaded_) c->state_ &= ~unsigned(csLoading | csReading);
      throw;
    }
    FinishLoading();
  }

 private:
  // Prefix, class name and component name; returns the class name.
  std::string ReadHeader() {
    uint8_t flags;
    int32_t position;
    r_.ReadPrefix(flags, position);
    headerAt_ = r_.Position();
    std::string className = r_.ReadStr("class name");
    name_ = r_.ReadStr("component name");
    return className;
  }

  TComponent* Create(const std::string& className, TComponent* owner) {
    const TComponentFactory* factory = GetClass(className);
    if (!factory) throw EClassNotFound("Class " + className + " not found (offset " + std::to_string(headerAt_) + ")");
    return (*factory)(owner);
  }

  void ReadBody(TComponent& c, int depth) {
    if (depth > kMaxDepth) r_.Error("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
    c.state_ |= csLoading | csReading;
    loaded_.push_back(&c);
    if (!name_.empty()) {
      try {
        c.SetName(name_);
      } catch (const Exception& e) {
        r_.ErrorAt(headerAt_, e.Message());
      }
    }
    while (!r_.EndOfList()) ReadProperty(c, depth);
    r_.ReadListEnd();
    while (!r_.EndOfList()) {
      std::string className = ReadHeader();
      ReadBody(*Create(className, &c), depth + 1);
    }
    r_.ReadListEnd();
    c.state_ &= ~unsigned(csReading);
  }

  void FinishLoading() {
    for (TComponent* c : loaded_) c->Loaded();
  }

  void ReadProperty(TPersistent& object, int depth) {
    size_t at = r_.Position();
    std::string path = r_.ReadStr("property name");
    TPersistent* target = &object;
    std::vector<std::string> parts = SplitString(path, '.');
    TPropList props;
    const TPropInfo* p = nullptr;
    for (size_t i = 0; i < parts.size(); ++i) {
      props = TPropList();
      target->PublishedProperties(props);
      p = props.Find(parts[i]);
      if (!p) r_.ErrorAt(at, "property " + path + " of " + object.ClassName() + " does not exist");
      if (i + 1 < parts.size()) {
        target = p->Kind == TPropKind::pkObject ? p->GetObject() : nullptr;
        if (!target || dynamic_cast<TCollection*>(target))
          r_.ErrorAt(at, "property " + path + " of " + object.ClassName() + " does not exist");
      }
    }
    ReadValue(*p, path, depth);
  }

  [[noreturn]] void InvalidValue(size_t at, const std::string& name) {
    r_.ErrorAt(at, "invalid value for property " + name);
  }

  void ReadValue(const TPropInfo& p, const std::string& name, int depth) {
    size_t at = r_.Position();
    TValueType v = r_.NextValue();
    switch (p.Kind) {
      case TPropKind::pkInteger: {
        if (v != vaInt8 && v != vaInt16 && v != vaInt32) InvalidValue(at, name);
        p.SetOrd(r_.ReadInteger());
        break;
      }
      case TPropKind::pkBoolean:
        if (v != vaFalse && v != vaTrue) InvalidValue(at, name);
        p.SetOrd(r_.ReadBoolean());
        break;
      case TPropKind::pkEnumeration: p.SetOrd(ReadEnum(p, name)); break;
      case TPropKind::pkSet: p.SetOrd(ReadSet(p, name)); break;
      case TPropKind::pkFloat:
        if (v != vaExtended && v != vaSingle && v != vaDouble && v != vaInt8 && v != vaInt16 && v != vaInt32)
          InvalidValue(at, name);
        p.SetFloat(r_.ReadFloat());
        break;
      case TPropKind::pkString:
        if (v != vaString && v != vaLString && v != vaWString && v != vaUTF8String) InvalidValue(at, name);
        p.SetStr(r_.ReadString());
        break;
      case TPropKind::pkObject: {
        auto* collection = dynamic_cast<TCollection*>(p.GetObject());
        if (!collection || v != vaCollection) InvalidValue(at, name);
        ReadCollection(*collection, depth + 1);
        break;
      }
    }
  }

  int64_t ReadEnum(const TPropInfo& p, const std::string& name) {
    size_t at = r_.Position();
    if (r_.NextValue() != vaIdent) InvalidValue(at, name);
    std::string ident = r_.ReadIdent();
    for (size_t i = 0; i < p.Names.size(); ++i)
      if (SameText(p.Names[i], ident)) return int64_t(i);
    InvalidValue(at, name);
  }

  int64_t ReadSet(const TPropInfo& p, const std::string& name) {
    size_t at = r_.Position();
    if (r_.NextValue() != vaSet) InvalidValue(at, name);
    r_.ReadValue();
    int64_t mask = 0;
    for (;;) {
      size_t elementAt = r_.Position();
      std::string element = r_.ReadStr("set element");
      if (element.empty()) return mask;
      size_t i = 0;
      while (i < p.Names.size() && !SameText(p.Names[i], element)) ++i;
      if (i >= p.Names.size() || i >= 32) InvalidValue(elementAt, name);
      mask |= int64_t(1) << i;
    }
  }

  void ReadCollection(TCollection& c, int depth) {
    if (depth > kMaxDepth) r_.Error("nesting deeper than " + std::to_string(kMaxDepth) + " levels");
    r_.CheckValue(vaCollection);
    c.Clear();
    while (!r_.EndOfList()) {
      TValueType v = r_.NextValue();
      if (v == vaInt8 || v == vaInt16 || v == vaInt32) r_.ReadInteger();  // order index
      TCollectionItem* item = c.Add();
      r_.CheckValue(vaList);
      while (!r_.EndOfList()) ReadProperty(*item, depth);
      r_.ReadListEnd();
    }
    r_.ReadListEnd();
  }

  TValueReader r_;
  std::vector<TComponent*> loaded_;
  std::string name_;
  size_t headerAt_ = 0;
};

std::string WriteComponentStream(TComponent& root) {
  std::string out;
  TComponentWriter(out).WriteRoot(root);
  return out;
}

void WriteComponent(TStream& stream, TComponent& root) { stream.WriteString(WriteComponentStream(root)); }

std::unique_ptr<TComponent> ReadComponentStream(std::string_view data, size_t* consumed) {
  TComponentReader reader(data);
  std::unique_ptr<TComponent> root = reader.ReadRoot();
  if (consumed) *consumed = reader.Position();
  return root;
}

void ReadComponentStream(std::string_view data, TComponent& instance, size_t* consumed) {
  TComponentReader reader(data);
  reader.ReadRoot(instance);
  if (consumed) *consumed = reader.Position();
}

std::unique_ptr<TComponent> ReadComponent(TStream& stream) {
  int64_t start = stream.Position();
  size_t consumed = 0;
  std::unique_ptr<TComponent> c = ReadComponentStream(ReadStreamRest(stream), &consumed);
  stream.SetPosition(start + int64_t(consumed));
  return c;
}

void ReadComponent(TStream& stream, TComponent& instance) {
  int64_t start = stream.Position();
  size_t consumed = 0;
  ReadComponentStream(ReadStreamRest(stream), instance, &consumed);
  stream.SetPosition(start + int64_t(consumed));
}

}  // namespace vesper
