#include <gtest/gtest.h>

#include "platform/StringList.h"
#include "shared/controls/PathHelpers.h"
#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

TEST(BreakApart, PiecesBetweenDelimiters) {
  struct Case {
    std::string source, delimiter;
    std::vector<std::string> pieces;
  } cases[] = {
      {"a/b/c", "/", {"a", "b", "c"}},
      {"/usr/lib/", "/", {"", "usr", "lib", ""}},
      {"", "/", {""}},
      {"plain", ";", {"plain"}},
      {"x::y::", "::", {"x", "y", ""}},
  };
  TStringList list;
  list.Add("left over");
  for (const Case& c : cases) {
    EXPECT_EQ(BreakApart(c.source, c.delimiter, list), int(c.pieces.size())) << c.source;
    std::vector<std::string> got;
    for (int i = 0; i < list.Count(); ++i) got.push_back(list.Strings(i));
    EXPECT_EQ(got, c.pieces) << c.source;
  }
}

TEST(CompressString, KeepsFirstPieceFillerAndTheLastPiecesThatFit) {
  struct Case {
    std::string source, expected;
  } cases[] = {
      // 35 characters or fewer: unchanged.
      {"/home/someone/projects/vesper/src", "/home/someone/projects/vesper/src"},
      {"/home/someone/projects/vesper/src/x", "/home/someone/projects/vesper/src/x"},
      // Longer but only two pieces: unchanged.
      {"first-piece-that-is-rather-long/second-piece-also-long",
       "first-piece-that-is-rather-long/second-piece-also-long"},
      // Pieces leave from the front of the middle until it fits.
      {"/home/someone/projects/vesper/source/shared", "/.../projects/vesper/source/shared"},
      {"/home/someone/projects/vesper/source/controls", "/.../vesper/source/controls"},
      // Three pieces are the least, even when still too long.
      {"c:/a-very-long-middle-folder-name/a-very-long-file-name.pas",
       "c:/.../a-very-long-file-name.pas"},
      {"root/mid/an-extremely-long-last-piece-of-the-path", "root/.../an-extremely-long-last-piece-of-the-path"},
  };
  for (const Case& c : cases) {
    std::string dest = "old";
    CompressString(c.source, "/", "...", dest, 35);
    EXPECT_EQ(dest, c.expected) << c.source;
  }
  std::string dest;
  CompressString("C:\\Program Files\\Vesper\\Wizards\\Grep\\Results", "\\", "...", dest, 20);
  EXPECT_EQ(dest, "C:\\...\\Grep\\Results");
}

TEST(GetIDListFromPath, OnlyExistingFoldersGiveAnItemList) {
  std::string folder = test::MakeTempSubdir("idlist");
  test::WriteFile(folder + "/file.txt", "x");
  TItemIDList list = "untouched";
  GetIDListFromPath(folder + "/missing", list);
  EXPECT_EQ(list, "untouched");
  GetIDListFromPath(folder + "/file.txt", list);
  EXPECT_EQ(list, "untouched");
  GetIDListFromPath(folder, list);
  EXPECT_EQ(list, folder);
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_FALSE(DirectoryExists(folder + "/file.txt"));
}

}  // namespace
}  // namespace vesper
