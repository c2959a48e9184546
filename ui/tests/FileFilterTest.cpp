#include <gtest/gtest.h>

#include <QStringList>

#include "ui/FileFilter.h"

using namespace vesper;

namespace {

// Renders the parse as "desc=m1,m2|desc=m" for compact comparison.
std::string Render(const std::vector<TFileFilter>& filters) {
  std::string out;
  for (const TFileFilter& f : filters) {
    if (!out.empty()) out += '|';
    out += f.description + '=';
    for (size_t i = 0; i < f.masks.size(); ++i) out += (i ? "," : "") + f.masks[i];
  }
  return out;
}

}  // namespace

TEST(FileFilter, ParseCases) {
  struct Case { const char* in; const char* out; } cases[] = {
      {"", ""},
      {"Text files|*.txt|All files|*.*", "Text files=*.txt|All files=*.*"},
      {"Pascal (*.pas,*.inc)|*.pas; *.inc ;;|X|*.x",
       "Pascal (*.pas,*.inc)=*.pas,*.inc|X=*.x"},
      {"Lonely description", ""},
      {"A|*.a|Trailing", "A=*.a"},
      {"|*.dfm;*.DFM", "*.dfm;*.DFM=*.dfm,*.DFM"},
      {"No masks|", "No masks=*"},
      {"No masks||B|*.b", "No masks=*|B=*.b"},
      {"||||", "*=*|*=*"},
      {"A|*.a|", "A=*.a"},
  };
  for (const Case& c : cases) EXPECT_EQ(Render(ParseFileFilter(c.in)), c.out) << c.in;
}

TEST(FileFilter, QtNameFilters) {
  QStringList qt = ToQtNameFilters(
      ParseFileFilter("Pascal files (*.pas)|*.pas;*.inc|All Files (*.*)|*.*|caf\xe9|*.c"));
  ASSERT_EQ(qt.size(), 3);
  EXPECT_EQ(qt[0], "Pascal files (*.pas) (*.pas *.inc)");
  // "*.*" matches every file as it did for the class library.
  EXPECT_EQ(qt[1], "All Files (*.*) (*)");
  EXPECT_EQ(qt[2], QString::fromUtf8("caf\u00e9 (*.c)"));
  EXPECT_EQ(ToQtNameFilters({}), QStringList{"All files (*)"});
}

TEST(FileFilter, ClampFilterIndex) {
  EXPECT_EQ(ClampFilterIndex(2, 3), 2);
  EXPECT_EQ(ClampFilterIndex(3, 3), 3);
  EXPECT_EQ(ClampFilterIndex(4, 3), 1);
  EXPECT_EQ(ClampFilterIndex(0, 3), 1);
  EXPECT_EQ(ClampFilterIndex(-7, 3), 1);
  EXPECT_EQ(ClampFilterIndex(1, 0), 1);
}
