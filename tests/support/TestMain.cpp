#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TestSupport.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string home = vesper::test::TempDir() + "/home";
  ::setenv("VESPER_HOME", home.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return RUN_ALL_TESTS();
}
