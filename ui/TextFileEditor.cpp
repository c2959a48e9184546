#include "ui/TextFileEditor.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "ui/CommandProcessor.h"
#include "ui/QtText.h"
#include "ui/Ruler.h"

namespace vesper {

namespace {

bool IsBlank(QChar c) { return c == ' ' || c == '\t'; }

// The document's text with paragraph separators as "\n" and no-break spaces
// kept (toPlainText would turn them into spaces).
QString RawText(const QTextDocument& doc) {
  QString text = doc.toRawText();
  text.replace(QChar::ParagraphSeparator, '\n');
  text.replace(QChar::LineSeparator, '\n');
  return text;
}

QString Decode(const std::string& bytes, bool utf8) {
  return utf8 ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
              : ToQString(bytes);
}

QTextDocument::FindFlags FlagsOf(TSearchOptions options) {
  QTextDocument::FindFlags flags;
  if (options & soBackward) flags |= QTextDocument::FindBackward;
  if (options & soMatchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options & soWholeWord) flags |= QTextDocument::FindWholeWords;
  return flags;
}

// Column (0-based, tabs expanded) of position `pos` in `line`.
int ExpandedColumn(const QString& line, int pos, int tabSize) {
  int col = 0;
  for (int i = 0; i < pos && i < line.size(); ++i)
    col = line[i] == '\t' ? (col / tabSize + 1) * tabSize : col + 1;
  return col;
}

}  // namespace

std::string ExpandTabs(const std::string& line, int tabSize) {
  if (tabSize < 1) tabSize = 1;
  std::string out;
  for (char c : line) {
    if (c == '\t') out.append(tabSize - out.size() % tabSize, ' ');
    else out += c;
  }
  return out;
}

TTextFileEditor::TTextFileEditor(QWidget* parent)
    : QTextEdit(parent), ruler_(new TRulerBand(this)), controller_(&DefaultController()) {
  setAcceptRichText(false);
  setLineWrapMode(NoWrap);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  SetEditorFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  connect(this, &QTextEdit::cursorPositionChanged, this, [this] { ShowStatus(); });
  connect(this, &QTextEdit::textChanged, this, [this] {
    if (onChange) onChange();
    ShowStatus();
  });
  connect(this, &QTextEdit::undoAvailable, this, [this](bool on) { canUndo_ = on; });
  connect(this, &QTextEdit::redoAvailable, this, [this](bool on) { canRedo_ = on; });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateRuler(); });
  UpdateLayout();
}

TTextFileEditor::~TTextFileEditor() = default;

// --- files -----------------------------------------------------------------

void TTextFileEditor::NewFile(const std::string& name) {
  SetText("");
  fileName_ = name;
  lineEnd_ = "\n";
  utf8_ = false;
  SetModified(false);
}

void TTextFileEditor::Open(const std::string& path) {
  std::string bytes = ReadFileBytes(path);
  const bool utf8 = IsValidUtf8(bytes) && std::any_of(bytes.begin(), bytes.end(), [](char c) {
                      return static_cast<unsigned char>(c) >= 0x80;
                    });
  QString text = Decode(bytes, utf8);
  lineEnd_ = text.contains("\r\n") ? "\r\n" : "\n";
  text.replace("\r\n", "\n");
  for (auto& m : markers_) m = QTextCursor();
  blockBegin_ = blockEnd_ = QTextCursor();
  setPlainText(text);
  fileName_ = path;
  utf8_ = utf8;
  loadedText_ = RawText(*document());
  loadedBytes_ = std::move(bytes);
  moveCursor(QTextCursor::Start);
  SetModified(false);
  ShowStatus();
}

void TTextFileEditor::SaveToFile(const std::string& path) {
  if (trimTrailing_) TrimTrailingBlanks();
  QString text = RawText(*document());
  std::string bytes;
  if (!loadedBytes_.empty() && text == loadedText_) {
    bytes = loadedBytes_;
  } else {
    QByteArray encoded = utf8_ ? text.toUtf8() : QByteArray::fromStdString(FromQString(text));
    if (lineEnd_ == "\n") bytes = encoded.toStdString();
    else bytes = encoded.replace("\n", QByteArray::fromStdString(lineEnd_)).toStdString();
  }
  if (createBackup_ && FileExists(path)) SaveFileAtomic(ChangeFileExt(path, ".bak"), ReadFileBytes(path));
  SaveFileAtomic(path, bytes);
  fileName_ = path;
  loadedText_ = text;
  loadedBytes_ = std::move(bytes);
  SetModified(false);
  ShowStatus();
}

// --- text ------------------------------------------------------------------

std::string TTextFileEditor::Text() const {
  std::string text = FromQString(RawText(*document()));
  if (lineEnd_ == "\n") return text;
  std::string out;
  for (char c : text) {
    if (c == '\n') out += lineEnd_;
    else out += c;
  }
  return out;
}

void TTextFileEditor::SetText(const std::string& text) {
  QString q = ToQString(text);
  q.replace("\r\n", "\n");
  for (auto& m : markers_) m = QTextCursor();
  blockBegin_ = blockEnd_ = QTextCursor();
  setPlainText(q);
  loadedBytes_.clear();
  loadedText_.clear();
  ShowStatus();
}

bool TTextFileEditor::Modified() const { return document()->isModified(); }

void TTextFileEditor::SetModified(bool modified) {
  document()->setModified(modified);
  ShowStatus();
}

int TTextFileEditor::LineCount() const { return document()->blockCount(); }

std::string TTextFileEditor::LineText(int line) const {
  if (line < 1 || line > LineCount()) return "";
  return FromQString(document()->findBlockByNumber(line - 1).text());
}

std::string TTextFileEditor::PrintableLine(int line, int maxLength) const {
  std::string text = ExpandTabs(LineText(line), tabSize_);
  if (maxLength >= 0 && static_cast<int>(text.size()) > maxLength) text.resize(maxLength);
  return text;
}

int64_t TTextFileEditor::TextLength() const {
  const int64_t chars = document()->characterCount() - 1;  // without the final separator
  return chars + (lineEnd_.size() - 1) * static_cast<int64_t>(LineCount() - 1);
}

// --- caret and view ----------------------------------------------------------

QTextCursor TTextFileEditor::CursorAt(int line, int column) const {
  line = std::clamp(line, 1, LineCount());
  QTextBlock block = document()->findBlockByNumber(line - 1);
  QTextCursor c(block);
  c.setPosition(block.position() + std::clamp(column - 1, 0, block.length() - 1));
  return c;
}

int TTextFileEditor::CaretLine() const { return textCursor().blockNumber() + 1; }

int TTextFileEditor::CaretColumn() const { return textCursor().positionInBlock() + 1; }

void TTextFileEditor::SetCaret(int line, int column) {
  setTextCursor(CursorAt(line, column));
  ensureCursorVisible();
}

int TTextFileEditor::TopLine() const {
  return cursorForPosition(QPoint(1, 1)).blockNumber() + 1;
}

void TTextFileEditor::SetTopLine(int line) {
  QTextBlock block = document()->findBlockByNumber(std::clamp(line, 1, LineCount()) - 1);
  const QRectF r = document()->documentLayout()->blockBoundingRect(block);
  verticalScrollBar()->setValue(static_cast<int>(r.top()));
}

double TTextFileEditor::CharWidth() const {
  return std::max(1.0, QFontMetricsF(font()).horizontalAdvance('0'));
}

int TTextFileEditor::VisibleColumns() const {
  return std::max(1, static_cast<int>((viewport()->width() - 2 * document()->documentMargin()) /
                                      CharWidth()));
}

int TTextFileEditor::FirstVisibleColumn() const {
  return static_cast<int>(horizontalScrollBar()->value() / CharWidth()) + 1;
}

// --- selection -------------------------------------------------------------

bool TTextFileEditor::HasSelection() const { return textCursor().hasSelection(); }

std::string TTextFileEditor::SelectedText() const {
  QString s = textCursor().selectedText();
  s.replace(QChar::ParagraphSeparator, '\n');
  return FromQString(s);
}

void TTextFileEditor::SetSelection(int line1, int column1, int line2, int column2) {
  QTextCursor c = CursorAt(line1, column1);
  c.setPosition(CursorAt(line2, column2).position(), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

bool TTextFileEditor::CanUndo() const { return canUndo_; }
bool TTextFileEditor::CanRedo() const { return canRedo_; }

// --- search and replace ----------------------------------------------------

bool TTextFileEditor::Search(const std::string& text, TSearchOptions options) {
  if (text.empty()) return false;
  QTextCursor from = textCursor();
  const bool backward = options & soBackward;
  if (options & soGlobal) from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  else from.setPosition(backward ? from.selectionStart() : from.selectionEnd());
  QTextCursor found = document()->find(ToQString(text), from, FlagsOf(options));
  if (found.isNull()) return false;
  setTextCursor(found);
  ensureCursorVisible();
  return true;
}

int TTextFileEditor::Replace(const std::string& text, const std::string& with,
                             TSearchOptions options) {
  if (text.empty()) return -1;
  const QString what = ToQString(text), by = ToQString(with);
  const bool backward = options & soBackward;
  QTextCursor from = textCursor();
  if (options & soGlobal) from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  else from.setPosition(backward ? from.selectionEnd() : from.selectionStart());
  int count = 0;
  QTextCursor edit(document());
  edit.beginEditBlock();
  for (;;) {
    QTextCursor found = document()->find(what, from, FlagsOf(options));
    if (found.isNull()) break;
    const int start = found.selectionStart();
    found.insertText(by);
    ++count;
    from = found;
    if (backward) from.setPosition(start);
    if (!(options & soReplaceAll)) {
      from.setPosition(start);
      from.setPosition(start + static_cast<int>(by.size()), QTextCursor::KeepAnchor);
      break;
    }
  }
  edit.endEditBlock();
  if (count == 0) return -1;
  setTextCursor(from);
  return count;
}

// --- markers ---------------------------------------------------------------

void TTextFileEditor::SetMarker(int n) {
  if (n < 0 || n > 9) return;
  markers_[n] = QTextCursor(document());
  markers_[n].setPosition(textCursor().position());
  viewport()->update();
}

void TTextFileEditor::ClearMarker(int n) {
  if (n < 0 || n > 9) return;
  markers_[n] = QTextCursor();
  viewport()->update();
}

bool TTextFileEditor::IsMarkerSet(int n) const { return n >= 0 && n <= 9 && !markers_[n].isNull(); }

std::pair<int, int> TTextFileEditor::MarkerPosition(int n) const {
  if (!IsMarkerSet(n)) return {0, 0};
  return {markers_[n].blockNumber() + 1, markers_[n].positionInBlock() + 1};
}

bool TTextFileEditor::GotoMarker(int n) {
  if (!IsMarkerSet(n)) return false;
  QTextCursor c = textCursor();
  c.setPosition(markers_[n].position());
  setTextCursor(c);
  ensureCursorVisible();
  return true;
}

// --- options ---------------------------------------------------------------

void TTextFileEditor::SetInsertMode(bool insert) {
  setOverwriteMode(!insert);
  ShowStatus();
}

void TTextFileEditor::SetWordWrap(bool wrap) {
  wordWrap_ = wrap;
  UpdateLayout();
}

void TTextFileEditor::SetWrapColumn(int column) {
  wrapColumn_ = std::max(1, column);
  UpdateLayout();
}

void TTextFileEditor::SetTabSize(int size) {
  tabSize_ = std::clamp(size, 1, 64);
  UpdateLayout();
}

void TTextFileEditor::SetShowRuler(bool show) {
  showRuler_ = show;
  UpdateLayout();
}

void TTextFileEditor::SetEditorFont(const QFont& f) {
  setFont(f);
  document()->setDefaultFont(f);
  ruler_->setFont(f);
  UpdateLayout();
}

int TTextFileEditor::TrimTrailingBlanks() {
  int changed = 0;
  QTextCursor edit(document());
  edit.beginEditBlock();
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
    const QString t = b.text();
    int end = static_cast<int>(t.size());
    while (end > 0 && IsBlank(t[end - 1])) --end;
    if (end == t.size()) continue;
    QTextCursor c(b);
    c.setPosition(b.position() + end);
    c.setPosition(b.position() + static_cast<int>(t.size()), QTextCursor::KeepAnchor);
    c.removeSelectedText();
    ++changed;
  }
  edit.endEditBlock();
  return changed;
}

void TTextFileEditor::UpdateLayout() {
  setLineWrapMode(wordWrap_ ? FixedColumnWidth : NoWrap);
  setLineWrapColumnOrWidth(wrapColumn_);
  setTabStopDistance(tabSize_ * CharWidth());
  const int band = showRuler_ ? RulerBandHeight(font(), logicalDpiY()) : 0;
  setViewportMargins(0, band, 0, 0);
  ruler_->setVisible(showRuler_);
  const QRect cr = contentsRect();
  ruler_->setGeometry(cr.left(), cr.top(), cr.width(), band);
  UpdateRuler();
}

void TTextFileEditor::UpdateRuler() {
  if (!showRuler_) return;
  const double cw = CharWidth();
  const int scrolled = horizontalScrollBar()->value();
  const int first = static_cast<int>(scrolled / cw) + 1;
  const int shift = static_cast<int>(scrolled - (first - 1) * cw);
  ruler_->SetGeometryOfText(static_cast<int>(document()->documentMargin()) - shift, cw);
  const QString line = textCursor().block().text();
  const int caret = ExpandedColumn(line, textCursor().positionInBlock(), tabSize_) + 1;
  ruler_->SetColumns(first, VisibleColumns(), caret);
}

void TTextFileEditor::ShowStatus() {
  UpdateRuler();
  if (onShowStatus) onShowStatus();
}

void TTextFileEditor::resizeEvent(QResizeEvent* event) {
  QTextEdit::resizeEvent(event);
  UpdateLayout();
}

void TTextFileEditor::scrollContentsBy(int dx, int dy) {
  QTextEdit::scrollContentsBy(dx, dy);
  UpdateRuler();
  if (dy && onShowStatus) onShowStatus();  // the top line changed
}

// --- keys and commands -----------------------------------------------------

bool TTextFileEditor::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (controller_->Claims(KeyOf(*key))) {
      e->accept();
      return true;
    }
  }
  return QTextEdit::event(e);
}

void TTextFileEditor::keyPressEvent(QKeyEvent* e) {
  bool consumed = false;
  const int command = controller_->Translate(KeyOf(*e), consumed);
  if (!consumed) {
    QTextEdit::keyPressEvent(e);
    return;
  }
  e->accept();
  if (command != ccNone) ExecuteCommand(command);
}

void TTextFileEditor::Move(int command, bool select) {
  const auto mode = select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
  QTextCursor c = textCursor();
  switch (command) {
    case ccLeft: c.movePosition(QTextCursor::Left, mode); break;
    case ccRight: c.movePosition(QTextCursor::Right, mode); break;
    case ccUp: c.movePosition(QTextCursor::Up, mode); break;
    case ccDown: c.movePosition(QTextCursor::Down, mode); break;
    case ccWordLeft: c.movePosition(QTextCursor::PreviousWord, mode); break;
    case ccWordRight: c.movePosition(QTextCursor::NextWord, mode); break;
    case ccHome: c.movePosition(QTextCursor::StartOfLine, mode); break;
    case ccEnd: c.movePosition(QTextCursor::EndOfLine, mode); break;
    case ccTopOfText: c.movePosition(QTextCursor::Start, mode); break;
    case ccBottomOfText: c.movePosition(QTextCursor::End, mode); break;
    case ccTopOfPage:
      c.setPosition(cursorForPosition(QPoint(0, 0)).position(), mode);
      break;
    case ccBottomOfPage:
      c.setPosition(cursorForPosition(QPoint(0, viewport()->height() - 1)).position(), mode);
      break;
    case ccPageUp:
    case ccPageDown: {
      // The base class pages by the viewport's height.
      QKeyEvent page(QEvent::KeyPress, command == ccPageUp ? Qt::Key_PageUp : Qt::Key_PageDown,
                     select ? Qt::ShiftModifier : Qt::NoModifier);
      QTextEdit::keyPressEvent(&page);
      return;
    }
    default: return;
  }
  setTextCursor(c);
  ensureCursorVisible();
}

void TTextFileEditor::InsertNewLine() {
  QTextCursor c = textCursor();
  QString indent;
  if (autoIndent_) {
    const QString line = c.block().text();
    int n = 0;
    while (n < line.size() && n < c.positionInBlock() && IsBlank(line[n])) ++n;
    indent = line.left(n);
  }
  c.insertText("\n" + indent);
  setTextCursor(c);
  ensureCursorVisible();
}

// Real tabs insert a tab; fixed tabs fill blanks to the next stop; smart tabs
// fill blanks to the start of the next word of the line above (else as fixed).
void TTextFileEditor::InsertTab() {
  QTextCursor c = textCursor();
  if (tabType_ == TTabType::Real) {
    c.insertText("\t");
    return;
  }
  const int column = ExpandedColumn(c.block().text(), c.positionInBlock(), tabSize_);
  int target = (column / tabSize_ + 1) * tabSize_;
  if (tabType_ == TTabType::Smart) {
    for (QTextBlock b = c.block().previous(); b.isValid(); b = b.previous()) {
      const QString above = ToQString(ExpandTabs(FromQString(b.text()), tabSize_));
      if (above.trimmed().isEmpty()) continue;
      int i = column;
      while (i < above.size() && !IsBlank(above[i])) ++i;
      while (i < above.size() && IsBlank(above[i])) ++i;
      if (i < above.size()) target = i;
      break;
    }
  }
  c.insertText(QString(target - column, ' '));
}

void TTextFileEditor::BlockCommand(int command) {
  QTextCursor c = textCursor();
  auto blockSet = [this] {
    return !blockBegin_.isNull() && !blockEnd_.isNull() &&
           blockBegin_.position() < blockEnd_.position();
  };
  auto blockCursor = [this] {
    QTextCursor b(document());
    b.setPosition(blockBegin_.position());
    b.setPosition(blockEnd_.position(), QTextCursor::KeepAnchor);
    return b;
  };
  switch (command) {
    case ccBlockBegin:
      blockBegin_ = QTextCursor(document());
      blockBegin_.setPosition(c.position());
      break;
    case ccBlockEnd:
      blockEnd_ = QTextCursor(document());
      blockEnd_.setPosition(c.position());
      break;
    case ccGotoBlockBegin:
    case ccGotoBlockEnd: {
      const QTextCursor& mark = command == ccGotoBlockBegin ? blockBegin_ : blockEnd_;
      if (mark.isNull()) return;
      c.setPosition(mark.position());
      setTextCursor(c);
      return;
    }
    case ccBlockHide:
      blockBegin_ = blockEnd_ = QTextCursor();
      break;
    case ccBlockCopy:
    case ccBlockMove:
    case ccBlockDelete: {
      if (!blockSet()) return;
      QTextCursor b = blockCursor();
      const QString text = b.selection().toRawText();
      const int at = c.position();
      if (command != ccBlockDelete && at > b.selectionStart() && at < b.selectionEnd()) return;
      QTextCursor edit(document());
      edit.beginEditBlock();
      if (command == ccBlockDelete) {
        b.removeSelectedText();
        blockBegin_ = blockEnd_ = QTextCursor();
      } else {
        QTextCursor insertAt(document());
        insertAt.setPosition(at);
        if (command == ccBlockMove) b.removeSelectedText();
        const int start = insertAt.position();
        insertAt.insertText(text);
        blockBegin_ = QTextCursor(document());
        blockBegin_.setPosition(start);
        blockEnd_ = QTextCursor(document());
        blockEnd_.setPosition(start + static_cast<int>(text.size()));
      }
      edit.endEditBlock();
      break;
    }
    default: return;
  }
  // The block is shown as a selection while both ends are set.
  QList<ExtraSelection> extra;
  if (blockSet()) {
    ExtraSelection s;
    s.cursor = blockCursor();
    s.format.setBackground(palette().color(QPalette::Highlight).lighter(160));
    extra.append(s);
  }
  setExtraSelections(extra);
}

void TTextFileEditor::ExecuteCommand(int command) {
  const bool select = command & ccSelect;
  const int cmd = command & ~ccSelect;
  if (cmd >= ccSetMarker0 && cmd < ccSetMarker0 + 10) {
    const int n = cmd - ccSetMarker0;
    if (IsMarkerSet(n) && markers_[n].position() == textCursor().position()) ClearMarker(n);
    else SetMarker(n);
    return;
  }
  if (cmd >= ccGotoMarker0 && cmd < ccGotoMarker0 + 10) {
    GotoMarker(cmd - ccGotoMarker0);
    return;
  }
  QTextCursor c = textCursor();
  switch (cmd) {
    case ccScrollUp:
    case ccScrollDown:
      verticalScrollBar()->triggerAction(cmd == ccScrollUp ? QAbstractSlider::SliderSingleStepSub
                                                           : QAbstractSlider::SliderSingleStepAdd);
      return;
    case ccDel:
      if (c.hasSelection()) c.removeSelectedText();
      else c.deleteChar();
      return;
    case ccBack:
      if (c.hasSelection()) c.removeSelectedText();
      else c.deletePreviousChar();
      return;
    case ccDelWord:
    case ccDelWordLeft:
      c.movePosition(cmd == ccDelWord ? QTextCursor::NextWord : QTextCursor::PreviousWord,
                     QTextCursor::KeepAnchor);
      c.removeSelectedText();
      return;
    case ccDelLine:
      c.movePosition(QTextCursor::StartOfBlock);
      if (!c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor)) {
        // The last line goes with the line end before it.
        const int end = c.block().position() + c.block().length() - 1;
        c.setPosition(std::max(0, c.block().position() - 1));
        c.setPosition(end, QTextCursor::KeepAnchor);
      }
      c.removeSelectedText();
      return;
    case ccDelEol:
      c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      c.removeSelectedText();
      return;
    case ccNewLine: InsertNewLine(); return;
    case ccInsertLine: {
      const int at = c.position();
      c.insertText("\n");
      c.setPosition(at);
      setTextCursor(c);
      return;
    }
    case ccTab: InsertTab(); return;
    case ccToggleInsert: SetInsertMode(!InsertMode()); return;
    case ccCut: cut(); return;
    case ccCopy: copy(); return;
    case ccPaste: paste(); return;
    case ccUndo: undo(); return;
    case ccRedo: redo(); return;
    case ccSelectAll: selectAll(); return;
    default: break;
  }
  if (cmd >= ccBlockBegin && cmd <= ccBlockHide) BlockCommand(cmd);
  else if (cmd >= ccLeft && cmd <= ccMoveLast) Move(cmd, select);
}

}  // namespace vesper
