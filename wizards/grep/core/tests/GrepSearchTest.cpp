#include "wizards/grep/core/GrepSearch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/filer/FormConverter.h"
#include "wizards/grep/core/BinScan.h"
#include "tests/support/TestSupport.h"

namespace vesper::grep {
namespace {

using vesper::test::MakeTempSubdir;
using vesper::test::WriteFile;

TGrepCriteria Criteria(const std::string& path, const std::string& spec, const std::string& expression) {
  TGrepCriteria c;
  c.searchPath = path;
  c.fileSpec = spec;
  c.expression = expression;
  return c;
}

std::vector<std::string> FileNames(const TGrepSearch& s) {
  std::vector<std::string> names;
  for (auto& f : s.Files()) names.push_back(f.fileName);
  return names;
}

TEST(GrepSearch, CriteriaChecksInOrder) {
  TGrepSearch s;
  TGrepCriteria c;
  EXPECT_EQ(s.Run(c), TGrepSearch::TOutcome::EmptyCriteria);
  EXPECT_EQ(s.Message(), "Path is empty, can't Grep");
  c.searchPath = " /tmp ";
  EXPECT_EQ(s.Run(c), TGrepSearch::TOutcome::EmptyCriteria);
  EXPECT_EQ(s.Message(), "Expression is empty, can't Grep");
  c.expression = "x";
  EXPECT_EQ(s.Run(c), TGrepSearch::TOutcome::EmptyCriteria);
  EXPECT_EQ(s.Message(), "FileSpec is empty, can't Grep");
  c.fileSpec = "*.txt";
  c.expression = "a(b";
  EXPECT_EQ(s.Run(c), TGrepSearch::TOutcome::ExpressionError);
  EXPECT_EQ(s.Message(), "Expression Error : Unbalanced (");
}

TEST(GrepSearch, FoldersMasksAndSubFolders) {
  std::string root = MakeTempSubdir("tree");
  std::string other = MakeTempSubdir("other");
  WriteFile(root + "/a.txt", "x\nfind me\n");
  WriteFile(root + "/b.pas", "find\nfind\n");
  WriteFile(root + "/c.dat", "find\n");
  mkdir((root + "/sub").c_str(), 0755);
  mkdir((root + "/.hidden").c_str(), 0755);
  WriteFile(root + "/sub/d.txt", "find\n");
  WriteFile(root + "/.hidden/e.txt", "find\n");
  WriteFile(other + "/f.txt", "nothing\nfind\n");

  TGrepSearch s;
  TGrepCriteria c;
  c.searchPath = root + ";" + other;  // no trailing slashes
  c.fileSpec = "*.txt; *.PAS";
  c.expression = "find";
  ASSERT_EQ(s.Run(c), TGrepSearch::TOutcome::Searched);
  EXPECT_EQ(FileNames(s), (std::vector<std::string>{root + "/a.txt", root + "/b.pas", other + "/f.txt"}));
  EXPECT_EQ(s.FilesSearched(), 3);
  EXPECT_EQ(s.TotalHits(), 4);
  EXPECT_EQ(s.TotalLines(), 6);
  EXPECT_EQ(s.Files()[1].firstHit, 1);
  EXPECT_EQ(s.Hits()[1].first, "Line 1");
  EXPECT_EQ(s.Hits()[3].second.line, 2);

  c.searchPath = root;
  c.subFolders = true;
  c.immediate = true;
  ASSERT_EQ(s.Run(c), TGrepSearch::TOutcome::Searched);
  // A folder's files come before its sub-folders'; dot folders are skipped.
  EXPECT_EQ(FileNames(s), (std::vector<std::string>{root + "/a.txt", root + "/b.pas", root + "/sub/d.txt"}));
  EXPECT_EQ(s.NoResultText(), "");
}

TEST(GrepSearch, StopEndsAfterTheCurrentFile) {
  std::string root = MakeTempSubdir("stop");
  for (int i = 0; i < 5; ++i) WriteFile(root + "/f" + std::to_string(i) + ".txt", "hit\nhit\n");
  TGrepSearch s;
  s.OnFileDone = [&](const TFileResult&, const std::string&) { s.Stop(); };
  TGrepCriteria c = Criteria(root, "*.txt", "hit");
  ASSERT_EQ(s.Run(c), TGrepSearch::TOutcome::Searched);
  EXPECT_EQ(s.Files().size(), 1u);
  EXPECT_EQ(s.Hits().size(), 2u);
  EXPECT_FALSE(s.Searching());
}

TEST(GrepSearch, NoResultTexts) {
  std::string root = MakeTempSubdir("none");
  WriteFile(root + "/a.txt", "abc\n");
  TGrepSearch s;
  TGrepCriteria c = Criteria(root, "*.txt", "zzz");
  s.Run(c);
  EXPECT_EQ(s.NoResultText(), "No matches found  ( Case ? )");
  c.caseSensitive = false;
  s.Run(c);
  EXPECT_EQ(s.NoResultText(), "No matches found ");
  c.fileSpec = "*.none";
  s.Run(c);
  EXPECT_EQ(s.NoResultText(), "No Files Found");
  EXPECT_EQ(s.SummaryText().rfind("Scanned 0 Files in ", 0), 0u);
}

TEST(GrepSearch, UnreadableAndFormFilesAreReportedAndTheSearchGoesOn) {
  std::string root = MakeTempSubdir("unreadable");
  WriteFile(root + "/a.txt", "find\n");
  WriteFile(root + "/b.txt", "find\n");
  WriteFile(root + "/c.dfm", "TPF0\x01");  // a binary form that cannot be read
  chmod((root + "/a.txt").c_str(), 0);
  bool rootUser = geteuid() == 0;
  std::vector<std::string> errors;
  TGrepSearch s;
  s.OnFileError = [&](const std::string& name, const std::string&) { errors.push_back(name); };
  TGrepCriteria c = Criteria(root, "*.*", "find");
  s.Run(c);
  if (!rootUser) {
    EXPECT_EQ(FileNames(s), std::vector<std::string>{root + "/b.txt"});
    EXPECT_EQ(s.TotalHits(), 1);
  }
  EXPECT_NE(std::find(errors.begin(), errors.end(), root + "/c.dfm"), errors.end());
  EXPECT_EQ(s.FilesSearched(), 3);
}

TEST(GrepSearch, FormFilesAreSearchedAsText) {
  std::string root = MakeTempSubdir("forms");
  const std::string text = "object Form1: TForm1\r\n  Caption = 'Find me'\r\n  Width = 300\r\nend\r\n";
  WriteFile(root + "/Binary.DFM", ObjectTextToBinary(text));
  WriteFile(root + "/text.dfm", "object F: TF\r\nend\r\n  Find me\r\n");
  TGrepSearch s;
  std::vector<std::string> searched;
  s.OnFileDone = [&](const TFileResult&, const std::string& name) { searched.push_back(ExtractFileName(name)); };
  TGrepCriteria c = Criteria(root, "*.dfm", "Find me");
  c.wantLineText = true;
  s.Run(c);
  ASSERT_EQ(s.Files().size(), 2u);
  EXPECT_EQ(s.Hits()[0].second.line, 2);  // a line of the converted text
  EXPECT_EQ(s.Hits()[0].second.text, "  Caption = 'Find me'");
  EXPECT_EQ(s.Hits()[1].second.line, 3);
  ASSERT_EQ(searched.size(), 2u);
  EXPECT_EQ(searched[0].rfind("GRX", 0), 0u);  // the temporary text file
  EXPECT_FALSE(FileExists(GetTempDir() + searched[0]));
  EXPECT_EQ(searched[1], "text.dfm");
}

TEST(GrepSearch, SummaryAndTiming) {
  EXPECT_EQ(TGrepSearch::TimingText(1234), "1.23 seconds");
  EXPECT_EQ(TGrepSearch::TimingText(61500), "1 Mins and 1.50 seconds");
  std::string root = MakeTempSubdir("summary");
  std::string text;
  for (int i = 0; i < 1234; ++i) text += "line\n";
  WriteFile(root + "/a.txt", text);
  TGrepSearch s;
  TGrepCriteria c = Criteria(root, "*.txt", "nothing");
  s.Run(c);
  EXPECT_EQ(s.SummaryText().rfind("Scanned 1,234 lines in ", 0), 0u) << s.SummaryText();
}

std::vector<int64_t> BinHits(const std::string& data, const std::string& pattern, bool ignoreCase) {
  std::string path = MakeTempSubdir("bin") + "/f.bin";
  WriteFile(path, data);
  TVesBinScan scan(path);
  std::vector<int64_t> hits;
  scan.OnHit = [&](int64_t offset) { hits.push_back(offset); };
  scan.SetPattern(pattern, ignoreCase);
  int n = scan.Scan();
  EXPECT_EQ(n, static_cast<int>(hits.size()));
  return hits;
}

TEST(BinScan, OccurrencesAcrossBlocksAndOverlaps) {
  EXPECT_EQ(BinHits("xaaaa", "aaa", false), (std::vector<int64_t>{2, 3}));
  EXPECT_EQ(BinHits("abcXYZ", "xyz", false), std::vector<int64_t>{});
  EXPECT_EQ(BinHits("abcXyZ", "XYZ", true), std::vector<int64_t>{4});
  std::string big(70000, '.');
  big.replace(32766, 4, "ABCD");  // spans offset 32768
  big.replace(69996, 4, "ABCD");  // ends at the last byte
  EXPECT_EQ(BinHits(big, "ABCD", false), (std::vector<int64_t>{32767, 69997}));
  std::string edge(32768 * 2, 'a');
  EXPECT_EQ(BinHits(edge, "aa", false).size(), edge.size() - 1);
}

TEST(GrepSearch, BinaryModeRecords) {
  std::string root = MakeTempSubdir("binmode");
  WriteFile(root + "/a.bin", std::string("\0\1needle\0needle", 15));
  TGrepSearch s;
  TGrepCriteria c = Criteria(root, "*.bin", "NEEDLE");
  c.binary = true;
  c.caseSensitive = false;
  s.Run(c);
  ASSERT_EQ(s.Hits().size(), 2u);
  EXPECT_EQ(s.Hits()[0].first, "Offset 3");
  EXPECT_EQ(s.Hits()[1].second.offset, 10);
  EXPECT_EQ(s.Hits()[1].second.patternLength, 6);
  EXPECT_EQ(s.TotalLines(), 0);
  EXPECT_EQ(s.SummaryText().rfind("Scanned 1 Files in ", 0), 0u);
}

}  // namespace
}  // namespace vesper::grep
