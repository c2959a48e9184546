#include <gtest/gtest.h>

#include <functional>

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Streams.h"
#include "platform/StrUtils.h"
#include "platform/StringList.h"
#include "tests/support/TestSupport.h"

using namespace vesper;

namespace {

std::vector<std::string> Items(const TStrings& list) {
  std::vector<std::string> v;
  for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
  return v;
}

using V = std::vector<std::string>;

std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const EStringListError& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST(StringList, EditingAndObjects) {
  TStringList l;
  int a = 1, b = 2;
  EXPECT_EQ(l.Add("one"), 0);
  EXPECT_EQ(l.AddObject("two", &a), 1);
  l.InsertObject(0, "zero", &b);
  EXPECT_EQ(Items(l), (V{"zero", "one", "two"}));
  EXPECT_EQ(l.Objects(0), &b);
  EXPECT_EQ(l.Objects(2), &a);
  l.Exchange(0, 2);
  EXPECT_EQ(Items(l), (V{"two", "one", "zero"}));
  EXPECT_EQ(l.Objects(0), &a);
  l.Move(0, 2);
  EXPECT_EQ(Items(l), (V{"one", "zero", "two"}));
  EXPECT_EQ(l.IndexOfObject(&a), 2);
  l.SetStrings(2, "deux");  // keeps the object
  EXPECT_EQ(l.Objects(2), &a);
  l.Delete(0);
  EXPECT_EQ(Items(l), (V{"zero", "deux"}));
  EXPECT_EQ(l.IndexOf("DEUX"), 1);  // case-insensitive by default
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf("DEUX"), -1);

  EXPECT_EQ(ErrorOf([&] { l.Get(2); }), "List index out of bounds (2)");
  EXPECT_EQ(ErrorOf([&] { l.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([&] { l.Insert(3, "x"); }), "List index out of bounds (3)");
  EXPECT_EQ(ErrorOf([&] { l.Move(0, 5); }), "List index out of bounds (5)");
  EXPECT_EQ(Items(l), (V{"zero", "deux"}));
  l.Insert(2, "end");
  EXPECT_EQ(l.Count(), 3);
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, SortedAndDuplicates) {
  TStringList l;
  l.SetText("pear\nApple\nbanana\napple\n");
  l.SetSorted(true);
  EXPECT_EQ(Items(l)[0].substr(1), "pple");
  EXPECT_EQ(Items(l)[2], "banana");
  EXPECT_EQ(l.Add("Cherry"), 3);  // binary insert
  EXPECT_EQ(l.Add("APPLE"), 0);   // dupIgnore: the existing index, nothing added
  EXPECT_EQ(l.Count(), 5);
  int index = -1;
  EXPECT_TRUE(l.Find("BANANA", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(l.Find("blueberry", index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(l.IndexOf("PEAR"), 4);

  const std::string sortedError = "Operation not allowed on sorted string list";
  EXPECT_EQ(ErrorOf([&] { l.Insert(0, "x"); }), sortedError);
  EXPECT_EQ(ErrorOf([&] { l.SetStrings(0, "x"); }), sortedError);
  EXPECT_EQ(ErrorOf([&] { l.Move(0, 1); }), sortedError);
  EXPECT_EQ(ErrorOf([&] { l.Exchange(0, 1); }), sortedError);
  EXPECT_EQ(l.Count(), 5);  // nothing lost

  l.SetDuplicates(TDuplicates::dupError);
  EXPECT_EQ(ErrorOf([&] { l.Add("Pear"); }), "String list does not allow duplicates");
  l.SetDuplicates(TDuplicates::dupAccept);
  EXPECT_EQ(l.Add("Banana"), 2);  // before the equal one
  EXPECT_EQ(l.Count(), 6);
  EXPECT_TRUE(l.Find("banana", index));
  EXPECT_EQ(index, 2);

  // Case-sensitive order puts upper case first.
  TStringList c;
  c.SetCaseSensitive(true);
  c.SetSorted(true);
  for (const char* s : {"b", "B", "a", "A", "b"}) c.Add(s);
  EXPECT_EQ(Items(c), (V{"A", "B", "a", "b"}));

  // Unsorted lists accept duplicates whatever Duplicates says.
  TStringList u;
  u.SetDuplicates(TDuplicates::dupError);
  u.Add("x");
  EXPECT_NO_THROW(u.Add("x"));

  TStringList big;
  for (int i = 0; i < 500; ++i) big.Add(std::to_string((i * 7919) % 1000));
  big.Sort();
  for (int i = 1; i < big.Count(); ++i) EXPECT_LE(CompareText(big[i - 1], big[i]), 0);
  big.CustomSort([](TStringList& list, int a, int b) {
    return std::stoi(list.At(a)) - std::stoi(list.At(b));
  });
  EXPECT_EQ(big[0], "0");
  for (int i = 1; i < big.Count(); ++i) EXPECT_LE(std::stoi(big[i - 1]), std::stoi(big[i]));
  // An inconsistent comparison leaves some order but stays inside the list.
  big.CustomSort([](TStringList&, int, int) { return -1; });
  big.CustomSort([](TStringList&, int, int) { return 1; });
  EXPECT_EQ(big.Count(), 500);
}

TEST(StringList, NamesValuesCommaTextAndText) {
  TStringList l;
  l.SetText("Path=/usr\r\nflag\r\nName=a=b\rEmpty=\n");
  EXPECT_EQ(Items(l), (V{"Path=/usr", "flag", "Name=a=b", "Empty="}));
  EXPECT_EQ(l.Names(0), "Path");
  EXPECT_EQ(l.Names(1), "");
  EXPECT_EQ(l.Values("NAME"), "a=b");
  EXPECT_EQ(l.Values("missing"), "");
  EXPECT_EQ(l.IndexOfName("empty"), 3);
  l.SetValue("path", "/opt");
  EXPECT_EQ(l[0], "path=/opt");
  l.SetValue("New", "1");
  EXPECT_EQ(l[4], "New=1");
  l.SetValue("flag", "");  // no such name: "flag" has no '='
  l.SetValue("Name", "");
  EXPECT_EQ(Items(l), (V{"path=/opt", "flag", "Empty=", "New=1"}));
  EXPECT_EQ(l.Text(), "path=/opt\r\nflag\r\nEmpty=\r\nNew=1\r\n");

  TStringList c;
  c.SetText("plain\nwith space\nq\"uote\n\nc,omma");
  EXPECT_EQ(c.CommaText(), "plain,\"with space\",\"q\"\"uote\",,\"c,omma\"");
  TStringList back;
  back.SetCommaText(c.CommaText());
  EXPECT_TRUE(back.Equals(c));
  back.SetCommaText("  a b,\"c d\" ,, \"unterminated");
  EXPECT_EQ(Items(back), (V{"a", "b", "c d", "", "unterminated"}));
  back.SetCommaText(std::string("x\0y", 3));
  EXPECT_EQ(Items(back), (V{"x", "y"}));
  TStringList one;
  one.Add("");
  EXPECT_EQ(one.CommaText(), "\"\"");
  back.SetText("");
  EXPECT_EQ(back.Count(), 0);
  back.SetText("\n\n");
  EXPECT_EQ(Items(back), (V{"", ""}));
}

TEST(StringList, FilesStreamsAndNotifications) {
  std::string dir = test::MakeTempSubdir("sl");
  TStringList l;
  l.SetText("one\ntwo");
  l.SaveToFile(dir + "/a.txt");
  EXPECT_EQ(test::ReadFile(dir + "/a.txt"), "one\r\ntwo\r\n");
  TStringList r;
  r.LoadFromFile(dir + "/a.txt");
  EXPECT_TRUE(r.Equals(l));
  EXPECT_THROW(r.LoadFromFile(dir + "/missing.txt"), EFOpenError);
  EXPECT_EQ(r.Count(), 2);

  TMemoryStream m;
  l.SaveToStream(m);
  m.SetPosition(0);
  TStringList s;
  s.LoadFromStream(m);
  EXPECT_TRUE(s.Equals(l));

  int changes = 0;
  int changing = 0;
  s.OnChange = [&](TStringList&) { ++changes; };
  s.OnChanging = [&](TStringList&) { ++changing; };
  s.Add("x");
  EXPECT_EQ(changes, 1);
  s.BeginUpdate();
  s.BeginUpdate();
  s.Add("y");
  s.Delete(0);
  s.EndUpdate();
  EXPECT_EQ(changes, 1);
  s.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changing, 2);
  s.SetText("a\nb");  // one notification for the whole replacement
  EXPECT_EQ(changes, 3);
}
