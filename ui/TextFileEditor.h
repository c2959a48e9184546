// The text file editor control: a plain-text editor for one file with a
// column ruler, markers, search and replace, tab kinds, word wrap and the
// keys of a command processor ("Default" and "WordStar" tables).
//
// Lines and columns are 1-based. A line is a paragraph of the file (word wrap
// only changes how it is shown). Texts are ANSI strings; a file that is valid
// UTF-8 with non-ASCII bytes is read and written as UTF-8, and a file whose
// text is unchanged is written back byte for byte.
#pragma once

#include <QTextCursor>
#include <QTextEdit>

#include <array>
#include <functional>
#include <string>

#include "ui/SearchOptions.h"

namespace vesper {

class TCommandProcessor;
class TRulerBand;

enum class TTabType { Real, Fixed, Smart };

class TTextFileEditor : public QTextEdit {
 public:
  explicit TTextFileEditor(QWidget* parent = nullptr);
  ~TTextFileEditor() override;

  // Files.
  void NewFile(const std::string& name);
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  // Raises EFOpenError when the file cannot be read.
  void Open(const std::string& path);
  // Writes atomically (a backup first when enabled and the file exists);
  // raises Exception on failure. Takes `path` as file name and clears the
  // modified flag.
  void SaveToFile(const std::string& path);
  void Save() { SaveToFile(fileName_); }
  bool Utf8() const { return utf8_; }

  // Text.
  std::string Text() const;
  void SetText(const std::string& text);
  bool Modified() const;
  void SetModified(bool modified);
  int LineCount() const;
  int ParaCount() const { return LineCount(); }
  std::string LineText(int line) const;  // "" outside 1..LineCount
  std::string ParaText(int line) const { return LineText(line); }
  // The line as printed: tabs expanded, at most `maxLength` characters.
  std::string PrintableLine(int line, int maxLength = 1024) const;
  // Characters with line ends counted as they will be written.
  int64_t TextLength() const;

  // Caret and view.
  int CaretLine() const;
  int CaretColumn() const;
  // Clamped into the text.
  void SetCaret(int line, int column);
  int TopLine() const;
  void SetTopLine(int line);
  int VisibleColumns() const;
  int FirstVisibleColumn() const;

  // Selection and clipboard.
  bool HasSelection() const;
  std::string SelectedText() const;
  void SetSelection(int line1, int column1, int line2, int column2);
  void SelectAllText() { selectAll(); }
  void CutToClipboard() { cut(); }
  void CopyToClipboard() { copy(); }
  void PasteFromClipboard() { paste(); }
  void Undo() { undo(); }
  void Redo() { redo(); }
  bool CanUndo() const;
  bool CanRedo() const;

  // Search: selects the match and returns true. Replace returns the number of
  // replacements, -1 when nothing was found.
  bool Search(const std::string& text, TSearchOptions options);
  int Replace(const std::string& text, const std::string& with, TSearchOptions options);

  // Markers 0..9; they move with the text.
  void SetMarker(int n);
  void ClearMarker(int n);
  bool IsMarkerSet(int n) const;
  // Line and column of a marker (0, 0 when not set).
  std::pair<int, int> MarkerPosition(int n) const;
  bool GotoMarker(int n);

  // Options.
  bool InsertMode() const { return !overwriteMode(); }
  void SetInsertMode(bool insert);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  int WrapColumn() const { return wrapColumn_; }
  void SetWrapColumn(int column);
  TTabType TabType() const { return tabType_; }
  void SetTabType(TTabType type) { tabType_ = type; }
  int TabSize() const { return tabSize_; }
  void SetTabSize(int size);
  bool AutoIndent() const { return autoIndent_; }
  void SetAutoIndent(bool on) { autoIndent_ = on; }
  bool CreateBackup() const { return createBackup_; }
  void SetCreateBackup(bool on) { createBackup_ = on; }
  bool TrimTrailing() const { return trimTrailing_; }
  void SetTrimTrailing(bool on) { trimTrailing_ = on; }
  bool ShowRuler() const { return showRuler_; }
  void SetShowRuler(bool show);
  void SetEditorFont(const QFont& font);
  TCommandProcessor& Controller() const { return *controller_; }
  void SetController(TCommandProcessor& controller) { controller_ = &controller; }
  // Removes the trailing blanks of every line; returns how many lines changed.
  int TrimTrailingBlanks();

  // Runs one editor command (TEditorCommand, with ccSelect for movements).
  void ExecuteCommand(int command);

  // Events: every caret or text change, and every text change.
  std::function<void()> onShowStatus;
  std::function<void()> onChange;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  QTextCursor CursorAt(int line, int column) const;
  void Move(int command, bool select);
  void InsertNewLine();
  void InsertTab();
  void BlockCommand(int command);
  void UpdateRuler();
  void UpdateLayout();
  void ShowStatus();
  double CharWidth() const;

  std::string fileName_;
  std::string loadedBytes_;  // the file as read, while its text is unchanged
  QString loadedText_;
  std::string lineEnd_ = "\n";
  bool utf8_ = false;
  bool wordWrap_ = false;
  int wrapColumn_ = 80;
  TTabType tabType_ = TTabType::Real;
  int tabSize_ = 8;
  bool autoIndent_ = true;
  bool createBackup_ = false;
  bool trimTrailing_ = false;
  bool showRuler_ = true;
  bool canUndo_ = false;
  bool canRedo_ = false;
  std::array<QTextCursor, 10> markers_;
  QTextCursor blockBegin_, blockEnd_;
  TRulerBand* ruler_;
  TCommandProcessor* controller_;
};

// Expands tabs to stops every `tabSize` columns.
std::string ExpandTabs(const std::string& line, int tabSize);

}  // namespace vesper
