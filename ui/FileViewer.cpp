#include "ui/FileViewer.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "ui/CommandProcessor.h"
#include "ui/QtText.h"
#include "ui/Ruler.h"

namespace vesper {

namespace {

constexpr size_t kMaxLineBytes = 64 * 1024;   // what is shown of a longer line
constexpr int64_t kMaxCopyBytes = 64 << 20;   // what the clipboard takes
constexpr size_t kCountBudget = 8 << 20;      // bytes counted per pass of the loop

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, INT_MAX)); }

// Display columns of `bytes` up to byte `stopByte`, or the byte at which
// column `stopColumn` begins (whichever is asked: pass -1 for the other).
struct TWalk {
  int column = 0;
  size_t byte = 0;
};

TWalk Walk(const std::string& bytes, bool utf8, bool expandTabs, int tabSize, size_t stopByte,
           int stopColumn) {
  TWalk w;
  for (; w.byte < bytes.size(); ++w.byte) {
    if (w.byte >= stopByte || (stopColumn >= 0 && w.column >= stopColumn)) break;
    const auto b = static_cast<unsigned char>(bytes[w.byte]);
    if (utf8 && (b & 0xC0) == 0x80) continue;  // a continuation byte takes no column
    w.column = b == '\t' && expandTabs ? (w.column / tabSize + 1) * tabSize : w.column + 1;
  }
  return w;
}

}  // namespace

TFileViewer::TFileViewer(QWidget* parent)
    : QAbstractScrollArea(parent), controller_(&DefaultController()) {
  setObjectName("TxtView");
  setFocusPolicy(Qt::StrongFocus);
  SetViewerFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  viewport()->setCursor(Qt::IBeamCursor);
  countTimer_.setInterval(0);
  QObject::connect(&countTimer_, &QTimer::timeout, this, [this] { CountTick(); });
}

TFileViewer::~TFileViewer() = default;

// --- file --------------------------------------------------------------------

void TFileViewer::Open(const std::string& path) {
  Close();
  file_.Open(path);
  // UTF-8 when the head of the file is valid UTF-8 with non-ASCII bytes.
  std::string head(64 * 1024, '\0');
  head.resize(file_.Read(0, head.size(), head.data()));
  while (!head.empty() && (static_cast<unsigned char>(head.back()) & 0xC0) == 0x80) head.pop_back();
  if (!head.empty() && (static_cast<unsigned char>(head.back()) & 0x80)) head.pop_back();
  utf8_ = IsValidUtf8(head) && std::any_of(head.begin(), head.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
          });
  if (!file_.Counted()) countTimer_.start();
  UpdateScrollBars();
  viewport()->update();
  StatusChanged();
}

void TFileViewer::Close() {
  countTimer_.stop();
  file_.Close();
  topLine_ = 0;
  leftColumn_ = 0;
  caretLine_ = 0;
  caretColumn_ = 0;
  anchor_ = {};
  widestLine_ = 80;
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  UpdateScrollBars();
  viewport()->update();
}

void TFileViewer::CountTick() {
  if (file_.CountStep(kCountBudget)) {
    countTimer_.stop();
    UpdateScrollBars();
    viewport()->update();
    StatusChanged();
    return;
  }
  UpdateScrollBars();
}

void TFileViewer::CountAllLines() {
  file_.CountAll();
  countTimer_.stop();
  UpdateScrollBars();
  StatusChanged();
}

int64_t TFileViewer::LineCount() const {
  return hexMode_ ? file_.HexLineCount() : file_.LineCount();
}

int64_t TFileViewer::DisplayLines() const {
  return hexMode_ ? file_.HexLineCount() : file_.LinesKnown();
}

// --- lines -------------------------------------------------------------------

QString TFileViewer::DisplayLine(int64_t line) {
  if (hexMode_) return QString::fromLatin1(file_.HexLine(line));
  const std::string bytes = file_.LineBytes(line, kMaxLineBytes);
  const QString raw = utf8_ ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
                            : ToQString(bytes);
  QString out;
  out.reserve(raw.size());
  for (QChar c : raw) {
    if (c == '\t' && expandTabs_) out.append(QString(tabSize_ - out.size() % tabSize_, ' '));
    else if (c == '\t') out.append(' ');
    else if (c.unicode() < 0x20 || c.unicode() == 0x7F) out.append('.');
    else out.append(c);
  }
  if (out.size() > widestLine_) {
    widestLine_ = static_cast<int>(std::min<qsizetype>(out.size(), INT_MAX / 2));
    UpdateScrollBars();
  }
  return out;
}

std::string TFileViewer::LineText(int64_t line) {
  if (line < 1) return "";
  if (hexMode_ ? line > file_.HexLineCount() : file_.LineStart(line - 1) < 0) return "";
  return FromQString(DisplayLine(line - 1));
}

std::string TFileViewer::PrintableLine(int64_t line, int maxLength) {
  std::string text = LineText(line);
  if (maxLength >= 0 && static_cast<int>(text.size()) > maxLength) text.resize(maxLength);
  return text;
}

// --- positions ---------------------------------------------------------------

int64_t TFileViewer::OffsetOf(TPos pos) {
  if (hexMode_)
    return std::min(file_.Size(),
                    pos.line * kHexBytesPerLine + HexColumnToByteIndex(pos.column + 1));
  const int64_t start = file_.LineStart(pos.line);
  if (start < 0) return file_.Size();
  const std::string bytes = file_.LineBytes(pos.line, kMaxLineBytes);
  return start + static_cast<int64_t>(Walk(bytes, utf8_, expandTabs_, tabSize_, SIZE_MAX,
                                           pos.column).byte);
}

TFileViewer::TPos TFileViewer::PosOf(int64_t offset) {
  if (hexMode_)
    return {offset / kHexBytesPerLine,
            HexByteColumn(static_cast<int>(offset % kHexBytesPerLine)) - 1};
  const int64_t line = file_.LineOfOffset(offset);
  const int64_t start = std::max<int64_t>(0, file_.LineStart(line));
  const std::string bytes = file_.LineBytes(line, kMaxLineBytes);
  const auto within = static_cast<size_t>(std::max<int64_t>(0, offset - start));
  return {line, Walk(bytes, utf8_, expandTabs_, tabSize_, within, -1).column};
}

int64_t TFileViewer::CaretOffset() const {
  if (!hexMode_) return -1;
  return caretLine_ * kHexBytesPerLine + HexColumnToByteIndex(caretColumn_ + 1);
}

// --- view --------------------------------------------------------------------

double TFileViewer::CharWidth() const {
  return std::max(1.0, QFontMetricsF(font()).horizontalAdvance('0'));
}

int TFileViewer::LineHeight() const { return std::max(1, QFontMetrics(font()).height()); }

int TFileViewer::VisibleColumns() const {
  return std::max(1, static_cast<int>((viewport()->width() - TextLeft()) / CharWidth()));
}

int TFileViewer::VisibleLines() const { return std::max(1, viewport()->height() / LineHeight()); }

void TFileViewer::UpdateScrollBars() {
  const int64_t lines = DisplayLines();
  verticalScrollBar()->setRange(0, ClampToInt(lines - VisibleLines()));
  verticalScrollBar()->setPageStep(VisibleLines());
  const int widest = hexMode_ ? kHexLineLength : widestLine_;
  horizontalScrollBar()->setRange(0, std::max(0, widest - VisibleColumns() + 1));
  horizontalScrollBar()->setPageStep(VisibleColumns());
}

void TFileViewer::SetTopLine(int64_t line) {
  topLine_ = std::clamp<int64_t>(line - 1, 0, std::max<int64_t>(0, DisplayLines() - 1));
  verticalScrollBar()->setValue(ClampToInt(topLine_));
  viewport()->update();
  StatusChanged();
}

void TFileViewer::EnsureCaretVisible() {
  const int rows = VisibleLines();
  if (caretLine_ < topLine_) topLine_ = caretLine_;
  else if (caretLine_ >= topLine_ + rows) topLine_ = caretLine_ - rows + 1;
  const int cols = VisibleColumns();
  if (caretColumn_ < leftColumn_) leftColumn_ = caretColumn_;
  else if (caretColumn_ >= leftColumn_ + cols) leftColumn_ = caretColumn_ - cols + 1;
  UpdateScrollBars();
  if (topLine_ > verticalScrollBar()->maximum()) verticalScrollBar()->setMaximum(ClampToInt(topLine_));
  verticalScrollBar()->setValue(ClampToInt(topLine_));
  horizontalScrollBar()->setValue(leftColumn_);
}

void TFileViewer::MoveCaret(TPos pos, bool select) {
  const int64_t last = std::max<int64_t>(0, DisplayLines() - 1);
  caretLine_ = std::clamp<int64_t>(pos.line, 0, last);
  caretColumn_ = std::clamp(pos.column, 0, hexMode_ ? kHexLineLength : INT_MAX / 2);
  if (!select) anchor_ = {caretLine_, caretColumn_};
  EnsureCaretVisible();
  viewport()->update();
  StatusChanged();
}

void TFileViewer::SetCaret(int64_t line, int column) { MoveCaret({line - 1, column - 1}, false); }

void TFileViewer::SetHexMode(bool hex) {
  if (hex == hexMode_) return;
  const int64_t offset = IsOpen() ? OffsetOf({caretLine_, caretColumn_}) : 0;
  hexMode_ = hex;
  leftColumn_ = 0;
  horizontalScrollBar()->setValue(0);
  UpdateScrollBars();
  if (IsOpen()) MoveCaret(PosOf(std::min(offset, std::max<int64_t>(0, file_.Size() - 1))), false);
  viewport()->update();
  StatusChanged();
}

void TFileViewer::SetExpandTabs(bool expand) {
  expandTabs_ = expand;
  viewport()->update();
}

void TFileViewer::SetTabSize(int size) {
  tabSize_ = std::clamp(size, 1, 64);
  viewport()->update();
}

void TFileViewer::SetViewerFont(const QFont& f) {
  setFont(f);
  viewport()->setFont(f);
  UpdateScrollBars();
  viewport()->update();
}

void TFileViewer::StatusChanged() {
  if (onShowStatus) onShowStatus();
}

// --- selection, clipboard, search ---------------------------------------------

bool TFileViewer::HasSelection() const {
  return anchor_.line != caretLine_ || anchor_.column != caretColumn_;
}

std::string TFileViewer::SelectedText() {
  if (!HasSelection()) return "";
  TPos a = anchor_, b{caretLine_, caretColumn_};
  if (b.line < a.line || (b.line == a.line && b.column < a.column)) std::swap(a, b);
  std::string out;
  for (int64_t line = a.line; line <= b.line; ++line) {
    const std::string text = FromQString(DisplayLine(line));
    const size_t from = line == a.line ? static_cast<size_t>(a.column) : 0;
    const size_t to = line == b.line ? static_cast<size_t>(b.column) : text.size();
    if (from < text.size()) out.append(text, from, std::min(to, text.size()) - from);
    if (line != b.line) out += '\n';
    if (static_cast<int64_t>(out.size()) > kMaxCopyBytes)
      throw Exception("The selection is too large to copy (more than 64 MB)");
  }
  return out;
}

void TFileViewer::SetSelection(int64_t line1, int column1, int64_t line2, int column2) {
  MoveCaret({line1 - 1, column1 - 1}, false);
  MoveCaret({line2 - 1, column2 - 1}, true);
}

void TFileViewer::SelectAll() {
  if (!IsOpen()) return;
  CountAllLines();
  const int64_t last = std::max<int64_t>(0, DisplayLines() - 1);
  anchor_ = {0, 0};
  caretLine_ = last;
  caretColumn_ = static_cast<int>(DisplayLine(last).size());
  EnsureCaretVisible();
  viewport()->update();
  StatusChanged();
}

void TFileViewer::CopyToClipboard() {
  if (HasSelection()) QApplication::clipboard()->setText(ToQString(SelectedText()));
}

bool TFileViewer::Search(const std::string& text, TSearchOptions options) {
  if (!IsOpen() || text.empty()) return false;
  const bool backward = options & soBackward;
  int64_t from = OffsetOf({caretLine_, caretColumn_});
  if (options & soGlobal) from = backward ? file_.Size() : 0;
  // A UTF-8 file is searched for the UTF-8 form of the text.
  const std::string pattern = utf8_ && !hexMode_ ? AnsiToUtf8(text) : text;
  const int64_t found = file_.Find(pattern, from, backward, options & soMatchCase,
                                   options & soWholeWord);
  if (found < 0) return false;
  const TPos start = PosOf(found);
  TPos end = PosOf(found + static_cast<int64_t>(pattern.size()));
  if (hexMode_) end = {start.line, start.column + 2};  // the first byte's digits
  if (backward) {
    MoveCaret(end, false);
    MoveCaret(start, true);
  } else {
    MoveCaret(start, false);
    MoveCaret(end, true);
  }
  return true;
}

// --- commands and input -----------------------------------------------------

void TFileViewer::ExecuteCommand(int command) {
  const bool select = command & ccSelect;
  const int cmd = command & ~ccSelect;
  TPos p{caretLine_, caretColumn_};
  const int rows = VisibleLines();
  switch (cmd) {
    case ccLeft: p.column = std::max(0, p.column - 1); break;
    case ccRight: ++p.column; break;
    case ccUp: --p.line; break;
    case ccDown: ++p.line; break;
    case ccWordLeft:
    case ccWordRight: {
      const QString line = DisplayLine(p.line);
      int c = std::min(p.column, static_cast<int>(line.size()));
      if (cmd == ccWordRight) {
        while (c < line.size() && !line[c].isSpace()) ++c;
        while (c < line.size() && line[c].isSpace()) ++c;
      } else {
        while (c > 0 && line[c - 1].isSpace()) --c;
        while (c > 0 && !line[c - 1].isSpace()) --c;
      }
      p.column = c;
      break;
    }
    case ccHome: p.column = 0; break;
    case ccEnd: p.column = static_cast<int>(DisplayLine(p.line).size()); break;
    case ccPageUp: p.line -= rows; topLine_ = std::max<int64_t>(0, topLine_ - rows); break;
    case ccPageDown: p.line += rows; topLine_ += rows; break;
    case ccTopOfPage: p.line = topLine_; break;
    case ccBottomOfPage: p.line = topLine_ + rows - 1; break;
    case ccTopOfText: p = {0, 0}; break;
    case ccBottomOfText:
      CountAllLines();
      p = {DisplayLines() - 1, 0};
      break;
    case ccScrollUp: SetTopLine(topLine_); return;
    case ccScrollDown: SetTopLine(topLine_ + 2); return;
    case ccCopy: CopyToClipboard(); return;
    case ccSelectAll: SelectAll(); return;
    default: return;
  }
  MoveCaret(p, select);
}

bool TFileViewer::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride &&
      controller_->Claims(KeyOf(*static_cast<QKeyEvent*>(e)))) {
    // Only the commands a viewer has take the key from the window's shortcuts.
    bool consumedUnused = false;
    TCommandProcessor probe = *controller_;
    const int command = probe.Translate(KeyOf(*static_cast<QKeyEvent*>(e)), consumedUnused);
    const int cmd = command & ~ccSelect;
    if (probe.InSequence() || (cmd >= ccLeft && cmd <= ccScrollDown) || cmd == ccSelectAll) {
      e->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(e);
}

void TFileViewer::keyPressEvent(QKeyEvent* e) {
  bool consumed = false;
  const int command = controller_->Translate(KeyOf(*e), consumed);
  if (!consumed) {
    QAbstractScrollArea::keyPressEvent(e);
    return;
  }
  if (command != ccNone) ExecuteCommand(command);
}

TFileViewer::TPos TFileViewer::PosAt(const QPoint& point) const {
  const int64_t line = topLine_ + std::max(0, point.y()) / LineHeight();
  const int column = leftColumn_ + static_cast<int>(std::max(0.0, (point.x() - TextLeft()) /
                                                                       CharWidth() + 0.5));
  return {line, column};
}

void TFileViewer::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(e);
  MoveCaret(PosAt(e->position().toPoint()), e->modifiers() & Qt::ShiftModifier);
}

void TFileViewer::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) MoveCaret(PosAt(e->position().toPoint()), true);
}

void TFileViewer::scrollContentsBy(int, int) {
  topLine_ = verticalScrollBar()->value();
  leftColumn_ = horizontalScrollBar()->value();
  viewport()->update();
  StatusChanged();
}

void TFileViewer::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollBars();
}

void TFileViewer::paintEvent(QPaintEvent*) {
  if (IsOpen() && file_.Refresh()) {
    // The file changed size on disk: count again and keep the caret inside.
    countTimer_.start();
    caretLine_ = std::min(caretLine_, std::max<int64_t>(0, DisplayLines() - 1));
    anchor_ = {caretLine_, caretColumn_};
    UpdateScrollBars();
  }
  QPainter p(viewport());
  const QPalette& pal = palette();
  p.fillRect(viewport()->rect(), pal.color(QPalette::Base));
  if (!IsOpen()) return;
  p.setFont(font());
  const double cw = CharWidth();
  const int lh = LineHeight();
  const int ascent = QFontMetrics(font()).ascent();
  const int rows = VisibleLines() + 1;
  const int cols = VisibleColumns() + 1;
  TPos a = anchor_, b{caretLine_, caretColumn_};
  if (b.line < a.line || (b.line == a.line && b.column < a.column)) std::swap(a, b);
  const int64_t lines = DisplayLines();
  for (int row = 0; row < rows && topLine_ + row < lines; ++row) {
    const int64_t line = topLine_ + row;
    const QString text = DisplayLine(line);
    const int y = row * lh;
    if (HasSelection() && line >= a.line && line <= b.line) {
      const int from = std::max(line == a.line ? a.column : 0, leftColumn_);
      const int to = std::min(line == b.line ? b.column : static_cast<int>(text.size()) + 1,
                              leftColumn_ + cols);
      if (to > from)
        p.fillRect(QRectF(TextLeft() + (from - leftColumn_) * cw, y, (to - from) * cw, lh),
                   pal.color(QPalette::Highlight));
    }
    if (text.size() <= leftColumn_) continue;
    const QString slice = text.mid(leftColumn_, cols);
    for (int i = 0; i < slice.size(); ++i) {
      const int column = leftColumn_ + i;
      const bool selected = HasSelection() && (line > a.line || column >= a.column) &&
                            (line < b.line || column < b.column) && line >= a.line &&
                            line <= b.line;
      p.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
      p.drawText(QPointF(TextLeft() + i * cw, y + ascent), QString(slice[i]));
    }
  }
  if (caretLine_ >= topLine_ && caretLine_ < topLine_ + rows && caretColumn_ >= leftColumn_) {
    const double x = TextLeft() + (caretColumn_ - leftColumn_) * cw;
    p.fillRect(QRectF(x, (caretLine_ - topLine_) * lh, 2, lh), pal.color(QPalette::Text));
  }
}

// --- TRulerFileViewer ----------------------------------------------------------

TRulerFileViewer::TRulerFileViewer(QWidget* parent)
    : TFileViewer(parent), ruler_(new TRulerBand(this)) {
  UpdateBand();
}

void TRulerFileViewer::SetShowRuler(bool show) {
  showRuler_ = show;
  UpdateBand();
}

void TRulerFileViewer::UpdateBand() {
  ruler_->setFont(font());
  const int band = showRuler_ ? RulerBandHeight(font(), logicalDpiY()) : 0;
  setViewportMargins(0, band, 0, 0);
  const QRect cr = contentsRect();
  ruler_->setGeometry(cr.left(), cr.top(), cr.width(), band);
  ruler_->setVisible(showRuler_);
  ruler_->SetGeometryOfText(TextLeft(), CharWidth());
  ruler_->SetColumns(FirstVisibleColumn(), VisibleColumns(), CaretColumn());
}

void TRulerFileViewer::StatusChanged() {
  if (CaretColumn() != rulerCaret_ || ruler_->First() != FirstVisibleColumn()) {
    ruler_->SetColumns(FirstVisibleColumn(), VisibleColumns(), CaretColumn());
    rulerCaret_ = CaretColumn();
  }
  TFileViewer::StatusChanged();
}

void TRulerFileViewer::resizeEvent(QResizeEvent* e) {
  TFileViewer::resizeEvent(e);
  UpdateBand();
}

void TRulerFileViewer::changeEvent(QEvent* e) {
  TFileViewer::changeEvent(e);
  if (e->type() == QEvent::FontChange) UpdateBand();
}

}  // namespace vesper
