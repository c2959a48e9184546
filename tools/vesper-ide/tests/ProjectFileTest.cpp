#include <gtest/gtest.h>

#include "platform/Exception.h"
#include "tests/support/TestSupport.h"
#include "tools/vesper-ide/ProjectFile.h"

using namespace vesper;
using namespace vesper::ide_app;
using vesper::test::MakeTempSubdir;
using vesper::test::ReadFile;
using vesper::test::WriteFile;

TEST(ProjectFile, UsesClauseWithCommentsAndPaths) {
  auto units = ParseUnitClause(
      "program P; { uses Fake in 'x.pas'; }\r\n"
      "uses\r\n  Forms, (* comment *)\r\n  Main in 'Main.pas' {Form1},\r\n"
      "  Sub.Unit2 in 'sub\\Unit2.pas', // trailing\r\n  It in 'it''s.pas';\r\nbegin end.",
      "uses");
  ASSERT_EQ(units.size(), 4u);
  EXPECT_EQ(units[0], std::make_pair(std::string("Forms"), std::string("")));
  EXPECT_EQ(units[1], std::make_pair(std::string("Main"), std::string("Main.pas")));
  EXPECT_EQ(units[2], std::make_pair(std::string("Sub.Unit2"), std::string("sub\\Unit2.pas")));
  EXPECT_EQ(units[3].second, "it's.pas");
  EXPECT_TRUE(ParseUnitClause("program P; begin end.", "uses").empty());
}

TEST(ProjectFile, ReadsEachKindAndAddsUnits) {
  std::string dir = MakeTempSubdir("projects");
  WriteFile(dir + "/P.dpr", "program P;\r\n\r\nuses\r\n  Forms,\r\n  Main in 'Main.pas';\r\n\r\nbegin\r\nend.\r\n");
  WriteFile(dir + "/K.dpk", "package K;\nrequires vcl30;\ncontains A in 'src/A.pas', B in 'B.pas';\nend.\n");
  WriteFile(dir + "/C.mak", "PROJECT = C.exe\nOBJFILES = C.obj \\\n  Unit1.obj\nLIBFILES =\n");
  WriteFile(dir + "/Bare.dpr", "program Bare;\nbegin\nend.\n");

  ProjectFile dpr = ReadProjectFile(dir + "/P.dpr");
  EXPECT_EQ(dpr.Units, std::vector<std::string>{dir + "/Main.pas"});
  EXPECT_EQ(ReadProjectFile(dir + "/K.dpk").Units,
            (std::vector<std::string>{dir + "/src/A.pas", dir + "/B.pas"}));
  EXPECT_EQ(ReadProjectFile(dir + "/C.mak").Units,
            (std::vector<std::string>{dir + "/C.cpp", dir + "/Unit1.cpp"}));

  AddUnitToProjectSource(dir + "/P.dpr", dir + "/New.pas");
  EXPECT_EQ(ReadFile(dir + "/P.dpr"),
            "program P;\r\n\r\nuses\r\n  Forms,\r\n  Main in 'Main.pas',\r\n  New in 'New.pas';\r\n\r\nbegin\r\nend.\r\n");
  AddUnitToProjectSource(dir + "/Bare.dpr", "/elsewhere/Far.pas");
  EXPECT_EQ(ReadProjectFile(dir + "/Bare.dpr").Units, std::vector<std::string>{"/elsewhere/Far.pas"});
  AddUnitToProjectSource(dir + "/C.mak", dir + "/Unit2.cpp");
  EXPECT_EQ(ReadProjectFile(dir + "/C.mak").Units.back(), dir + "/Unit2.cpp");
  AddUnitToProjectSource(dir + "/K.dpk", dir + "/C.pas");
  EXPECT_EQ(ReadProjectFile(dir + "/K.dpk").Units.size(), 3u);

  EXPECT_THROW(ReadProjectFile(dir + "/missing.dpr"), EFOpenError);
}
