#include <gtest/gtest.h>

#include "wizards/resedit/core/Resources.h"

namespace vesper {
namespace {

TStringEntry Str(uint16_t id, std::string name, std::string text = "t") {
  TStringEntry e;
  e.Id = id;
  e.Name = std::move(name);
  e.Text = std::move(text);
  return e;
}

std::vector<uint16_t> Ids(const TStringResource& list) {
  std::vector<uint16_t> ids;
  for (auto& e : list.Items()) ids.push_back(e->Id);
  return ids;
}

TEST(ResList, InsertKeepsUnsignedIdOrderAndTracksCurrent) {
  TResources res("US English", 1033);
  TStringResource& s = res.Strings;
  struct Case { uint16_t id; int index; };
  for (Case c : {Case{10, 0}, Case{65535, 1}, Case{5, 0}, Case{20, 2}, Case{32768, 3}}) {
    ASSERT_NE(s.Insert(Str(c.id, "N" + std::to_string(c.id))), nullptr) << c.id;
    EXPECT_EQ(s.Current()->Id, c.id);
    EXPECT_EQ(s.CurrentIndex(), c.index) << c.id;
  }
  EXPECT_EQ(Ids(s), (std::vector<uint16_t>{5, 10, 20, 32768, 65535}));
  EXPECT_EQ(s.Insert(Str(20, "other")), nullptr);  // duplicate id
  EXPECT_EQ(s.Count(), 5);
  EXPECT_EQ(s.First()->Id, 5);
  EXPECT_EQ(s.Last()->Id, 65535);
  EXPECT_EQ(s.FindByName("N20")->Id, 20);
  EXPECT_EQ(s.FindByName("n20"), nullptr);  // names are case-sensitive
  EXPECT_EQ(s.Owner(), &res);
}

TEST(ResList, AppendKeepsFileOrderAndRefusesEveryDuplicate) {
  TResources res("US English", 1033);
  TStringResource& s = res.Strings;
  ASSERT_TRUE(s.Append(Str(5, "a")));
  ASSERT_TRUE(s.Append(Str(9, "b")));
  EXPECT_EQ(s.Append(Str(5, "c")), nullptr);
  ASSERT_TRUE(s.Append(Str(3, "d")));  // out of order, as an unsorted file gives
  EXPECT_EQ(s.Append(Str(3, "e")), nullptr);  // found although 5 and 9 come first
  EXPECT_EQ(Ids(s), (std::vector<uint16_t>{5, 9, 3}));
  EXPECT_EQ(s.CurrentIndex(), 2);
}

TEST(ResList, UpdateWithSameIdKeepsNameTakenByAnotherEntry) {
  TResources res("US English", 1033);
  TStringResource& s = res.Strings;
  s.Insert(Str(1, "one"));
  s.Insert(Str(2, "two"));
  TStringEntry* e = s.Update(1, Str(1, "two", "new text"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Name, "one");
  EXPECT_EQ(e->Text, "new text");
  EXPECT_EQ(s.Update(1, Str(1, "uno"))->Name, "uno");
}

TEST(ResList, UpdateToNewIdMovesTheEntryAndRefusesATakenId) {
  TResources res("US English", 1033);
  TStringResource& s = res.Strings;
  for (uint16_t id : {1, 2, 3}) s.Insert(Str(id, "n" + std::to_string(id)));
  EXPECT_EQ(s.Update(1, Str(3, "x")), nullptr);
  EXPECT_EQ(Ids(s), (std::vector<uint16_t>{1, 2, 3}));
  TStringEntry* moved = s.Update(1, Str(7, "seven"));
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(Ids(s), (std::vector<uint16_t>{2, 3, 7}));
  EXPECT_EQ(s.CurrentIndex(), 2);
  EXPECT_EQ(s.Update(99, Str(100, "none")), nullptr);
}

TEST(ResList, DeleteUnlinksAndEmptiesTheList) {
  TResources res("US English", 1033);
  TStringResource& s = res.Strings;
  s.Insert(Str(4, "only"));
  EXPECT_FALSE(s.Delete(5));
  EXPECT_TRUE(s.Delete(4));
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Current(), nullptr);
  EXPECT_EQ(s.CurrentIndex(), -1);
  EXPECT_EQ(s.First(), nullptr);
}

TEST(HistoryList, KeepsGivenOrderAndDeletesOnlyItsOwnEntries) {
  TResources res("US English", 1033), other("US English", 1033);
  THistoryEntry a, b;
  a.Comments = "first";
  b.Comments = "second";
  res.History.Append(a);
  THistoryEntry* second = res.History.Append(b);
  res.History.Append(a);
  EXPECT_EQ(res.History.Count(), 3);
  EXPECT_EQ(res.History.CurrentIndex(), 2);
  THistoryEntry* foreign = other.History.Append(a);
  EXPECT_FALSE(res.History.Delete(foreign));
  EXPECT_TRUE(res.History.Delete(second));
  EXPECT_EQ(res.History.At(1)->Comments, "first");
}

TEST(Resources, FileNameSetsOutputNamesAndConstantsFile) {
  TResources res("US English", 1033);
  EXPECT_EQ(res.FileName(), "");
  res.SetFileName("/p/dir/Proj.vrf");
  EXPECT_EQ(res.Res16Name(), "/p/dir/Proj.R16");
  EXPECT_EQ(res.Res32Name(), "/p/dir/Proj.R32");
  EXPECT_EQ(res.RcName(), "/p/dir/Proj.RC");
  EXPECT_EQ(res.ConstFileName(), "/p/dir/RES__IDS.PAS");
  res.SetCppOutput(true);
  EXPECT_EQ(res.ConstFileName(), "/p/dir/res__ids.h");
}

}  // namespace
}  // namespace vesper
