#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Streams.h"
#include "tests/support/TestSupport.h"

using namespace vesper;
using vesper::test::MakeTempSubdir;
using vesper::test::WriteFile;

TEST(Files, NameHelpers) {
  EXPECT_EQ(ExtractFileName("/a/b/Unit1.PAS"), "Unit1.PAS");
  EXPECT_EQ(ExtractFilePath("/a/b/Unit1.PAS"), "/a/b/");
  EXPECT_EQ(ExtractFileDir("/a/b/Unit1.PAS"), "/a/b");
  EXPECT_EQ(ExtractFileDir("/x"), "/");
  EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
  EXPECT_EQ(ExtractFileExt("c.tar.GZ"), ".GZ");
  EXPECT_EQ(ChangeFileExt("/p/Proj.dpr", ".DOF"), "/p/Proj.DOF");
  EXPECT_EQ(ChangeFileExt("/p/Proj", ".exe"), "/p/Proj.exe");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a//"), "/a");
  EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
}

TEST(Files, MasksIgnoreCase) {
  struct Case { const char* name; const char* masks; bool match; } cases[] = {
      {"Unit1.PAS", "*.pas", true},  {"unit1.pas", "*.inc;*.pas", true},
      {"a.dfm", "*.pas", false},      {"README", "*.*", true},
      {"README", "README.*", true},   {"x.vwz", "?.VWZ", true},
      {"xy.vwz", "?.vwz", false},     {"abcabd", "*abd", true},
      {"name", "", false},
  };
  for (auto& c : cases) EXPECT_EQ(MatchesMask(c.name, c.masks), c.match) << c.name << " " << c.masks;
}

TEST(Files, FindFilesFiltersFoldersAndHidden) {
  std::string dir = MakeTempSubdir("find");
  WriteFile(dir + "/b.PAS", "b");
  WriteFile(dir + "/a.pas", "aa");
  WriteFile(dir + "/.hidden.pas", "h");
  MakeTempSubdir("find/sub.pas");
  auto normal = FindFiles(dir, "*.pas", 0);
  ASSERT_EQ(normal.size(), 2u);
  EXPECT_EQ(normal[0].Name, "a.pas");
  EXPECT_EQ(normal[0].Size, 2);
  EXPECT_EQ(normal[1].Name, "b.PAS");
  EXPECT_EQ(FindFiles(dir, "*.pas", faHidden).size(), 3u);
  auto withDirs = FindFiles(dir, "*", faDirectory);
  ASSERT_EQ(withDirs.size(), 3u);
  EXPECT_TRUE(withDirs[2].Attr & faDirectory);
  EXPECT_TRUE(FileExists(dir + "/a.pas"));
  EXPECT_FALSE(FileExists(dir + "/sub.pas"));
  EXPECT_TRUE(DirectoryExists(dir + "/sub.pas"));
}

TEST(Files, AtomicSaveReplacesAndKeepsMode) {
  std::string dir = MakeTempSubdir("save");
  std::string f = dir + "/out.txt";
  SaveFileAtomic(f, "first");
  chmod(f.c_str(), 0640);
  SaveFileAtomic(f, "second");
  EXPECT_EQ(ReadFileBytes(f), "second");
  struct stat st;
  stat(f.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FindFiles(dir, "*", faHidden).size(), 1u);  // no temporary left
  EXPECT_THROW(SaveFileAtomic(dir + "/missing/x", "y"), EFCreateError);
  EXPECT_THROW(ReadFileBytes(dir + "/none"), EFOpenError);
}

TEST(Streams, MemoryAndFileStreams) {
  TMemoryStream m;
  m.WriteDWord(0x01020304);
  m.WriteWord(0xABCD);
  m.SetPosition(0);
  EXPECT_EQ(m.ReadDWord(), 0x01020304u);
  EXPECT_EQ(m.ReadWord(), 0xABCD);
  EXPECT_THROW(m.ReadByte(), EReadError);
  std::string f = MakeTempSubdir("streams") + "/s.bin";
  {
    TFileStream out(f, fmCreate);
    out.CopyFrom(m, 0);
  }
  TFileStream in(f, fmOpenRead);
  EXPECT_EQ(in.Size(), 6);
  EXPECT_EQ(in.ReadString(6), m.DataString());
  EXPECT_THROW(TFileStream("/nonexistent/x", fmOpenRead), EFOpenError);
}
