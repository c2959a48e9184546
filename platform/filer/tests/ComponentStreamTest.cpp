#include <gtest/gtest.h>

#include "platform/Streams.h"
#include "platform/filer/ComponentStream.h"
#include "platform/filer/FilerValues.h"
#include "platform/filer/FormConverter.h"

using namespace vesper;

namespace {

// A wizard list shaped like the host's.
class TTestWizard : public TCollectionItem {
 public:
  std::string ClassName() const override { return "TTestWizard"; }
  std::string Texts[7];  // Name .. DLLName
  int WizardType = 0;
  int32_t TimeStamp = 0;
  bool Active = true;
  std::string Version, ClassID;

  void PublishedProperties(TPropList& p) override {
    static const char* names[] = {"Name", "Description", "Author", "ParentMenuText", "MenuText", "Shortcut", "DLLName"};
    for (int i = 0; i < 7; ++i)
      p.String(names[i], [this, i] { return Texts[i]; }, [this, i](const std::string& v) { Texts[i] = v; });
    p.Enumeration("WizardType", {"wtStandard", "wtResident", "wtUnloadAfterExecute"}, [this] { return WizardType; },
                  [this](int v) { WizardType = v; });
    p.Integer("TimeStamp", [this] { return TimeStamp; }, [this](int32_t v) { TimeStamp = v; });
    p.Boolean("Active", [this] { return Active; }, [this](bool v) { Active = v; }, true);
    p.String("Version", [this] { return Version; }, [this](const std::string& v) { Version = v; });
    p.String("ClassID", [this] { return ClassID; }, [this](const std::string& v) { ClassID = v; });
  }
  void Assign(const TPersistent& source) override {
    if (auto* w = dynamic_cast<const TTestWizard*>(&source)) Texts[0] = w->Texts[0];
    else TCollectionItem::Assign(source);
  }
};

class TTestWizardManager : public TComponent {
 public:
  explicit TTestWizardManager(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TTestWizardManager"; }
  TCollection Wizards{[] { return std::make_unique<TTestWizard>(); }};
  std::string WizardDirectory;
  bool loadingSeen = false, loadedCalled = false;

  TTestWizard* Item(int i) { return static_cast<TTestWizard*>(Wizards.Items(i)); }
  void PublishedProperties(TPropList& p) override {
    TComponent::PublishedProperties(p);
    p.Object("Wizards", [this] { return &Wizards; });
    p.String("WizardDirectory", [this] { return WizardDirectory; }, [this](const std::string& v) {
      loadingSeen = (ComponentState() & csLoading) != 0;
      WizardDirectory = v;
    });
  }
  void Loaded() override {
    TComponent::Loaded();
    loadedCalled = true;
  }
};

// A nested persistent object and a child component with every property kind.
class TTestFont : public TPersistent {
 public:
  std::string ClassName() const override { return "TTestFont"; }
  std::string Name = "Sans";
  uint32_t Style = 0;
  void PublishedProperties(TPropList& p) override {
    p.String("Name", [this] { return Name; }, [this](const std::string& v) { Name = v; });
    p.Set("Style", {"fsBold", "fsItalic", "fsUnderline"}, [this] { return Style; }, [this](uint32_t v) { Style = v; }, 0);
  }
};

class TTestControl : public TComponent {
 public:
  explicit TTestControl(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TTestControl"; }
  TTestFont Font;
  long double Ratio = 0;
  int32_t Left = 0;
  void PublishedProperties(TPropList& p) override {
    TComponent::PublishedProperties(p);
    p.Integer("Left", [this] { return Left; }, [this](int32_t v) { Left = v; }, 0);
    p.Float("Ratio", [this] { return Ratio; }, [this](long double v) { Ratio = v; });
    p.Object("Font", [this] { return &Font; });
  }
};

std::string S(const std::string& s) { return char(s.size()) + s; }  // short text
std::string Text(const std::string& s) { return "\x06" + S(s); }

struct Registration {
  Registration() {
    RegisterClass<TTestWizardManager>("TTestWizardManager");
    RegisterClass<TTestControl>("TTestControl");
  }
} registration;

void FillManager(TTestWizardManager& m) {
  m.WizardDirectory = "/opt/wizards/";
  auto* a = static_cast<TTestWizard*>(m.Wizards.Add());
  a->Texts[0] = "Grep";
  a->Texts[1] = "Grep Search";
  a->Texts[4] = "&Grep";
  a->Texts[6] = "/w/vesgrepw.vwz";
  a->TimeStamp = 0x2A5B1234;
  a->ClassID = "{1}";
  auto* b = static_cast<TTestWizard*>(m.Wizards.Add());
  b->Texts[1] = std::string(300, 'd');
  b->WizardType = 1;
  b->TimeStamp = -5;
  b->Active = false;
}

}  // namespace

TEST(ComponentStream, WizardInfoLayout) {
  TTestWizardManager m(nullptr);
  FillManager(m);
  std::string expected = "TPF0" + S("TTestWizardManager") + S("") +
      S("Wizards") + "\x0E" +
        "\x01" + S("Name") + Text("Grep") + S("Description") + Text("Grep Search") + S("MenuText") + Text("&Grep") +
          S("DLLName") + Text("/w/vesgrepw.vwz") + S("WizardType") + "\x07" + S("wtStandard") +
          S("TimeStamp") + "\x04\x34\x12\x5B\x2A" + S("ClassID") + Text("{1}") + '\0' +
        "\x01" + S("Description") + "\x0C" + std::string("\x2C\x01\x00\x00", 4) + std::string(300, 'd') +
          S("WizardType") + "\x07" + S("wtResident") + S("TimeStamp") + "\x02\xFB" + S("Active") + "\x08" + '\0' +
      '\0' +
      S("WizardDirectory") + Text("/opt/wizards/") +
      '\0' + '\0';
  std::string stream = WriteComponentStream(m);
  EXPECT_EQ(stream, expected);

  TMemoryStream in(stream);
  std::unique_ptr<TTestWizardManager> back = ReadComponentAs<TTestWizardManager>(in);
  EXPECT_EQ(in.Position(), int64_t(stream.size()));
  ASSERT_EQ(back->Wizards.Count(), 2);
  EXPECT_EQ(back->Item(0)->Texts[6], "/w/vesgrepw.vwz");
  EXPECT_EQ(back->Item(0)->TimeStamp, 0x2A5B1234);
  EXPECT_TRUE(back->Item(0)->Active);
  EXPECT_EQ(back->Item(1)->Texts[1], std::string(300, 'd'));
  EXPECT_EQ(back->Item(1)->WizardType, 1);
  EXPECT_FALSE(back->Item(1)->Active);
  EXPECT_EQ(back->WizardDirectory, "/opt/wizards/");
  EXPECT_TRUE(back->loadingSeen);
  EXPECT_TRUE(back->loadedCalled);
  EXPECT_EQ(back->ComponentState() & csLoading, 0u);
  EXPECT_EQ(WriteComponentStream(*back), stream);
}

TEST(ComponentStream, OwnedComponentsAndSubObjects) {
  TTestWizardManager root(nullptr);
  root.SetName("Root");
  auto* c = new TTestControl(&root);
  c->SetName("Control1");
  c->Left = -300;
  c->Ratio = 0.1L;
  c->Font.Name = "Serif";
  c->Font.Style = 5;
  c->Tag = 7;
  std::string stream = WriteComponentStream(root);
  EXPECT_EQ(ObjectBinaryToText(stream),
            "object Root: TTestWizardManager\r\n  Wizards = <>\r\n"
            "  object Control1: TTestControl\r\n    Tag = 7\r\n    Left = -300\r\n    Ratio = 0.1\r\n"
            "    Font.Name = 'Serif'\r\n    Font.Style = [fsBold, fsUnderline]\r\n  end\r\nend\r\n");
  std::unique_ptr<TComponent> back = ReadComponentStream(stream);
  ASSERT_EQ(back->ComponentCount(), 1);
  auto* c2 = dynamic_cast<TTestControl*>(back->FindComponent("control1"));
  ASSERT_NE(c2, nullptr);
  EXPECT_EQ(c2->Owner(), back.get());
  EXPECT_EQ(c2->Left, -300);
  EXPECT_EQ(c2->Ratio, 0.1L);
  EXPECT_EQ(c2->Font.Name, "Serif");
  EXPECT_EQ(c2->Font.Style, 5u);
  EXPECT_EQ(c2->Tag, 7);
  // Reading into an existing instance.
  TTestWizardManager target(nullptr);
  ReadComponentStream(stream, target);
  EXPECT_EQ(target.Name(), "Root");
  EXPECT_EQ(target.ComponentCount(), 1);
}

TEST(ComponentStream, ErrorsNameTheProblem) {
  struct Case { std::string text; std::string message; } cases[] = {
      {"object X: TNoSuchClass\nend", "Class TNoSuchClass not found"},
      {"object X: TTestWizardManager\n  Colour = 1\nend", "property Colour of TTestWizardManager does not exist"},
      {"object X: TTestWizardManager\n  Tag = 'a'\nend", "invalid value for property Tag"},
      {"object X: TTestWizardManager\n  Tag = 3000000000\nend", "invalid value for property Tag"},
      {"object X: TTestWizardManager\n  Wizards = <\n item\n WizardType = wtOther\n end>\nend",
       "invalid value for property WizardType"},
      {"object X: TTestWizardManager\n  Wizards.Count = 1\nend", "property Wizards.Count of TTestWizardManager"},
      {"object X: TTestWizardManager\n  object Y: TTestControl\n  Font.Style = [fsBlink]\n end\nend",
       "invalid value for property Font.Style"},
      {"object X: TTestWizardManager\n  object Y: TTestControl\n  end\n  object y: TTestControl\n  end\nend",
       "A component named y already exists"},
  };
  for (auto& c : cases) {
    std::string stream = ObjectTextToBinary(c.text);
    try {
      ReadComponentStream(stream);
      ADD_FAILURE() << "no error: " << c.message;
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
  // Another class than asked for: the object is freed and the cast fails.
  TTestControl control(nullptr);
  TMemoryStream in(WriteComponentStream(control));
  EXPECT_THROW(ReadComponentAs<TTestWizardManager>(in), EInvalidCast);
}

TEST(ComponentStream, TruncatedStreamsRaise) {
  TTestWizardManager m(nullptr);
  FillManager(m);
  std::string stream = WriteComponentStream(m);
  for (size_t n = 0; n < stream.size(); ++n)
    EXPECT_THROW(ReadComponentStream(stream.substr(0, n)), EReadError) << n;
}

TEST(ComponentStream, CollectionsAssignAndDelete) {
  TTestWizardManager a(nullptr), b(nullptr);
  FillManager(a);
  b.Wizards.Add();
  b.Wizards.Assign(a.Wizards);
  ASSERT_EQ(b.Wizards.Count(), 2);
  EXPECT_EQ(b.Item(0)->Texts[0], "Grep");
  EXPECT_EQ(b.Item(0)->Texts[1], "");  // the item's Assign copies Name only
  EXPECT_EQ(b.Item(1)->Index(), 1);
  b.Wizards.Delete(0);
  EXPECT_EQ(b.Item(0)->Index(), 0);
  EXPECT_THROW(b.Wizards.Items(1), EListError);
  TTestFont font;
  EXPECT_THROW(b.Wizards.Assign(font), EConvertError);
}
