// Fixture for UI tests: a Qt application (offscreen under ctest) and the
// dialogs service left as the test found it.
#pragma once

#include <gtest/gtest.h>

#include "ui/Application.h"

namespace vesper::test {

class UiTest : public testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }
};

}  // namespace vesper::test
