// The stored list: exact bytes of "WizardInfo", the round trip, and what a
// missing, empty or damaged value gives.
#include <gtest/gtest.h>

#include "host/WizManager.h"
#include "platform/Registry.h"
#include "platform/Streams.h"
#include "platform/filer/ComponentStream.h"
#include "tests/support/TestSupport.h"

namespace vesper {
namespace {

std::string Short(const std::string& s) { return std::string(1, char(s.size())) + s; }
std::string Text(const std::string& name, const std::string& v) { return Short(name) + "\x06" + Short(v); }

void FillKnownList(TWizardManager& m) {
  TWizard* a = m.Wizards().Add();
  a->Name = "Vesper.A";
  a->SetDLLName("/opt/A.vwz");
  a->WizardType = TWizardType::wtResident;
  a->TimeStamp = 0x12345678;
  a->SetActive(false);
  a->ClassID = "{9D1B0001-5A3C-4E11-8C1F-00A0C9000001}";
  TWizard* b = m.Wizards().Add();
  b->Name = "B";
  b->Description = "Bee";
  b->TimeStamp = 5;
  b->Version = std::string(300, 'v');
  m.SetWizardDirectory("/wiz");
}

TEST(WizardInfo, KnownListBytes) {
  TWizardManager m;
  FillKnownList(m);
  std::string expected = "TPF0" + Short("TWizardManager") + std::string(1, '\0');
  expected += Short("Wizards") + "\x0e";
  expected += "\x01" + Text("Name", "Vesper.A") + Text("DLLName", "/opt/A.vwz") + Short("WizardType") + "\x07" +
              Short("wtResident") + Short("TimeStamp") + "\x04\x78\x56\x34\x12" + Short("Active") + "\x08" +
              Text("ClassID", "{9D1B0001-5A3C-4E11-8C1F-00A0C9000001}") + std::string(1, '\0');
  expected += "\x01" + Text("Name", "B") + Text("Description", "Bee") + Short("WizardType") + "\x07" +
              Short("wtStandard") + Short("TimeStamp") + "\x02\x05" + Short("Version") + "\x0c" +
              std::string("\x2c\x01\0\0", 4) + std::string(300, 'v') + std::string(1, '\0');
  expected += std::string(1, '\0') + Text("WizardDirectory", "/wiz") + std::string(2, '\0');
  TMemoryStream s;
  m.SaveToStream(s);
  EXPECT_EQ(std::string(static_cast<const char*>(s.Memory()), size_t(s.Size())), expected);
}

TEST(WizardInfo, RegistryRoundTrip) {
  TWizardManager m;
  FillKnownList(m);
  m.SaveToRegistry("Software\\VesperTest");
  std::unique_ptr<TWizardManager> r = TWizardManager::LoadFromRegistry("Software\\VesperTest");
  ASSERT_TRUE(r);
  ASSERT_EQ(r->Wizards().Count(), 2);
  TWizard* a = r->Wizards().Items(0);
  EXPECT_EQ(a->Name, "Vesper.A");
  EXPECT_EQ(a->DLLName(), "/opt/A.vwz");
  EXPECT_EQ(a->WizardType, TWizardType::wtResident);
  EXPECT_EQ(a->TimeStamp, 0x12345678);
  EXPECT_FALSE(a->Active());
  EXPECT_EQ(a->ClassID, "{9D1B0001-5A3C-4E11-8C1F-00A0C9000001}");
  TWizard* b = r->Wizards().Items(1);
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(b->Version, std::string(300, 'v'));
  EXPECT_EQ(r->WizardDirectory(), "/wiz");
  EXPECT_EQ(WriteComponentStream(*r), WriteComponentStream(m));
  EXPECT_EQ(r->Wizards().FindByFileName("/OPT/a.VWZ"), a);
  EXPECT_EQ(r->Wizards().FindByName("b"), b);
}

TEST(WizardInfo, MissingEmptyOrDamagedValueGivesNothing) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\VesperBad", true));
  EXPECT_FALSE(TWizardManager::LoadFromRegistry("Software\\VesperBad"));
  reg.WriteBinaryData("WizardInfo", "", 0);
  EXPECT_FALSE(TWizardManager::LoadFromRegistry("Software\\VesperBad"));
  TWizardManager m;
  FillKnownList(m);
  std::string bytes = WriteComponentStream(m);
  for (std::string bad : {bytes.substr(0, bytes.size() / 2), std::string("TPF0\x05Other\0\0\0", 12),
                          std::string("garbage")}) {
    reg.WriteBinaryData("WizardInfo", bad.data(), int(bad.size()));
    EXPECT_FALSE(TWizardManager::LoadFromRegistry("Software\\VesperBad")) << bad.size();
  }
}

TEST(WizardInfo, ReadsEveryPropertyOfAHandWrittenList) {
  TMemoryStream s;
  std::string bytes = test::ReadFile(test::SourceDir() + "/fuzz/corpus/wizardinfo/known.bin");
  s.WriteBuffer(bytes.data(), bytes.size());
  s.SetPosition(0);
  std::unique_ptr<TWizardManager> m = TWizardManager::LoadFromStream(s);
  ASSERT_EQ(m->Wizards().Count(), 2);
  TWizard* g = m->Wizards().Items(0);
  EXPECT_EQ(g->Shortcut, "Ctrl+Alt+G");
  EXPECT_EQ(g->ParentMenuText, "Vesper Wizards");
  EXPECT_EQ(g->TimeStamp, 0x5A2B3C4D);
  EXPECT_EQ(g->ClassID, "{5E6F774A-C7D1-11D0-A95C-0060973CF3D5}");
  EXPECT_TRUE(g->Active());
  TWizard* b = m->Wizards().Items(1);
  EXPECT_EQ(b->WizardType, TWizardType::wtResident);  // inactive and resident: not executed on reading
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(m->WizardDirectory(), "/usr/lib/vesper/wizards");
  EXPECT_EQ(WriteComponentStream(*m), bytes);
}

TEST(WizardInfo, StreamOfAnotherClassRaises) {
  TComponent other;
  TMemoryStream s;
  WriteComponent(s, other);
  s.SetPosition(0);
  EXPECT_THROW(TWizardManager::LoadFromStream(s), Exception);
}

TEST(WizardInfo, AssignCopiesNameOnly) {
  TWizardManager a, b;
  FillKnownList(a);
  b.SetWizards(a.Wizards());
  ASSERT_EQ(b.Wizards().Count(), 2);
  EXPECT_EQ(b.Wizards().Items(0)->Name, "Vesper.A");
  EXPECT_EQ(b.Wizards().Items(0)->DLLName(), "");
  EXPECT_TRUE(b.Wizards().Items(0)->Active());
}

}  // namespace
}  // namespace vesper
