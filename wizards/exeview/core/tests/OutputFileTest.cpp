#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "wizards/exeview/core/OutputFile.h"

namespace vesper {
namespace {

using test::MakeTempSubdir;
using test::WriteFile;

TEST(OutputFileTest, NoProjectFindsNothing) { EXPECT_EQ(FindProjectOutputFile(""), ""); }

TEST(OutputFileTest, ExeBeforeDllBesideTheProject) {
  std::string dir = MakeTempSubdir("beside");
  WriteFile(dir + "/proj.dpr", "program proj;\nbegin\nend.\n");
  EXPECT_EQ(FindProjectOutputFile(dir + "/proj.dpr"), "");
  WriteFile(dir + "/proj.dll", "x");
  EXPECT_EQ(FindProjectOutputFile(dir + "/proj.dpr"), dir + "/proj.dll");
  WriteFile(dir + "/PROJ.EXE", "x");
  EXPECT_EQ(FindProjectOutputFile(dir + "/proj.dpr"), dir + "/PROJ.EXE");
}

TEST(OutputFileTest, DofOutputFolderAbsoluteRelativeAndBackslashed) {
  std::string dir = MakeTempSubdir("dof");
  std::string out = MakeTempSubdir("dof/bin");
  WriteFile(dir + "/proj.dpr", "program proj;\n");
  WriteFile(dir + "/proj.exe", "not this one");
  WriteFile(out + "/proj.exe", "x");
  struct {
    const char* value;
    std::string expected;
  } cases[] = {{"", dir + "/proj.exe"}, {"bin", out + "/proj.exe"}, {"bin\\", out + "/proj.exe"}};
  for (auto& c : cases) {
    WriteFile(dir + "/proj.dof", std::string("[Directories]\nOutputDir=") + c.value + "\n");
    EXPECT_EQ(FindProjectOutputFile(dir + "/proj.dpr"), c.expected) << c.value;
  }
  WriteFile(dir + "/proj.dof", "[Directories]\nOutputDir=" + out + "\n");
  EXPECT_EQ(ProjectOutputDir(dir + "/proj.dpr"), out + "/");
  EXPECT_EQ(FindProjectOutputFile(dir + "/proj.dpr"), out + "/proj.exe");
}

TEST(OutputFileTest, ExtensionDirective) {
  std::string dir = MakeTempSubdir("ext");
  struct {
    const char* source;
    const char* ext;
  } cases[] = {
      {"package p;\n  {$e dpl}  \nend.\n", "DPL"},
      {"library l;\n{$IFDEF X}\n{$ENDIF}\n{$ELSE}\n{$E  vwz }\nend.\n", "VWZ"},
      {"program p;\n{$R *.RES}\nend.\n", ""},
      {"{$E}\n", ""},
      {"{$E ../../x}\n", ""},
  };
  for (auto& c : cases) {
    WriteFile(dir + "/p.dpr", c.source);
    EXPECT_EQ(ExtensionDirective(dir + "/p.dpr"), c.ext) << c.source;
  }
  EXPECT_EQ(ExtensionDirective(dir + "/missing.dpr"), "");
}

TEST(OutputFileTest, DirectiveFileOpenedWithoutExistenceCheck) {
  std::string dir = MakeTempSubdir("directive");
  std::string out = MakeTempSubdir("directive/out");
  WriteFile(dir + "/pkg.dpk", "package pkg;\n{$E dpl}\nend.\n");
  EXPECT_EQ(FindProjectOutputFile(dir + "/pkg.dpk"), dir + "/pkg.DPL");
  WriteFile(dir + "/pkg.dpl", "x");
  EXPECT_EQ(FindProjectOutputFile(dir + "/pkg.dpk"), dir + "/pkg.dpl");
  WriteFile(dir + "/pkg.DOF", "[Directories]\nOutputDir=out\n");
  EXPECT_EQ(FindProjectOutputFile(dir + "/pkg.dpk"), out + "/pkg.DPL");
}

}  // namespace
}  // namespace vesper
