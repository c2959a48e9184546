#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

#include <unistd.h>

#include "platform/Exception.h"
#include "tests/support/TestSupport.h"
#include "ui/FileViewer.h"
#include "ui/Ruler.h"
#include "ui/ViewFile.h"
#include "ui/tests/UiTest.h"

using namespace vesper;

namespace {

class FileViewerTest : public test::UiTest {
 protected:
  std::string Write(const std::string& name, const std::string& data) {
    const std::string path = dir + "/" + name;
    test::WriteFile(path, data);
    return path;
  }
  // Runs the event loop until the viewer knows its line count.
  void WaitForCount(TFileViewer& v) {
    QElapsedTimer t;
    t.start();
    while (!v.LineCountKnown() && t.elapsed() < 10000) QApplication::processEvents();
  }
  std::string dir = test::MakeTempSubdir("viewer");
};

std::string NumberedLines(int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += "line " + std::to_string(i) + "\n";
  return s;
}

}  // namespace

TEST(HexLine, LayoutAndCaretTable) {
  std::string bytes;
  for (int i = 0; i < 16; ++i) bytes += static_cast<char>(0x41 + i);
  bytes[3] = '\0';
  const std::string line = FormatHexLine(0x1F0, bytes.data(), 16);
  EXPECT_EQ(line, "000001F0  41 42 43 00 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50  ABC.EFGHIJKLMNOP");
  EXPECT_EQ(line.size(), static_cast<size_t>(kHexLineLength));
  EXPECT_EQ(FormatHexLine(0x10, "\xff", 1), "00000010  FF" + std::string(45, ' ') + "  .");
  // The table gives each byte's hex digits and its character back.
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(HexColumnToByteIndex(HexByteColumn(i) + 1), i) << i;
    EXPECT_EQ(line.substr(HexByteColumn(i) - 1, 2).size(), 2u);
    if (i > 0) {
      EXPECT_EQ(HexColumnToByteIndex(kHexAsciiColumn + i), i);
    }
  }
  struct { int column, index; } table[] = {{1, 0}, {14, 0}, {15, 1}, {16, 1}, {17, 2}, {19, 2},
                                          {20, 3}, {55, 14}, {56, 15}, {60, 15}, {61, 1},
                                          {75, 15}, {76, 0}};
  for (auto c : table) EXPECT_EQ(HexColumnToByteIndex(c.column), c.index) << c.column;
}

TEST_F(FileViewerTest, LineIndexCountsAndFindsLines) {
  struct Case { std::string data; int64_t lines; std::string last; } cases[] = {
      {"", 0, ""},
      {"one", 1, "one"},
      {"one\n", 2, ""},
      {"a\r\nb\r\n\r\nc", 4, "c"},
      {"\n\n", 3, ""},
  };
  for (const Case& c : cases) {
    TViewFile f;
    f.Open(Write("case.txt", c.data));
    f.CountAll();
    EXPECT_EQ(f.LineCount(), c.lines) << c.data;
    if (c.lines) {
      EXPECT_EQ(f.LineBytes(c.lines - 1, 100), c.last) << c.data;
    }
    EXPECT_EQ(f.LineStart(c.lines), -1);
  }
  // Many lines and a long one: starts through the checkpoints, both ways.
  std::string big = NumberedLines(5000) + std::string(200000, 'x') + "\n" + NumberedLines(3000);
  TViewFile f;
  f.Open(Write("big.txt", big));
  EXPECT_EQ(f.LineCount(), -1);
  EXPECT_EQ(f.LineBytes(4321, 100), "line 4322");  // counts ahead as needed
  EXPECT_EQ(f.LineBytes(5000, 10), "xxxxxxxxxx");
  EXPECT_EQ(f.LineBytes(5001, 100), "line 1");
  EXPECT_EQ(f.LineBytes(17, 100), "line 18");
  f.CountAll();
  EXPECT_EQ(f.LineCount(), 8002);
  EXPECT_EQ(f.LineBytes(8000, 100), "line 3000");
  EXPECT_EQ(f.LineOfOffset(static_cast<int64_t>(big.find("line 2999\n", big.size() - 50000))),
            7999);
  EXPECT_EQ(f.LineOfOffset(0), 0);
}

TEST_F(FileViewerTest, FindAcrossChunksWithOptions) {
  std::string data(9 << 20, '.');
  data.replace(4 << 20 ^ 2, 6, "Needle");  // across the first chunk's end
  data.replace(100, 8, "needle_x");
  data.replace(data.size() - 7, 7, " needle");
  TViewFile f;
  f.Open(Write("find.bin", data));
  const int64_t first = 4 << 20 ^ 2;
  EXPECT_EQ(f.Find("Needle", 0, false, true, false), first);
  EXPECT_EQ(f.Find("needle", 0, false, false, false), 100);
  EXPECT_EQ(f.Find("needle", 0, false, false, true), first);
  EXPECT_EQ(f.Find("needle", first + 1, false, true, false), static_cast<int64_t>(data.size() - 6));
  EXPECT_EQ(f.Find("needle", f.Size(), true, false, false), static_cast<int64_t>(data.size() - 6));
  EXPECT_EQ(f.Find("needle", data.size() - 6, true, false, false), first);
  EXPECT_EQ(f.Find("needle", 100, true, false, false), -1);
  EXPECT_EQ(f.Find("absent", 0, false, false, false), -1);
  EXPECT_EQ(f.Find("", 0, false, false, false), -1);
}

TEST_F(FileViewerTest, ViewerCountsOnTheEventLoopAndSearches) {
  TRulerFileViewer v;
  v.resize(640, 400);
  int statuses = 0;
  v.onShowStatus = [&] { ++statuses; };
  v.Open(Write("text.txt", NumberedLines(200000)));
  EXPECT_EQ(v.LineCount(), -1);  // not known yet
  EXPECT_EQ(v.LineText(1), "line 1");
  WaitForCount(v);
  EXPECT_EQ(v.LineCount(), 200001);
  EXPECT_GT(statuses, 0);
  EXPECT_EQ(v.ByteCount(), static_cast<int64_t>(NumberedLines(200000).size()));
  EXPECT_TRUE(v.Search("line 150000", soMatchCase | soWholeWord));
  EXPECT_EQ(v.CaretLine(), 150000);
  EXPECT_EQ(v.SelectedText(), "line 150000");
  v.CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(), "line 150000");
  EXPECT_TRUE(v.Search("LINE 7", soBackward));
  EXPECT_EQ(v.CaretLine(), 79999);  // the nearest "line 7..." before
  v.SetCaret(1, 1);
  EXPECT_FALSE(v.Search("line", soBackward));
  v.SetCaret(50, 1);
  EXPECT_EQ(v.CaretLine(), 50);
  EXPECT_LE(v.TopLine(), 50);
  EXPECT_GT(v.TopLine() + v.VisibleLines(), 50);
}

TEST_F(FileViewerTest, HexModeTabsAndRuler) {
  TRulerFileViewer v;
  v.resize(800, 300);
  v.Open(Write("hex.bin", std::string("a\tb\n", 4) + std::string(30, '\x01')));
  EXPECT_EQ(v.LineText(1), "a       b");
  v.SetExpandTabs(false);
  EXPECT_EQ(v.LineText(1), "a b");
  EXPECT_EQ(v.LineText(2), std::string(30, '.'));
  v.SetHexMode(true);
  EXPECT_EQ(v.LineCount(), 3);
  EXPECT_EQ(v.LineText(1), "00000000  61 09 62 0A 01 01 01 01 01 01 01 01 01 01 01 01  a.b.............");
  EXPECT_EQ(v.LineText(3).substr(0, 15), "00000020  01 01");
  v.SetCaret(1, 20);
  EXPECT_EQ(v.CaretOffset(), 3);
  EXPECT_TRUE(v.Search("b", soGlobal));
  EXPECT_EQ(v.CaretLine(), 1);
  EXPECT_EQ(v.RulerCaretColumn(), v.CaretColumn());
  EXPECT_TRUE(v.ShowRuler());
  v.SetShowRuler(false);
  EXPECT_FALSE(v.Ruler().isVisibleTo(&v));
}

TEST_F(FileViewerTest, EmptyMissingShrinkingAndHugeSelection) {
  TFileViewer v;
  v.resize(400, 300);
  v.Open(Write("empty.txt", ""));
  EXPECT_EQ(v.LineCount(), 0);
  EXPECT_EQ(v.LineText(1), "");
  EXPECT_FALSE(v.Search("x", 0));
  v.SelectAll();
  EXPECT_FALSE(v.HasSelection());
  EXPECT_THROW(v.Open(dir + "/missing.txt"), EFOpenError);
  EXPECT_FALSE(v.IsOpen());

  const std::string path = Write("shrink.txt", NumberedLines(100000));
  v.Open(path);
  v.SetCaret(90000, 1);
  ASSERT_EQ(truncate(path.c_str(), 50), 0);
  v.grab();  // paints after the file shrank
  WaitForCount(v);
  EXPECT_EQ(v.LineCount(), 8);
  EXPECT_LE(v.CaretLine(), 8);
  EXPECT_FALSE(v.Search("line 90000", 0));
  unlink(path.c_str());
  v.grab();
  EXPECT_EQ(v.LineText(1), "line 1");  // the mapping outlives the name
}
