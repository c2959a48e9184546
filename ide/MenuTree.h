// The IDE's menus as a tree of nodes, and the menu-item and main-menu
// objects over it. Any change calls the root's OnChanged, so that a window
// can show the tree.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ide/ToolIntf.h"

namespace vesper::ide {

struct MenuNode {
  std::string Caption, Name, Hint;
  TShortCut ShortCut = 0;
  int Context = 0, GroupIndex = 0, Flags = mfEnabled | mfVisible;
  TIMenuClickEvent OnClick;
  std::vector<std::shared_ptr<MenuNode>> Children;
  std::weak_ptr<MenuNode> Parent;
  // Set on the root: called after any change below it.
  std::function<void()> OnChanged;

  // Calls the root's OnChanged.
  void Changed();

  // Depth-first search below this node by name (ignoring case).
  std::shared_ptr<MenuNode> Find(const std::string& name);
  int IndexInParent() const;
  void Detach();  // removes the node from its parent
};

// A menu-item object over a node. Objects returned by InsertItem own their
// item: releasing the last reference removes it from the menu.
TIMenuItemIntf* NewMenuItemObject(std::shared_ptr<MenuNode> node, bool owning);

// The main-menu object over a root node.
TIMainMenuIntf* NewMainMenuObject(std::shared_ptr<MenuNode> root);
// Appends a top-level or child node; returns it.
std::shared_ptr<MenuNode> AddMenuNode(const std::shared_ptr<MenuNode>& parent, const std::string& caption,
                                      const std::string& name, TShortCut shortCut = 0,
                                      TIMenuClickEvent click = nullptr);
// The tree below `root` as indented text, one item a line:
// "Caption [Name] Ctrl+X (hidden) (disabled)".
std::string DumpMenuTree(const MenuNode& root);

}  // namespace vesper::ide
