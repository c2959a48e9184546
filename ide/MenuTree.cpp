#include "ide/MenuTree.h"

#include <algorithm>

#include "platform/StrUtils.h"

namespace vesper::ide {

std::shared_ptr<MenuNode> MenuNode::Find(const std::string& name) {
  for (auto& c : Children) {
    if (SameText(c->Name, name)) return c;
    if (auto f = c->Find(name)) return f;
  }
  return nullptr;
}

int MenuNode::IndexInParent() const {
  auto p = Parent.lock();
  if (!p) return -1;
  for (size_t i = 0; i < p->Children.size(); ++i)
    if (p->Children[i].get() == this) return int(i);
  return -1;
}

void MenuNode::Detach() {
  auto p = Parent.lock();
  if (!p) return;
  auto& c = p->Children;
  c.erase(std::remove_if(c.begin(), c.end(), [this](auto& n) { return n.get() == this; }), c.end());
  Parent.reset();
  p->Changed();
}

void MenuNode::Changed() {
  MenuNode* n = this;
  while (auto p = n->Parent.lock()) n = p.get();
  if (n->OnChanged) n->OnChanged();
}

namespace {

class MenuTreeItem : public TIMenuItemIntf {
 public:
  MenuTreeItem(std::shared_ptr<MenuNode> node, bool owning) : node_(node), owning_(owning) {}
  ~MenuTreeItem() override {
    if (owning_)
      if (auto n = node_.lock()) n->Detach();
  }

  int GetIndex() override { return Node() ? Node()->IndexInParent() : -1; }
  int GetItemCount() override { return Node() ? int(Node()->Children.size()) : 0; }
  TIMenuItemIntf* GetItem(int index) override {
    auto n = Node();
    if (!n || index < 0 || index >= int(n->Children.size())) return nullptr;
    return new MenuTreeItem(n->Children[index], false);
  }
  std::string GetName() override { return Node() ? Node()->Name : ""; }
  TIMenuItemIntf* GetParent() override {
    auto n = Node();
    auto p = n ? n->Parent.lock() : nullptr;
    return p ? new MenuTreeItem(p, false) : nullptr;
  }
  std::string GetCaption() override { return Node() ? Node()->Caption : ""; }
  bool SetCaption(const std::string& c) override { return Set([&](MenuNode& n) { n.Caption = c; }); }
  TShortCut GetShortCut() override { return Node() ? Node()->ShortCut : 0; }
  bool SetShortCut(TShortCut s) override { return Set([&](MenuNode& n) { n.ShortCut = s; }); }
  int GetFlags() override { return Node() ? Node()->Flags : mfInvalid; }
  bool SetFlags(int mask, int flags) override {
    return Set([&](MenuNode& n) { n.Flags = (n.Flags & ~mask) | (flags & mask); });
  }
  int GetGroupIndex() override { return Node() ? Node()->GroupIndex : 0; }
  std::string GetHint() override { return Node() ? Node()->Hint : ""; }
  int GetContext() override { return Node() ? Node()->Context : 0; }
  TIMenuClickEvent GetOnClick() override { return Node() ? Node()->OnClick : nullptr; }
  bool SetOnClick(TIMenuClickEvent click) override { return Set([&](MenuNode& n) { n.OnClick = click; }); }
  TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                             const std::string& hint, TShortCut shortCut, int context, int groupIndex,
                             int flags, TIMenuClickEvent click) override {
    auto parent = Node();
    if (!parent) return nullptr;
    auto n = std::make_shared<MenuNode>();
    n->Caption = caption;
    n->Name = name;
    n->Hint = hint;
    n->ShortCut = shortCut;
    n->Context = context;
    n->GroupIndex = groupIndex;
    n->Flags = flags;
    n->OnClick = std::move(click);
    n->Parent = parent;
    auto& c = parent->Children;
    if (index < 0 || index > int(c.size())) index = int(c.size());
    c.insert(c.begin() + index, n);
    parent->Changed();
    return new MenuTreeItem(n, true);
  }
  bool DestroyMenuItem() override {
    auto n = Node();
    if (!n) return false;
    n->Detach();
    return true;
  }

 private:
  std::shared_ptr<MenuNode> Node() { return node_.lock(); }
  template <class F>
  bool Set(F f) {
    auto n = Node();
    if (!n) return false;
    f(*n);
    n->Changed();
    return true;
  }
  std::weak_ptr<MenuNode> node_;
  bool owning_;
};

class MenuTreeMainMenu : public TIMainMenuIntf {
 public:
  explicit MenuTreeMainMenu(std::shared_ptr<MenuNode> root) : root_(std::move(root)) {}
  TIMenuItemIntf* GetMenuItems() override { return NewMenuItemObject(root_, false); }
  TIMenuItemIntf* FindMenuItem(const std::string& name) override {
    auto n = root_->Find(name);
    return n ? NewMenuItemObject(n, false) : nullptr;
  }

 private:
  std::shared_ptr<MenuNode> root_;
};

void Dump(const MenuNode& n, int depth, std::string& out) {
  out += std::string(size_t(depth) * 2, ' ') + n.Caption + " [" + n.Name + "]";
  if (n.ShortCut) out += " " + ShortCutToText(n.ShortCut);
  if (!(n.Flags & mfVisible)) out += " (hidden)";
  if (!(n.Flags & mfEnabled)) out += " (disabled)";
  out += "\n";
  for (auto& c : n.Children) Dump(*c, depth + 1, out);
}

}  // namespace

TIMenuItemIntf* NewMenuItemObject(std::shared_ptr<MenuNode> node, bool owning) {
  return new MenuTreeItem(std::move(node), owning);
}

TIMainMenuIntf* NewMainMenuObject(std::shared_ptr<MenuNode> root) { return new MenuTreeMainMenu(std::move(root)); }

std::shared_ptr<MenuNode> AddMenuNode(const std::shared_ptr<MenuNode>& parent, const std::string& caption,
                                      const std::string& name, TShortCut shortCut, TIMenuClickEvent click) {
  auto n = std::make_shared<MenuNode>();
  n->Caption = caption;
  n->Name = name;
  n->ShortCut = shortCut;
  n->OnClick = std::move(click);
  n->Parent = parent;
  parent->Children.push_back(n);
  parent->Changed();
  return n;
}

std::string DumpMenuTree(const MenuNode& root) {
  std::string out;
  for (auto& c : root.Children) Dump(*c, 0, out);
  return out;
}

}  // namespace vesper::ide
