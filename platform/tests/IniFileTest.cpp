#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "tests/support/TestSupport.h"

using namespace vesper;

namespace {

std::vector<std::string> Items(const TStrings& list) {
  std::vector<std::string> v;
  for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
  return v;
}

using V = std::vector<std::string>;

}  // namespace

TEST(IniFile, ReadsWhatItWrites) {
  std::string path = test::MakeTempSubdir("ini") + "/a.ini";
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");  // no file yet
  EXPECT_FALSE(FileExists(path));  // reading creates nothing
  ini.WriteString("Main", "Name", "Vesper");
  ini.WriteInteger("Main", "Count", -42);
  ini.WriteBool("Flags", "On", true);
  ini.WriteString("Main", "Padded", "  two words  ");
  ini.WriteString("Main", "Quoted", "'x'");
  ini.WriteString("Main", "name", "Renamed");  // same key, other case
  EXPECT_EQ(test::ReadFile(path),
            "[Main]\r\nname=Renamed\r\nCount=-42\r\nPadded=\"  two words  \"\r\n"
            "Quoted=\"'x'\"\r\n\r\n[Flags]\r\nOn=1\r\n");

  TIniFile other(path);  // a second reader sees every write
  EXPECT_EQ(other.ReadString("MAIN", "NAME", ""), "Renamed");
  EXPECT_EQ(other.ReadInteger("main", "count", 0), -42);
  EXPECT_TRUE(other.ReadBool("flags", "on", false));
  EXPECT_EQ(other.ReadString("Main", "Padded", ""), "  two words  ");
  EXPECT_EQ(other.ReadString("Main", "Quoted", ""), "'x'");
  EXPECT_EQ(other.ReadInteger("Main", "Name", 7), 7);  // not a number
  EXPECT_FALSE(other.ReadBool("Main", "Missing", false));

  TStringList list;
  list.Add("stale");
  other.ReadSections(list);
  EXPECT_EQ(Items(list), (V{"Main", "Flags"}));
  other.ReadSection("main", list);
  EXPECT_EQ(Items(list), (V{"name", "Count", "Padded", "Quoted"}));
  other.ReadSectionValues("Flags", list);
  EXPECT_EQ(Items(list), (V{"On=1"}));
  EXPECT_TRUE(other.SectionExists("FLAGS"));
  EXPECT_FALSE(other.SectionExists("None"));
  EXPECT_TRUE(other.ValueExists("Main", "PADDED"));
  EXPECT_FALSE(other.ValueExists("Flags", "Name"));

  ini.DeleteKey("main", "count");
  ini.EraseSection("FLAGS");
  EXPECT_EQ(other.ReadInteger("Main", "Count", 5), 5);
  other.ReadSections(list);
  EXPECT_EQ(Items(list), (V{"Main"}));
  ini.UpdateFile();
}

TEST(IniFile, KeepsForeignLinesAndAcceptsLooseText) {
  std::string path = test::MakeTempSubdir("ini") + "/b.ini";
  test::WriteFile(path,
                  "; header comment\n"
                  "orphan=before sections\n"
                  "[Directories]\n"
                  "  OutputDir = C:\\out  \n"
                  "Hex=0x1F\n"
                  "Dollar=$10\n"
                  "no equals sign\n"
                  "\n"
                  "; about Other\n"
                  "[Other]\r\n"
                  "x=1\r"
                  "[directories]\n"
                  "OutputDir=shadowed\n");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadString("Directories", "OutputDir", ""), "C:\\out");
  EXPECT_EQ(ini.ReadInteger("Directories", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Directories", "Dollar", 0), 16);
  EXPECT_EQ(ini.ReadString("Other", "x", ""), "1");
  EXPECT_EQ(ini.ReadString("", "orphan", "none"), "none");
  ini.WriteString("Directories", "New", "v");
  EXPECT_EQ(test::ReadFile(path),
            "; header comment\r\n"
            "orphan=before sections\r\n"
            "[Directories]\r\n"
            "  OutputDir = C:\\out  \r\n"
            "Hex=0x1F\r\n"
            "Dollar=$10\r\n"
            "New=v\r\n"
            "no equals sign\r\n"
            "\r\n"
            "; about Other\r\n"
            "[Other]\r\n"
            "x=1\r\n"
            "[directories]\r\n"
            "OutputDir=shadowed\r\n");
}

TEST(IniFile, DamagedTextAndRefusedWrites) {
  // Whatever the bytes, reading gives answers and a write reads back.
  std::string junk = "[\n[]\n=\n==\n[A\n\x01k\x02=\xff\n[B]]x\n";
  junk += std::string("\0[C]\0k=v\0", 9);
  TIniDocument doc(junk);
  // "[" and "[]" name an empty section; blanks and NULs at line ends are trimmed.
  EXPECT_EQ(doc.Sections(), (V{"", "A", "B", "C"}));
  std::string v;
  EXPECT_TRUE(doc.ReadString("A", "\x01k", v));
  EXPECT_EQ(v, "\xff");
  EXPECT_FALSE(doc.ReadString("B", "x", v));
  EXPECT_FALSE(doc.ReadString("C", "k", v));  // one line: "[C]" and the rest of it
  doc.WriteString("A", "New", "1");
  EXPECT_TRUE(doc.ReadString("a", "new", v));
  EXPECT_EQ(v, "1");

  TIniDocument ok;
  for (auto bad : {std::pair<const char*, const char*>{"", "k"}, {"S", ""}, {"S]", "k"},
                   {"S", "k=v"}, {"S", "a\nb"}, {"S", ";k"}, {"S", "[k"}}) {
    EXPECT_THROW(ok.WriteString(bad.first, bad.second, "v"), EIniFileException)
        << bad.first << "/" << bad.second;
  }
  EXPECT_THROW(ok.WriteString("S", "k", "line\r\nbreak"), EIniFileException);
  EXPECT_EQ(ok.Text(), "");

  std::string dir = test::MakeTempSubdir("ini");
  TIniFile missingFolder(dir + "/no/such/x.ini");
  try {
    missingFolder.WriteString("S", "k", "v");
    FAIL();
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir + "/no/such/x.ini");
  }
  TIniFile folder(dir);  // a folder reads as an empty file
  EXPECT_EQ(folder.ReadString("S", "k", "d"), "d");
}
