// Fixture for the controls' tests: a Qt application (offscreen under ctest).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

namespace vesper::test {

class ControlsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) {
      static int argc = 1;
      static char name[] = "ui_controls_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
  }
};

}  // namespace vesper::test
