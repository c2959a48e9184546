#include "tools/vesper-ide/CodeEditor.h"

#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include "platform/CodePage.h"
#include "platform/Files.h"

namespace vesper::ide_app {

namespace {

class LineNumberArea : public QWidget {
 public:
  explicit LineNumberArea(CodeEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return QSize(editor_->LineNumberAreaWidth(), 0); }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintLineNumbers(event); }

 private:
  CodeEditor* editor_;
};

QString Decode(const std::string& bytes, bool utf8) {
  std::u16string wide = utf8 ? Utf8ToUtf16(bytes) : AnsiToUtf16(bytes);
  return QString::fromUtf16(wide.data(), qsizetype(wide.size()));
}

std::string Encode(const QString& text, bool utf8) {
  std::u16string wide(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
  return utf8 ? Utf16ToUtf8(wide) : Utf16ToAnsi(wide);
}

}  // namespace

CodeEditor::CodeEditor(QWidget* parent) : QPlainTextEdit(parent), lineNumberArea_(new LineNumberArea(this)) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateLineNumberAreaWidth(); });
  connect(this, &QPlainTextEdit::updateRequest, this, &CodeEditor::UpdateLineNumberArea);
  UpdateLineNumberAreaWidth();
}

void CodeEditor::LoadFile(const std::string& fileName) {
  std::string bytes = ReadFileBytes(fileName);
  utf8_ = LooksLikeUtf8Text(bytes);
  setPlainText(Decode(bytes, utf8_));
  originalBytes_ = std::move(bytes);
  fileName_ = fileName;
  document()->setModified(false);
}

void CodeEditor::SaveFile(const std::string& fileName) {
  std::string bytes;
  if (!document()->isModified() && fileName == fileName_ && !originalBytes_.empty()) {
    bytes = originalBytes_;
  } else {
    // Keep the file's CR LF line ends when it had them.
    QString text = toPlainText();
    if (originalBytes_.find("\r\n") != std::string::npos) text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    bytes = Encode(text, utf8_);
  }
  SaveFileAtomic(fileName, bytes);
  originalBytes_ = std::move(bytes);
  fileName_ = fileName;
  document()->setModified(false);
}

int CodeEditor::CursorLine() const { return textCursor().blockNumber() + 1; }
int CodeEditor::CursorColumn() const { return textCursor().positionInBlock() + 1; }

void CodeEditor::SetCursorPosition(int line, int column) {
  QTextBlock block = document()->findBlockByNumber(std::max(0, line - 1));
  if (!block.isValid()) block = document()->lastBlock();
  QTextCursor c(block);
  c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, std::clamp(column - 1, 0, block.length() - 1));
  setTextCursor(c);
}

int CodeEditor::TopLine() const { return firstVisibleBlock().blockNumber() + 1; }

void CodeEditor::SetTopLine(int line) { verticalScrollBar()->setValue(std::max(0, line - 1)); }

int CodeEditor::VisibleLines() const {
  int h = fontMetrics().height();
  return h > 0 ? viewport()->height() / h : 0;
}

int CodeEditor::VisibleColumns() const {
  int w = fontMetrics().horizontalAdvance(QLatin1Char('M'));
  return w > 0 ? viewport()->width() / w : 0;
}

int CodeEditor::LineNumberAreaWidth() const {
  int digits = 1;
  for (int max = std::max(1, blockCount()); max >= 10; max /= 10) ++digits;
  return 12 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void CodeEditor::UpdateLineNumberAreaWidth() { setViewportMargins(LineNumberAreaWidth(), 0, 0, 0); }

void CodeEditor::UpdateLineNumberArea(const QRect& rect, int dy) {
  if (dy) lineNumberArea_->scroll(0, dy);
  else lineNumberArea_->update(0, rect.y(), lineNumberArea_->width(), rect.height());
  if (rect.contains(viewport()->rect())) UpdateLineNumberAreaWidth();
}

void CodeEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  QRect cr = contentsRect();
  lineNumberArea_->setGeometry(QRect(cr.left(), cr.top(), LineNumberAreaWidth(), cr.height()));
}

void CodeEditor::PaintLineNumbers(QPaintEvent* event) {
  QPainter painter(lineNumberArea_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  QTextBlock block = firstVisibleBlock();
  int number = block.blockNumber();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  int bottom = top + qRound(blockBoundingRect(block).height());
  int current = textCursor().blockNumber();
  while (block.isValid() && top <= event->rect().bottom()) {
    if (block.isVisible() && bottom >= event->rect().top()) {
      painter.setPen(number == current ? palette().color(QPalette::Text) : palette().color(QPalette::PlaceholderText));
      painter.drawText(0, top, lineNumberArea_->width() - 6, fontMetrics().height(), Qt::AlignRight,
                       QString::number(number + 1));
    }
    block = block.next();
    top = bottom;
    bottom = top + qRound(blockBoundingRect(block).height());
    ++number;
  }
}

}  // namespace vesper::ide_app
