// The file viewer control: shows a file from disk (memory-mapped, never read
// whole) as text, with optional tab expansion, or as a hex dump of 16 bytes a
// line. Lines are counted a step at a time on the event loop; until that is
// done the line count is "not known yet" (-1). TRulerFileViewer adds the
// column ruler band.
//
// Lines and columns are 1-based in this interface.
#pragma once

#include <QAbstractScrollArea>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ui/SearchOptions.h"
#include "ui/ViewFile.h"

namespace vesper {

class TCommandProcessor;
class TRulerBand;

class TFileViewer : public QAbstractScrollArea {
 public:
  explicit TFileViewer(QWidget* parent = nullptr);
  ~TFileViewer() override;

  // Raises EFOpenError; the viewer is then empty.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }
  const std::string& FileName() const { return file_.FileName(); }
  int64_t ByteCount() const { return file_.Size(); }

  // Lines of the current mode; -1 while a text file is still being counted.
  int64_t LineCount() const;
  bool LineCountKnown() const { return LineCount() >= 0; }
  // Counts to the end of the file now (before printing, going to the end).
  void CountAllLines();
  // The line as shown (hex line, or text with tabs expanded when on);
  // "" outside the file.
  std::string LineText(int64_t line);
  // The line as printed: at most `maxLength` characters.
  std::string PrintableLine(int64_t line, int maxLength = 1024);

  bool HexMode() const { return hexMode_; }
  void SetHexMode(bool hex);
  bool ExpandTabs() const { return expandTabs_; }
  void SetExpandTabs(bool expand);
  int TabSize() const { return tabSize_; }
  void SetTabSize(int size);
  void SetViewerFont(const QFont& font);

  int64_t CaretLine() const { return caretLine_ + 1; }
  int CaretColumn() const { return caretColumn_ + 1; }
  // Clamped into the file; scrolls the caret into view.
  void SetCaret(int64_t line, int column);
  int64_t TopLine() const { return topLine_ + 1; }
  void SetTopLine(int64_t line);
  int FirstVisibleColumn() const { return leftColumn_ + 1; }
  int VisibleColumns() const;
  int VisibleLines() const;
  // The byte under the caret in hex mode (by the status bar's rule).
  int64_t CaretOffset() const;

  bool HasSelection() const;
  // Raises Exception when the selection is too large for the clipboard.
  std::string SelectedText();
  void SetSelection(int64_t line1, int column1, int64_t line2, int column2);
  void SelectAll();
  void CopyToClipboard();

  // Selects the match and returns true; searches bytes of the file from the
  // caret.
  bool Search(const std::string& text, TSearchOptions options);

  TCommandProcessor& Controller() const { return *controller_; }
  void SetController(TCommandProcessor& controller) { controller_ = &controller; }
  void ExecuteCommand(int command);

  // Every caret or view change, and when the line count becomes known.
  std::function<void()> onShowStatus;

 protected:
  // The x of the first text column inside the viewport.
  virtual int TextLeft() const { return 4; }
  virtual void StatusChanged();
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool event(QEvent* event) override;
  double CharWidth() const;
  int LineHeight() const;

 private:
  struct TPos {
    int64_t line = 0;
    int column = 0;
  };
  QString DisplayLine(int64_t line);
  int64_t DisplayLines() const;
  int64_t OffsetOf(TPos pos);
  TPos PosOf(int64_t offset);
  TPos PosAt(const QPoint& point) const;
  void CountTick();
  void UpdateScrollBars();
  void EnsureCaretVisible();
  void MoveCaret(TPos pos, bool select);

  TViewFile file_;
  QTimer countTimer_;
  bool utf8_ = false;
  bool hexMode_ = false;
  bool expandTabs_ = true;
  int tabSize_ = 8;
  int64_t topLine_ = 0;
  int leftColumn_ = 0;
  int64_t caretLine_ = 0;
  int caretColumn_ = 0;
  TPos anchor_;
  bool selecting_ = false;
  int widestLine_ = 80;
  TCommandProcessor* controller_;
};

// The file viewer with the column ruler band above its text.
class TRulerFileViewer : public TFileViewer {
 public:
  explicit TRulerFileViewer(QWidget* parent = nullptr);
  bool ShowRuler() const { return showRuler_; }
  void SetShowRuler(bool show);
  // The caret column at which the ruler was last drawn (-1 before).
  int RulerCaretColumn() const { return rulerCaret_; }
  TRulerBand& Ruler() const { return *ruler_; }

 protected:
  int TextLeft() const override { return 16; }
  void StatusChanged() override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateBand();
  TRulerBand* ruler_;
  bool showRuler_ = true;
  int rulerCaret_ = -1;
};

}  // namespace vesper
