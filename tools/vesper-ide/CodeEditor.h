// The stand-in IDE's source editor: a plain-text editor with a line-number
// gutter that keeps the file's bytes. Text that is valid UTF-8 with
// non-ASCII bytes is read and written as UTF-8, other text in the ANSI code
// page; an unmodified document is written back byte for byte.
#pragma once

#include <QPlainTextEdit>
#include <string>

class QWidget;

namespace vesper::ide_app {

class CodeEditor : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit CodeEditor(QWidget* parent = nullptr);

  // Raises vesper::EFOpenError when the file cannot be read.
  void LoadFile(const std::string& fileName);
  // Atomic save; raises on failure.
  void SaveFile(const std::string& fileName);
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& fileName) { fileName_ = fileName; }

  // 1-based positions.
  int CursorLine() const;
  int CursorColumn() const;
  void SetCursorPosition(int line, int column);
  int TopLine() const;
  void SetTopLine(int line);
  int VisibleLines() const;
  int VisibleColumns() const;

  int LineNumberAreaWidth() const;
  void PaintLineNumbers(QPaintEvent* event);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateLineNumberAreaWidth();
  void UpdateLineNumberArea(const QRect& rect, int dy);

  QWidget* lineNumberArea_;
  std::string fileName_;
  std::string originalBytes_;
  bool utf8_ = false;
};

}  // namespace vesper::ide_app
