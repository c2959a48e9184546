#include <gtest/gtest.h>

#include <deque>

#include "wizards/resedit/core/Resources.h"

namespace vesper {
namespace {

// Answers from a queue and records every notice shown.
struct ScriptedIO {
  std::deque<TModalResult> answers;
  std::vector<TResNotice> shown;
  TResUserIO io{[this](const TResNotice& n) {
                  shown.push_back(n);
                  if (answers.empty()) return TModalResult::mrOk;
                  TModalResult a = answers.front();
                  answers.pop_front();
                  return a;
                },
                {}};
};

class MessageTable : public ::testing::Test {
 protected:
  TResources res{"US English", 1033};
  TMessageResource& m = res.Messages;
  void SetUp() override {
    m.Insert(m.MakeEntry(1, "IDM_ONE", 3, 4095, "one"));
    m.Insert(m.MakeEntry(2, "IDM_TWO", 1, 255, "two"));
  }
};

TEST_F(MessageTable, StartsWithTheFixedListsAndDefaultLanguage) {
  ASSERT_EQ(m.Severities.size(), 4u);
  EXPECT_EQ(m.Severities[3].Name, "Error");
  ASSERT_EQ(m.Facilities.size(), 3u);
  EXPECT_EQ(m.Facilities[2].Value, 4095u);
  ASSERT_EQ(m.Languages.size(), 1u);
  EXPECT_EQ(m.Languages[0].Name, "US English");
  EXPECT_EQ(m.FindById(1)->FullId, (3u << 30) + (4095u << 16) + 1);
}

TEST_F(MessageTable, TextSegmentsPerLanguage) {
  TMessageEntry& e = *m.FindById(1);
  EXPECT_EQ(e.Texts, "\x01" "0409\x01" "one\x01" "0409\x01");
  m.Languages.push_back({"German", 1031});
  m.SetText(e, 1031, "eins");
  m.SetText(e, 1033, "one\r\nline");
  EXPECT_EQ(m.Text(e, 1031), "eins");
  EXPECT_EQ(m.Text(e, 1033), "one\r\nline");
  EXPECT_EQ(e.Texts, "\x01" "0407\x01" "eins\x01" "0407\x01\x01" "0409\x01" "one\r\nline\x01" "0409\x01");
  EXPECT_EQ(m.Text(e, 1036), "");
  EXPECT_EQ(m.DisplayText(e), "one  line");
  m.SetText(e, 1033, std::string(60, 'x'));
  EXPECT_EQ(m.DisplayText(e).size(), 50u);
}

TEST_F(MessageTable, AddLanguageGivesEveryMessageItsName) {
  ScriptedIO s;
  EXPECT_TRUE(m.AddLanguage("German", 1031, s.io));
  EXPECT_EQ(m.Text(*m.FindById(1), 1031), "IDM_ONE");
  EXPECT_EQ(m.Text(*m.FindById(2), 1031), "IDM_TWO");
  EXPECT_EQ(m.Text(*m.FindById(2), 1033), "two");
  EXPECT_FALSE(m.AddLanguage("German", 1031, s.io));
  EXPECT_TRUE(s.shown.empty());
}

TEST_F(MessageTable, ChangeLanguageAsksAndRemarksSegments) {
  ScriptedIO s;
  m.AddLanguage("German", 1031, s.io);
  s.answers = {TModalResult::mrNo};
  EXPECT_FALSE(m.ChangeLanguage(1, "French", 1036, s.io));
  ASSERT_EQ(s.shown.size(), 1u);
  EXPECT_EQ(s.shown[0].Text, "Changing German to another language will not auto translate text.");
  EXPECT_EQ(s.shown[0].Caption, "Language alteration");
  EXPECT_EQ(s.shown[0].Buttons, unsigned(mbYes | mbNo | mbCancel));
  EXPECT_EQ(s.shown[0].DefaultButton, 2);
  s.answers = {TModalResult::mrYes};
  EXPECT_TRUE(m.ChangeLanguage(1, "French", 1036, s.io));
  EXPECT_EQ(m.Languages[1].Name, "French");
  EXPECT_EQ(m.Text(*m.FindById(1), 1036), "IDM_ONE");
  EXPECT_EQ(m.Text(*m.FindById(1), 1031), "");
}

TEST_F(MessageTable, DeleteLanguageNeedsTwoYesAndSparesTheDefault) {
  ScriptedIO s;
  m.AddLanguage("German", 1031, s.io);
  EXPECT_FALSE(m.DeleteLanguage(0, s.io));
  EXPECT_EQ(s.shown.back().Text, "Can't delete the DEFAULT language");
  s.answers = {TModalResult::mrYes, TModalResult::mrCancel};
  EXPECT_FALSE(m.DeleteLanguage(1, s.io));
  EXPECT_EQ(s.shown[1].Text, "Deleting German will permanently remove all messages assigned to German");
  EXPECT_EQ(s.shown[1].Caption, "Delete Language");
  EXPECT_EQ(s.shown[2].Text, "Delete German");
  EXPECT_EQ(s.shown[2].Caption, "Last chance !");
  EXPECT_EQ(m.Languages.size(), 2u);
  s.answers = {TModalResult::mrYes, TModalResult::mrYes};
  EXPECT_TRUE(m.DeleteLanguage(1, s.io));
  EXPECT_EQ(m.Languages.size(), 1u);
  EXPECT_EQ(m.Text(*m.FindById(1), 1031), "IDM_ONE");  // stored texts keep the segment
}

TEST_F(MessageTable, HeadlessCallerDeclinesQuestions) {
  m.AddLanguage("German", 1031, {});
  EXPECT_FALSE(m.ChangeLanguage(1, "French", 1036, {}));
  EXPECT_FALSE(m.DeleteLanguage(1, {}));
  EXPECT_EQ(m.Languages.size(), 2u);
}

TEST_F(MessageTable, FacilityChecks) {
  ScriptedIO s;
  struct Case { std::string name; uint32_t code; std::string message; };
  const Case cases[] = {
      {"Mine", 4096, "Facility Code must be from 1 to 4095"},
      {"Mine", 0, "Facility Code must be from 1 to 4095"},
      {"Mine", 255, "Facility Code of 255 already exists"},
      {"System", 12, "Facility Name of \"System\" already exists"},
      {" ", 12, "No Blank fields please."},
  };
  for (auto& c : cases) {
    s.shown.clear();
    EXPECT_FALSE(m.AddFacility(c.name, c.code, s.io)) << c.message;
    ASSERT_EQ(s.shown.size(), 1u);
    EXPECT_EQ(s.shown[0].Text, c.message);
    EXPECT_EQ(s.shown[0].Type, TMsgDlgType::mtError);
  }
  EXPECT_TRUE(m.AddFacility("Mine", 12, s.io));
  EXPECT_EQ(m.Facilities.back().Value, 12u);
}

TEST_F(MessageTable, FacilityInUseCannotBeDeletedAndMessagesFollowARenumbering) {
  ScriptedIO s;
  EXPECT_FALSE(m.DeleteFacility(1, s.io));
  EXPECT_EQ(s.shown.back().Text, "Can't delete System(FF) already in use in Message Table (IDM_TWO)");
  EXPECT_TRUE(m.ModifyFacility(1, "Sys", 256, s.io));
  EXPECT_EQ(m.FindById(2)->Facility, 256u);
  EXPECT_EQ(m.FindById(2)->FullId, (1u << 30) + (256u << 16) + 2);
  EXPECT_TRUE(m.DeleteFacility(0, s.io));  // "Nil" is unused
  EXPECT_EQ(m.Facilities.front().Name, "Sys");
}

}  // namespace
}  // namespace vesper
