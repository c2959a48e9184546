#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include "platform/Files.h"
#include "tests/support/TestSupport.h"
#include "ui/CommandProcessor.h"
#include "ui/Ruler.h"
#include "ui/TextFileEditor.h"
#include "ui/tests/UiTest.h"

using namespace vesper;

namespace {

class TextFileEditorTest : public test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    editor.resize(600, 300);
    editor.SetText("alpha beta\nBeta gamma beta\n  indented\nlast");
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&editor, &press);
  }
  TTextFileEditor editor;
};

}  // namespace

TEST(Ruler, TextFollowsTheColumns) {
  EXPECT_EQ(RulerText(1, 20), "----+----1----+----2----+----3----+----4");
  EXPECT_EQ(RulerText(15, 0).substr(0, 7), "+----2-");
  EXPECT_EQ(RulerText(10, 0).substr(0, 2), "1-");
  EXPECT_EQ(RulerText(91, 10), "----+----0----+----1----+----2");  // column 100 carries 0
  // The character at each column is right for any start.
  for (int first : {1, 3, 10, 11, 99, 100, 101, 995}) {
    const std::string t = RulerText(first, 40);
    for (int i = 0; i < 40; ++i) {
      const int col = first + i;
      const char want = col % 10 == 0 ? '0' + (col / 10) % 10 : col % 5 == 0 ? '+' : '-';
      ASSERT_EQ(t[i], want) << "first " << first << " column " << col;
    }
  }
}

TEST_F(TextFileEditorTest, LinesCaretAndLength) {
  EXPECT_EQ(editor.LineCount(), 4);
  EXPECT_EQ(editor.LineText(2), "Beta gamma beta");
  EXPECT_EQ(editor.LineText(9), "");
  EXPECT_EQ(editor.TextLength(), 42);
  editor.SetCaret(3, 5);
  EXPECT_EQ(editor.CaretLine(), 3);
  EXPECT_EQ(editor.CaretColumn(), 5);
  editor.SetCaret(99, 99);
  EXPECT_EQ(editor.CaretLine(), 4);
  EXPECT_EQ(editor.CaretColumn(), 5);
  editor.SetText("a\tb");
  editor.SetTabSize(4);
  EXPECT_EQ(editor.PrintableLine(1), "a   b");
  EXPECT_EQ(editor.PrintableLine(1, 2), "a ");
}

TEST_F(TextFileEditorTest, SearchWithOptions) {
  editor.SetCaret(1, 1);
  EXPECT_TRUE(editor.Search("beta", 0));
  EXPECT_EQ(editor.CaretLine(), 1);
  EXPECT_TRUE(editor.Search("beta", soMatchCase));
  EXPECT_EQ(editor.CaretLine(), 2);
  EXPECT_EQ(editor.CaretColumn(), 16);
  EXPECT_FALSE(editor.Search("beta", soMatchCase));
  EXPECT_TRUE(editor.Search("Beta", soBackward | soMatchCase));
  EXPECT_EQ(editor.SelectedText(), "Beta");
  editor.SetCaret(1, 1);
  EXPECT_FALSE(editor.Search("alp", soWholeWord));
  EXPECT_FALSE(editor.Search("beta", soBackward));  // backward from the start
  EXPECT_FALSE(editor.Search("", 0));
}

TEST_F(TextFileEditorTest, ReplaceCountsAndUndo) {
  editor.SetCaret(1, 1);
  EXPECT_EQ(editor.Replace("beta", "B", soReplaceAll), 3);
  EXPECT_EQ(editor.LineText(2), "B gamma B");
  EXPECT_EQ(editor.Replace("beta", "B", soReplaceAll), -1);
  editor.undo();
  EXPECT_EQ(editor.LineText(2), "Beta gamma beta");  // one undo step
  editor.SetCaret(1, 1);
  EXPECT_EQ(editor.Replace("beta", "x", soMatchCase), 1);
  EXPECT_EQ(editor.LineText(1), "alpha x");
  editor.SetCaret(1, 1);
  EXPECT_EQ(editor.Replace("a", "aa", soReplaceAll | soGlobal), 7);  // no endless loop
  EXPECT_EQ(editor.Replace("zzz", "y", soReplaceAll | soGlobal), -1);
}

TEST_F(TextFileEditorTest, MarkersMoveWithTheText) {
  editor.SetCaret(3, 3);
  editor.SetMarker(3);
  EXPECT_TRUE(editor.IsMarkerSet(3));
  editor.SetCaret(1, 1);
  editor.insertPlainText("new line\n");
  EXPECT_EQ(editor.MarkerPosition(3), std::make_pair(4, 3));
  EXPECT_TRUE(editor.GotoMarker(3));
  EXPECT_EQ(editor.CaretLine(), 4);
  // Toggling at the same place clears it.
  editor.ExecuteCommand(ccSetMarker0 + 3);
  EXPECT_FALSE(editor.IsMarkerSet(3));
  EXPECT_FALSE(editor.GotoMarker(3));
  EXPECT_EQ(editor.MarkerPosition(3), std::make_pair(0, 0));
}

TEST_F(TextFileEditorTest, OpenSaveKeepsBytesAndEncoding) {
  const std::string dir = test::MakeTempSubdir("editor");
  const std::string crlf = dir + "/crlf.txt";
  const std::string raw = "one \r\ntwo\xa0\r\nno end";  // a 1252 no-break space
  test::WriteFile(crlf, raw);
  editor.Open(crlf);
  EXPECT_FALSE(editor.Utf8());
  EXPECT_EQ(editor.LineCount(), 3);
  EXPECT_EQ(editor.FileName(), crlf);
  editor.SaveToFile(crlf);
  EXPECT_EQ(test::ReadFile(crlf), raw);
  editor.SetCaret(3, 1);
  editor.insertPlainText("x");
  EXPECT_TRUE(editor.Modified());
  editor.SetCreateBackup(true);
  editor.Save();
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(test::ReadFile(crlf), "one \r\ntwo\xa0\r\nxno end");
  EXPECT_EQ(test::ReadFile(dir + "/crlf.bak"), raw);

  const std::string utf = dir + "/utf8.txt";
  test::WriteFile(utf, "caf\xc3\xa9\n");
  editor.Open(utf);
  EXPECT_TRUE(editor.Utf8());
  EXPECT_EQ(editor.LineText(1), "caf\xe9");
  editor.SetCaret(1, 5);
  editor.insertPlainText("!");
  editor.SetTrimTrailing(true);
  editor.Save();
  EXPECT_EQ(test::ReadFile(utf), "caf\xc3\xa9!\n");

  EXPECT_ANY_THROW(editor.Open(dir + "/missing.txt"));
}

TEST_F(TextFileEditorTest, NewFileStartsEmptyAndUnmodified) {
  editor.NewFile("Untitled");
  EXPECT_EQ(editor.FileName(), "Untitled");
  EXPECT_EQ(editor.Text(), "");
  EXPECT_EQ(editor.LineCount(), 1);
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(editor.TextLength(), 0);
}

TEST_F(TextFileEditorTest, TabKindsAndAutoIndent) {
  editor.SetText("    word  next\n");
  editor.SetTabSize(4);
  editor.SetCaret(2, 1);
  editor.SetTabType(TTabType::Real);
  Press(Qt::Key_Tab);
  EXPECT_EQ(editor.LineText(2), "\t");
  editor.SetCaret(2, 1);
  editor.ExecuteCommand(ccDelEol);
  editor.SetTabType(TTabType::Smart);
  Press(Qt::Key_Tab);
  EXPECT_EQ(editor.LineText(2), "    ");  // under "word"
  Press(Qt::Key_Tab);
  EXPECT_EQ(editor.LineText(2), "          ");  // under "next"
  editor.SetTabType(TTabType::Fixed);
  editor.ExecuteCommand(ccDelLine);
  editor.SetText("ab");
  editor.SetCaret(1, 3);
  Press(Qt::Key_Tab);
  EXPECT_EQ(editor.LineText(1), "ab  ");
  editor.SetText("  x");
  editor.SetAutoIndent(true);
  editor.SetCaret(1, 4);
  Press(Qt::Key_Return);
  EXPECT_EQ(editor.LineText(2), "  ");
  EXPECT_EQ(editor.CaretColumn(), 3);
}

TEST_F(TextFileEditorTest, CommandTables) {
  TCommandProcessor controller;
  editor.SetController(controller);
  editor.SetCaret(1, 1);
  // Default: Ctrl+D is not a command, WordStar is inactive.
  Press(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(editor.SelectedText(), "a");
  Press(Qt::Key_End);
  EXPECT_EQ(editor.CaretColumn(), 11);
  ASSERT_TRUE(controller.SetTableActive("WordStar", true));
  Press(Qt::Key_S, Qt::ControlModifier);  // left
  EXPECT_EQ(editor.CaretColumn(), 10);
  Press(Qt::Key_X, Qt::ControlModifier);  // down
  EXPECT_EQ(editor.CaretLine(), 2);
  Press(Qt::Key_Q, Qt::ControlModifier);  // Ctrl+Q S: start of line
  Press(Qt::Key_S);
  EXPECT_EQ(editor.CaretColumn(), 1);
  Press(Qt::Key_K, Qt::ControlModifier);  // Ctrl+K 5: marker 5
  Press(Qt::Key_5, Qt::ControlModifier);
  EXPECT_EQ(editor.MarkerPosition(5), std::make_pair(2, 1));
  // Block: mark "Beta", copy it to the end of line 4.
  Press(Qt::Key_K, Qt::ControlModifier);
  Press(Qt::Key_B);
  for (int i = 0; i < 4; ++i) Press(Qt::Key_D, Qt::ControlModifier);
  Press(Qt::Key_K, Qt::ControlModifier);
  Press(Qt::Key_K);
  editor.SetCaret(4, 5);
  Press(Qt::Key_K, Qt::ControlModifier);
  Press(Qt::Key_C);
  EXPECT_EQ(editor.LineText(4), "lastBeta");
  Press(Qt::Key_K, Qt::ControlModifier);  // Ctrl+K Y deletes the (copied) block
  Press(Qt::Key_Y);
  EXPECT_EQ(editor.LineText(4), "last");
  Press(Qt::Key_Y, Qt::ControlModifier);  // delete line
  EXPECT_EQ(editor.LineCount(), 3);
  Press(Qt::Key_V, Qt::ControlModifier);  // insert mode toggles
  EXPECT_FALSE(editor.InsertMode());
  // An unknown second key ends the sequence without typing.
  Press(Qt::Key_Q, Qt::ControlModifier);
  Press(Qt::Key_Z, Qt::NoModifier, "z");
  EXPECT_EQ(editor.Text().find('z'), std::string::npos);
  controller.SetTableActive("WordStar", false);
  Press(Qt::Key_Z, Qt::NoModifier, "z");
  EXPECT_NE(editor.Text().find('z'), std::string::npos);
}

TEST_F(TextFileEditorTest, UndoRedoClipboardAndStatus) {
  int statuses = 0, changes = 0;
  editor.onShowStatus = [&] { ++statuses; };
  editor.onChange = [&] { ++changes; };
  editor.SetCaret(2, 1);
  EXPECT_GT(statuses, 0);
  editor.SetSelection(1, 1, 1, 6);
  EXPECT_EQ(editor.SelectedText(), "alpha");
  editor.CutToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(), "alpha");
  EXPECT_EQ(editor.LineText(1), " beta");
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(editor.CanUndo());
  editor.Undo();
  EXPECT_EQ(editor.LineText(1), "alpha beta");
  EXPECT_TRUE(editor.CanRedo());
  editor.Redo();
  editor.SetCaret(4, 5);
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.LineText(4), "lastalpha");
  editor.SelectAllText();
  EXPECT_EQ(editor.SelectedText(), " beta\nBeta gamma beta\n  indented\nlastalpha");
}

TEST_F(TextFileEditorTest, WrapRulerAndTopLine) {
  std::string many;
  for (int i = 1; i <= 200; ++i) many += "line " + std::to_string(i) + "\n";
  editor.SetText(many);
  editor.show();
  editor.SetTopLine(50);
  EXPECT_EQ(editor.TopLine(), 50);
  EXPECT_GT(editor.VisibleColumns(), 10);
  editor.SetWordWrap(true);
  editor.SetWrapColumn(40);
  EXPECT_EQ(editor.lineWrapMode(), QTextEdit::FixedColumnWidth);
  EXPECT_EQ(editor.lineWrapColumnOrWidth(), 40);
  auto* ruler = editor.findChild<TRulerBand*>("Ruler");
  ASSERT_NE(ruler, nullptr);
  EXPECT_TRUE(ruler->isVisible());
  editor.SetCaret(60, 3);
  EXPECT_EQ(ruler->Caret(), 3);
  editor.SetShowRuler(false);
  EXPECT_FALSE(ruler->isVisible());
}
