#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "ui/HourGlass.h"
#include "ui/QtText.h"
#include "ui/ScriptedDialogs.h"
#include "ui/tests/UiTest.h"

using namespace vesper;

namespace {

class ApplicationTest : public test::UiTest {};

}  // namespace

TEST_F(ApplicationTest, EnsureApplicationKeepsTheRunningOne) {
  QApplication& app = EnsureApplication();
  EXPECT_EQ(&app, &EnsureApplication());
  EXPECT_NE(dynamic_cast<TApplication*>(&app), nullptr);
}

TEST_F(ApplicationTest, ExceptionDisplayShowsTheMessageInAnErrorBox) {
  SetApplicationTitle("Vesper Test");
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrOk)
      .Text("Wizard vesgrepw.vwz (x) not found")
      .Caption("Vesper Test")
      .Type(mtError)
      .Buttons(mbOK);
  dialogs.ExpectMessage(mrOk).Text("std failure");
  dialogs.ExpectMessage(mrOk).Text("Unknown exception");
  EXPECT_FALSE(RunGuarded([] { throw EFOpenError("Wizard vesgrepw.vwz (x) not found"); }));
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("std failure"); }));
  EXPECT_FALSE(RunGuarded([] { throw 42; }));
  EXPECT_TRUE(RunGuarded([] {}));
  SetApplicationTitle("");
}

TEST_F(ApplicationTest, ExceptionEscapingAnEventHandlerReachesTheDisplay) {
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrOk).Text("raised in a handler").Type(mtError);
  QWidget window;
  bool after = false;
  PostCall(&window, [] { throw Exception("raised in a handler"); });
  PostCall(&window, [&] { after = true; });
  ProcessMessages();
  EXPECT_TRUE(after);  // the loop went on with the next message
  EXPECT_EQ(dialogs.PendingCount(), 0u);
}

TEST_F(ApplicationTest, GuardedHandlerRoutesItsExceptionToTheDisplay) {
  TScriptedDialogs dialogs;
  dialogs.ExpectMessage(mrOk).Text("raised by a click").Type(mtError);
  QPushButton button("&Go");
  button.resize(80, 24);
  bool after = false;
  QObject::connect(&button, &QPushButton::clicked,
                   Guarded([] { throw Exception("raised by a click"); }));
  QObject::connect(&button, &QPushButton::clicked, [&] { after = true; });
  QPointF at(10, 10);
  QMouseEvent press(QEvent::MouseButtonPress, at, button.mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, button.mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&button, &press);
  QCoreApplication::sendEvent(&button, &release);
  EXPECT_EQ(dialogs.PendingCount(), 0u);
  EXPECT_TRUE(after);  // the signal went on to the next handler
}

// A service that cannot show anything (no display, say).
class TBrokenDialogs : public TScriptedDialogs {
 protected:
  TModalResult DoMessageBox(const TMessageBoxRequest&) override {
    throw Exception("no display");
  }
};

TEST_F(ApplicationTest, ExceptionDisplayNeverThrows) {
  TBrokenDialogs dialogs;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(RunGuarded([] { throw Exception("lost wizard"); }));
  EXPECT_NE(testing::internal::GetCapturedStderr().find(": lost wizard"), std::string::npos);
}

TEST_F(ApplicationTest, PostedCallsRunOnTheNextPassInOrder) {
  QWidget window;
  std::string trace;
  PostCall(&window, [&] {
    trace += "a";
    PostCall(&window, [&] { trace += "c"; });  // posted from a handler: a later pass
  });
  PostCall(&window, [&] { trace += "b"; });
  EXPECT_EQ(trace, "");
  ProcessMessages();
  EXPECT_EQ(trace.substr(0, 2), "ab");
  ProcessMessages();
  EXPECT_EQ(trace, "abc");
}

TEST_F(ApplicationTest, PostedCallToADeletedWindowIsDropped) {
  auto window = std::make_unique<QWidget>();
  bool ran = false;
  PostCall(window.get(), [&] { ran = true; });
  PostCall(nullptr, [&] { ran = true; });
  window.reset();
  ProcessMessages();
  EXPECT_FALSE(ran);
}

TEST_F(ApplicationTest, WindowHandles) {
  auto window = std::make_unique<QWidget>();
  TWindowHandle h = WindowHandle(window.get());
  EXPECT_TRUE(IsWindow(h));
  EXPECT_EQ(WindowFromHandle(h), window.get());
  window.reset();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(WindowFromHandle(h), nullptr);
  EXPECT_FALSE(IsWindow(nullptr));
}

TEST_F(ApplicationTest, HourGlassNests) {
  ASSERT_EQ(THourGlass::Depth(), 0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  {
    THourGlass outer;
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      THourGlass inner;
      EXPECT_EQ(THourGlass::Depth(), 2);
    }
    EXPECT_EQ(THourGlass::Depth(), 1);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(THourGlass::Depth(), 0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  // The cursor goes back even when the guarded operation raises.
  try {
    THourGlass guard;
    throw Exception("x");
  } catch (const Exception&) {
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtText, AnsiTextsGoThroughTheCodePage) {
  SetACP(1252);
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  QString q = ToQString(all);
  EXPECT_EQ(q.size(), 255);
  EXPECT_EQ(q[0x80 - 1], QChar(0x20AC));  // the euro sign
  EXPECT_EQ(q[0x81 - 1], QChar(0x0081));  // undefined in 1252, kept
  EXPECT_EQ(FromQString(q), all);
  EXPECT_EQ(FromQString(QString::fromUtf8("\u4e2d")), "?");
  SetACP(65001);
  EXPECT_EQ(ToQString("caf\xc3\xa9"), QString::fromUtf8("caf\u00e9"));
  EXPECT_EQ(FromQString(QString::fromUtf8("caf\u00e9")), "caf\xc3\xa9");
  SetACP(1252);
}

TEST(QtText, FileNamesAreNeverRecodedThroughTheAnsiCodePage) {
  SetACP(1252);
  const std::string name = "/tmp/caf\xc3\xa9/\xe2\x82\xac.pas";  // UTF-8 bytes
  QString q = FileNameToQString(name);
  EXPECT_EQ(q, QString::fromUtf8("/tmp/caf\u00e9/\u20ac.pas"));
  EXPECT_EQ(FileNameFromQString(q), name);
  EXPECT_EQ(FileNamesFromQStrings({q, "b"}), (std::vector<std::string>{name, "b"}));
}
