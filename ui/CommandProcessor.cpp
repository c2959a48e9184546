#include "ui/CommandProcessor.h"

#include <QKeyEvent>

#include "platform/StrUtils.h"

namespace vesper {

namespace {

constexpr Qt::KeyboardModifiers kRelevant =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// The second key of a sequence compares without Ctrl and Shift: Ctrl+K B,
// Ctrl+K Ctrl+B and Ctrl+K Shift+B are one command.
QKeyCombination Bare(QKeyCombination key) {
  return QKeyCombination(key.keyboardModifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier),
                         key.key());
}

constexpr QKeyCombination Ctrl(Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); }
constexpr QKeyCombination Shift(Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); }
constexpr QKeyCombination Plain(Qt::Key key) { return QKeyCombination(Qt::NoModifier, key); }

// A movement key and its Shift form that extends the selection.
void AddMove(TCommandTable& table, QKeyCombination key, int command) {
  table.Add(key, command);
  table.Add(QKeyCombination(key.keyboardModifiers() | Qt::ShiftModifier, key.key()),
            command | ccSelect);
}

}  // namespace

void TCommandTable::Add(QKeyCombination key, int command) { keys_.push_back({key, {}, command}); }

void TCommandTable::Add(QKeyCombination prefix, QKeyCombination second, int command) {
  keys_.push_back({prefix, Bare(second), command});
}

int TCommandTable::Lookup(QKeyCombination key) const {
  for (const TCommandKey& k : keys_)
    if (!k.second && k.key == key) return k.command;
  return ccNone;
}

int TCommandTable::Lookup(QKeyCombination prefix, QKeyCombination second) const {
  for (const TCommandKey& k : keys_)
    if (k.second && k.key == prefix && *k.second == Bare(second)) return k.command;
  return ccNone;
}

bool TCommandTable::IsPrefix(QKeyCombination key) const {
  for (const TCommandKey& k : keys_)
    if (k.second && k.key == key) return true;
  return false;
}

TCommandTable TCommandTable::Default() {
  TCommandTable t("Default", true);
  AddMove(t, Plain(Qt::Key_Left), ccLeft);
  AddMove(t, Plain(Qt::Key_Right), ccRight);
  AddMove(t, Plain(Qt::Key_Up), ccUp);
  AddMove(t, Plain(Qt::Key_Down), ccDown);
  AddMove(t, Ctrl(Qt::Key_Left), ccWordLeft);
  AddMove(t, Ctrl(Qt::Key_Right), ccWordRight);
  AddMove(t, Plain(Qt::Key_Home), ccHome);
  AddMove(t, Plain(Qt::Key_End), ccEnd);
  AddMove(t, Plain(Qt::Key_PageUp), ccPageUp);
  AddMove(t, Plain(Qt::Key_PageDown), ccPageDown);
  AddMove(t, Ctrl(Qt::Key_PageUp), ccTopOfPage);
  AddMove(t, Ctrl(Qt::Key_PageDown), ccBottomOfPage);
  AddMove(t, Ctrl(Qt::Key_Home), ccTopOfText);
  AddMove(t, Ctrl(Qt::Key_End), ccBottomOfText);
  t.Add(Ctrl(Qt::Key_Up), ccScrollUp);
  t.Add(Ctrl(Qt::Key_Down), ccScrollDown);
  t.Add(Plain(Qt::Key_Delete), ccDel);
  t.Add(Plain(Qt::Key_Backspace), ccBack);
  t.Add(Shift(Qt::Key_Backspace), ccBack);
  t.Add(Ctrl(Qt::Key_Backspace), ccDelWordLeft);
  t.Add(Ctrl(Qt::Key_T), ccDelWord);
  t.Add(Ctrl(Qt::Key_Y), ccDelLine);
  t.Add(Plain(Qt::Key_Insert), ccToggleInsert);
  t.Add(Plain(Qt::Key_Return), ccNewLine);
  t.Add(Plain(Qt::Key_Enter), ccNewLine);
  t.Add(Plain(Qt::Key_Tab), ccTab);
  t.Add(Ctrl(Qt::Key_Z), ccUndo);
  t.Add(QKeyCombination(Qt::AltModifier, Qt::Key_Backspace), ccUndo);
  t.Add(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z), ccRedo);
  t.Add(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_Backspace), ccRedo);
  t.Add(Ctrl(Qt::Key_X), ccCut);
  t.Add(Shift(Qt::Key_Delete), ccCut);
  t.Add(Ctrl(Qt::Key_C), ccCopy);
  t.Add(Ctrl(Qt::Key_Insert), ccCopy);
  t.Add(Ctrl(Qt::Key_V), ccPaste);
  t.Add(Shift(Qt::Key_Insert), ccPaste);
  t.Add(Ctrl(Qt::Key_A), ccSelectAll);
  for (int n = 0; n < 10; ++n) {
    const auto digit = static_cast<Qt::Key>(Qt::Key_0 + n);
    t.Add(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, digit), ccSetMarker0 + n);
    t.Add(Ctrl(digit), ccGotoMarker0 + n);
  }
  return t;
}

TCommandTable TCommandTable::WordStar() {
  TCommandTable t("WordStar", false);
  // The diamond and its neighbours.
  t.Add(Ctrl(Qt::Key_S), ccLeft);
  t.Add(Ctrl(Qt::Key_D), ccRight);
  t.Add(Ctrl(Qt::Key_E), ccUp);
  t.Add(Ctrl(Qt::Key_X), ccDown);
  t.Add(Ctrl(Qt::Key_A), ccWordLeft);
  t.Add(Ctrl(Qt::Key_F), ccWordRight);
  t.Add(Ctrl(Qt::Key_R), ccPageUp);
  t.Add(Ctrl(Qt::Key_C), ccPageDown);
  t.Add(Ctrl(Qt::Key_W), ccScrollUp);
  t.Add(Ctrl(Qt::Key_Z), ccScrollDown);
  t.Add(Ctrl(Qt::Key_G), ccDel);
  t.Add(Ctrl(Qt::Key_H), ccBack);
  t.Add(Ctrl(Qt::Key_T), ccDelWord);
  t.Add(Ctrl(Qt::Key_Y), ccDelLine);
  t.Add(Ctrl(Qt::Key_V), ccToggleInsert);
  t.Add(Ctrl(Qt::Key_N), ccInsertLine);
  t.Add(Ctrl(Qt::Key_I), ccTab);
  t.Add(Ctrl(Qt::Key_M), ccNewLine);
  // Ctrl+Q: quick movement.
  const QKeyCombination q = Ctrl(Qt::Key_Q);
  t.Add(q, Plain(Qt::Key_S), ccHome);
  t.Add(q, Plain(Qt::Key_D), ccEnd);
  t.Add(q, Plain(Qt::Key_E), ccTopOfPage);
  t.Add(q, Plain(Qt::Key_X), ccBottomOfPage);
  t.Add(q, Plain(Qt::Key_R), ccTopOfText);
  t.Add(q, Plain(Qt::Key_C), ccBottomOfText);
  t.Add(q, Plain(Qt::Key_Y), ccDelEol);
  t.Add(q, Plain(Qt::Key_B), ccGotoBlockBegin);
  t.Add(q, Plain(Qt::Key_K), ccGotoBlockEnd);
  t.Add(q, Plain(Qt::Key_L), ccUndo);
  // Ctrl+K: blocks and markers.
  const QKeyCombination k = Ctrl(Qt::Key_K);
  t.Add(k, Plain(Qt::Key_B), ccBlockBegin);
  t.Add(k, Plain(Qt::Key_K), ccBlockEnd);
  t.Add(k, Plain(Qt::Key_C), ccBlockCopy);
  t.Add(k, Plain(Qt::Key_V), ccBlockMove);
  t.Add(k, Plain(Qt::Key_Y), ccBlockDelete);
  t.Add(k, Plain(Qt::Key_H), ccBlockHide);
  for (int n = 0; n < 10; ++n) {
    const auto digit = static_cast<Qt::Key>(Qt::Key_0 + n);
    t.Add(k, Plain(digit), ccSetMarker0 + n);
    t.Add(q, Plain(digit), ccGotoMarker0 + n);
  }
  return t;
}

TCommandProcessor::TCommandProcessor() {
  tables_.push_back(TCommandTable::WordStar());
  tables_.push_back(TCommandTable::Default());
}

TCommandTable* TCommandProcessor::Table(const std::string& name) {
  for (TCommandTable& t : tables_)
    if (SameText(t.Name(), name)) return &t;
  return nullptr;
}

bool TCommandProcessor::SetTableActive(const std::string& name, bool active) {
  TCommandTable* t = Table(name);
  if (!t) return false;
  t->SetActive(active);
  prefix_.reset();
  return true;
}

int TCommandProcessor::Translate(QKeyCombination key, bool& consumed) {
  consumed = false;
  if (prefix_) {
    const QKeyCombination prefix = *prefix_;
    prefix_.reset();
    consumed = true;  // an unknown second key ends the sequence and is dropped
    for (const TCommandTable& t : tables_)
      if (t.Active() && t.IsPrefix(prefix)) {
        if (int c = t.Lookup(prefix, key)) return c;
      }
    return ccNone;
  }
  for (const TCommandTable& t : tables_) {
    if (!t.Active()) continue;
    if (t.IsPrefix(key)) {
      prefix_ = key;
      consumed = true;
      return ccNone;
    }
    if (int c = t.Lookup(key)) {
      consumed = true;
      return c;
    }
  }
  return ccNone;
}

bool TCommandProcessor::Claims(QKeyCombination key) const {
  if (prefix_) return true;
  for (const TCommandTable& t : tables_)
    if (t.Active() && (t.IsPrefix(key) || t.Lookup(key))) return true;
  return false;
}

TCommandProcessor& DefaultController() {
  static TCommandProcessor controller;
  return controller;
}

QKeyCombination KeyOf(const QKeyEvent& event) {
  return QKeyCombination(event.modifiers() & kRelevant, static_cast<Qt::Key>(event.key()));
}

}  // namespace vesper
