#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/Exception.h"
#include "platform/MappedFile.h"
#include "tests/support/TestSupport.h"

using namespace vesper;

TEST(MappedFile, ReadsAndSurvivesShrinking) {
  const std::string path = test::MakeTempSubdir("mapped") + "/f.bin";
  test::WriteFile(path, std::string(3 * 4096 + 10, 'x'));
  TMappedFile f;
  f.Open(path);
  EXPECT_EQ(f.Size(), 3 * 4096 + 10);
  char buf[32];
  EXPECT_EQ(f.Read(3 * 4096, 32, buf), 10u);
  EXPECT_EQ(f.Read(f.Size(), 4, buf), 0u);
  EXPECT_EQ(f.Read(-1, 4, buf), 0u);
  ASSERT_EQ(truncate(path.c_str(), 100), 0);
  EXPECT_EQ(f.Read(2 * 4096, 16, buf), 0u);  // the page is gone: no SIGBUS
  EXPECT_TRUE(f.Faulted());
  EXPECT_TRUE(f.Refresh());
  EXPECT_FALSE(f.Faulted());
  EXPECT_EQ(f.Size(), 100);
  EXPECT_EQ(f.Read(90, 32, buf), 10u);
}

TEST(MappedFile, EmptyMissingAndFolder) {
  const std::string dir = test::MakeTempSubdir("mapped2");
  test::WriteFile(dir + "/empty", "");
  TMappedFile f;
  f.Open(dir + "/empty");
  EXPECT_EQ(f.Size(), 0);
  char c;
  EXPECT_EQ(f.Read(0, 1, &c), 0u);
  EXPECT_THROW(f.Open(dir + "/missing"), EFOpenError);
  EXPECT_THROW(f.Open(dir), EFOpenError);
  EXPECT_FALSE(f.IsOpen());
}
