// Shared set-up of the executable viewer's tests.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QTreeWidget>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "ui/Application.h"
#include "wizards/exeview/ExeViewScrn.h"

namespace vesper::test {

inline std::string Fixture(const std::string& name) { return std::string(VESPER_EXE_FIXTURES) + "/" + name; }

#define REQUIRE_PE_FIXTURES() \
  if (!FileExists(::vesper::test::Fixture("pkga.dpl"))) GTEST_SKIP() << "PE fixtures were not built"

inline QAction* Action(QWidget& window, const char* name) { return window.findChild<QAction*>(name); }

// Row texts of the list view.
inline std::vector<std::string> ListRows(QWidget& window) {
  std::vector<std::string> rows;
  auto* lv = window.findChild<QTreeWidget*>("Lv");
  for (int i = 0; i < lv->topLevelItemCount(); ++i) rows.push_back(lv->topLevelItem(i)->text(0).toStdString());
  return rows;
}

inline std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (auto& line : lines) out += line + "\n";
  return out;
}

}  // namespace vesper::test
