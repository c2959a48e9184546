#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

using vesper::test::BinPath;
using vesper::test::MakeTempSubdir;

using vesper::test::WriteFile;

namespace {

const char kUnit[] =
    "unit U;\n"
    "interface\n"
    "type\n"
    "  TFoo = class\n"
    "    procedure paint;\n"
    "    function Get(I: Integer): string;\n"
    "  end;\n"
    "procedure Zap;\n"
    "procedure apply;\n"
    "function Add(A, B: Integer): Integer;\n"
    "implementation\n"
    "procedure TFoo.paint; begin end;\n"
    "function TFoo.Get(I: Integer): string; begin end;\n"
    "end.\n";

std::string UnitFile() {
  std::string path = MakeTempSubdir("procs") + "/u.pas";
  WriteFile(path, kUnit);
  return path;
}

}  // namespace

TEST(ProcsCommand, ListsAsTheWindowFillsItsLists) {
  std::string file = UnitFile();
  struct Case {
    std::vector<std::string> options;
    std::string out;
  } cases[] = {
      // Defaults: interface only, parameters hidden; sorted ignoring case.
      {{}, "[functions]\n10\tAdd \n6\tGet  (TFoo)\n[procedures]\n9\tapply \n5\tpaint  (TFoo)\n8\tZap \n"},
      {{"--implementation", "--params"},
       "[functions]\n13\tTFoo.Get( I : Integer) : string\n[procedures]\n12\tTFoo.paint\n"},
      {{"--both", "--single", "--by-class"},
       "[single]\n10\tfunction Add \n6\tfunction TFoo Get \n13\tfunction TFoo.Get\n"
       "9\tprocedure apply \n5\tprocedure TFoo paint \n12\tprocedure TFoo.paint\n8\tprocedure Zap \n"},
      {{"--single", "--no-prefix"}, "[single]\n10\tAdd \n9\tapply \n6\tGet  (TFoo)\n5\tpaint  (TFoo)\n8\tZap \n"},
  };
  for (auto& c : cases) {
    std::vector<std::string> argv = {BinPath("vesper"), "procs", file};
    argv.insert(argv.end(), c.options.begin(), c.options.end());
    auto r = vesper::test::Run(argv);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_TRUE(r.err.starts_with("15 Lines scanned in ")) << r.err;
    EXPECT_TRUE(r.err.ends_with(" seconds\n")) << r.err;
  }
}

TEST(ProcsCommand, ScannerErrorAfterWhatWasFound) {
  std::string path = MakeTempSubdir("procs-error") + "/bad.pas";
  WriteFile(path, "procedure A;\nprocedure B;\nconst S = 'open\n");
  auto r = vesper::test::Run({BinPath("vesper"), "procs", path});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "[functions]\n[procedures]\n1\tA \n2\tB \n");
  EXPECT_EQ(r.err, "Invalid string constant on line 3\n");
}

TEST(ProcsCommand, UsageAndFileErrors) {
  std::string file = UnitFile();
  EXPECT_EQ(vesper::test::Run({BinPath("vesper"), "procs"}).exitCode, 2);
  EXPECT_EQ(vesper::test::Run({BinPath("vesper"), "procs", file, "--bogus"}).exitCode, 2);
  EXPECT_EQ(vesper::test::Run({BinPath("vesper"), "procs", file, file}).exitCode, 2);
  auto missing = vesper::test::Run({BinPath("vesper"), "procs", file + ".none"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("Cannot open file"), std::string::npos);
  auto help = vesper::test::Run({BinPath("vesper"), "procs", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: vesper procs FILE"), std::string::npos);
}
