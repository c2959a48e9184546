#include <gtest/gtest.h>

#include <fstream>

#include "platform/filer/FormConverter.h"
#include "tests/support/TestSupport.h"

using namespace vesper;
using namespace vesper::test;

namespace {

const char kText[] = "object Form1: TForm1\r\n  Caption = 'Hello'\r\n  Items = <\r\n    item\r\n      X = 1\r\n    end>\r\nend\r\n";

}  // namespace

TEST(DfmCommand, ConvertsBothWays) {
  std::string dir = MakeTempSubdir("dfm");
  WriteFile(dir + "/a.txt", "object Form1: TForm1\n  Caption = 'Hel' + 'lo'\n  Items = <item X = 1 end>\nend\n");
  RunResult r = vesper::test::Run({BinPath("vesper"), "dfm", "to-binary", dir + "/a.txt", dir + "/a.dfm", "--resource-header"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string dfm = ReadFile(dir + "/a.dfm");
  EXPECT_EQ(dfm, ObjectTextToResource(kText));

  r = vesper::test::Run({BinPath("vesper"), "dfm", "to-text", dir + "/a.dfm"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, kText);

  // Standard input, and the header dropped without the option.
  r = vesper::test::Run({BinPath("vesper"), "dfm", "to-binary", "-"}, dfm);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, ObjectTextToBinary(kText));
}

TEST(DfmCommand, ReportsErrors) {
  std::string dir = MakeTempSubdir("dfmbad");
  WriteFile(dir + "/bad.txt", "object Form1: TForm1\n  Caption = ,\nend\n");
  RunResult r = vesper::test::Run({BinPath("vesper"), "dfm", "to-binary", dir + "/bad.txt", dir + "/out.dfm"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Invalid property value on line 2"), std::string::npos) << r.err;
  EXPECT_FALSE(std::ifstream(dir + "/out.dfm").good());

  r = vesper::test::Run({BinPath("vesper"), "dfm", "to-text"}, "TPF0\x06TForm1");
  EXPECT_EQ(r.exitCode, 2);
  r = vesper::test::Run({BinPath("vesper"), "dfm", "to-text", "-"}, std::string("TPF0\x06TForm1", 11));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("at offset 11"), std::string::npos) << r.err;
  r = vesper::test::Run({BinPath("vesper"), "dfm", "to-text", "-", "--resource-header"});
  EXPECT_EQ(r.exitCode, 2);
  r = vesper::test::Run({BinPath("vesper"), "dfm", "sideways", "-"});
  EXPECT_EQ(r.exitCode, 2);
}
