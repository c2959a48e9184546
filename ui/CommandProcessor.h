// The command processor of the editor and viewer controls: named tables that
// map keys (one keystroke, or a prefix keystroke and a second key) to editor
// commands. A processor holds the tables "WordStar" (inactive) and "Default"
// (active); the active tables are searched in order, so an active "WordStar"
// table wins over "Default".
#pragma once

#include <QKeyCombination>

#include <optional>
#include <string>
#include <vector>

class QKeyEvent;

namespace vesper {

enum TEditorCommand : int {
  ccNone = 0,
  // Caret movement; with ccSelect added the selection is extended.
  ccLeft, ccRight, ccUp, ccDown, ccWordLeft, ccWordRight, ccHome, ccEnd, ccPageUp, ccPageDown,
  ccTopOfPage, ccBottomOfPage, ccTopOfText, ccBottomOfText,
  ccMoveLast = ccBottomOfText,
  ccScrollUp, ccScrollDown,
  // Editing.
  ccDel, ccBack, ccDelWord, ccDelWordLeft, ccDelLine, ccDelEol, ccNewLine, ccInsertLine, ccTab,
  ccToggleInsert, ccCut, ccCopy, ccPaste, ccUndo, ccRedo, ccSelectAll,
  // Blocks (the WordStar block commands).
  ccBlockBegin, ccBlockEnd, ccGotoBlockBegin, ccGotoBlockEnd, ccBlockCopy, ccBlockMove,
  ccBlockDelete, ccBlockHide,
  // Markers: ccSetMarker0 + n, ccGotoMarker0 + n.
  ccSetMarker0 = 100,
  ccGotoMarker0 = 110,
  ccSelect = 0x1000
};

struct TCommandKey {
  QKeyCombination key;
  std::optional<QKeyCombination> second;  // the key after a prefix (its Ctrl is ignored)
  int command = ccNone;
};

class TCommandTable {
 public:
  TCommandTable(std::string name, bool active) : name_(std::move(name)), active_(active) {}
  const std::string& Name() const { return name_; }
  bool Active() const { return active_; }
  void SetActive(bool active) { active_ = active; }
  void Add(QKeyCombination key, int command);
  void Add(QKeyCombination prefix, QKeyCombination second, int command);
  const std::vector<TCommandKey>& Keys() const { return keys_; }
  // The command of a single key; ccNone when it has none.
  int Lookup(QKeyCombination key) const;
  int Lookup(QKeyCombination prefix, QKeyCombination second) const;
  bool IsPrefix(QKeyCombination key) const;

  static TCommandTable Default();
  static TCommandTable WordStar();

 private:
  std::string name_;
  bool active_;
  std::vector<TCommandKey> keys_;
};

// A controller: the tables and the pending prefix key of a key sequence.
class TCommandProcessor {
 public:
  // The "WordStar" (inactive) and "Default" (active) tables.
  TCommandProcessor();
  std::vector<TCommandTable>& Tables() { return tables_; }
  TCommandTable* Table(const std::string& name);
  // Activates or deactivates a table by name; false when there is none.
  bool SetTableActive(const std::string& name, bool active);
  // The command of a key press: ccNone when no active table has it (the key
  // is then typed), or when it starts a sequence (`consumed` tells them apart).
  int Translate(QKeyCombination key, bool& consumed);
  // True when the key belongs to a command now (for shortcut overrides).
  bool Claims(QKeyCombination key) const;
  bool InSequence() const { return prefix_.has_value(); }
  void Reset() { prefix_.reset(); }

 private:
  std::vector<TCommandTable> tables_;
  std::optional<QKeyCombination> prefix_;
};

// The controller the controls use unless they are given another.
TCommandProcessor& DefaultController();
// A key press as a combination without keypad and other stray modifiers.
QKeyCombination KeyOf(const QKeyEvent& event);

}  // namespace vesper
