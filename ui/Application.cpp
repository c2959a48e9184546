#include "ui/Application.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/Exception.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

namespace vesper {

namespace {

std::string& StoredTitle() {
  static std::string title;
  return title;
}

bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* v = std::getenv(name);
    if (v && *v) return true;
  }
  return false;
}

}  // namespace

TWindowHandle WindowHandle(QWidget* window) { return window; }

QWidget* WindowFromHandle(TWindowHandle handle) {
  if (!handle || !qApp) return nullptr;
  // Compared as pointers only: a stale handle is never dereferenced.
  const QWidgetList widgets = QApplication::allWidgets();
  for (QWidget* w : widgets)
    if (w == handle) return w;
  return nullptr;
}

bool IsWindow(TWindowHandle handle) { return WindowFromHandle(handle) != nullptr; }

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleException();
    return false;
  }
}

QApplication& EnsureApplication() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  if (QCoreApplication::instance())
    throw Exception("The program runs without a graphical user interface");
  if (!HasDisplay())
    throw Exception("No display to show windows on (set DISPLAY, or run under xvfb-run)");
  // Qt keeps references to argc and argv for the application's lifetime.
  static int argc = 1;
  static char* argv[] = {program_invocation_name, nullptr};
  // Outside a Qt program nobody runs exec(): the application lives until the
  // process ends (never destroyed during static destruction), and closing
  // the last window must not end anything.
  auto* app = new TApplication(argc, argv);
  app->setQuitOnLastWindowClosed(false);
  return *app;
}

void ProcessMessages() {
  if (!QCoreApplication::instance()) return;
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PostCall(QObject* window, std::function<void()> call) {
  if (!window || !call) return;
  QMetaObject::invokeMethod(window, std::move(call), Qt::QueuedConnection);
}

std::string ApplicationTitle() {
  if (!StoredTitle().empty()) return StoredTitle();
  if (QCoreApplication::instance()) {
    QString name = QCoreApplication::applicationName();
    if (!name.isEmpty()) return FromQString(name);
  }
  return program_invocation_short_name;
}

void SetApplicationTitle(std::string title) { StoredTitle() = std::move(title); }

std::string ExceptionMessage(std::exception_ptr error) {
  if (!error) return std::string();
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown exception";
  }
}

void ShowException(std::exception_ptr error) {
  std::string message = ExceptionMessage(error);
  try {
    MessageDlg(message, mtError, mbOK);
  } catch (...) {
    std::fprintf(stderr, "%s: %s\n", ApplicationTitle().c_str(), message.c_str());
  }
}

void HandleException() { ShowException(std::current_exception()); }

bool RunGuarded(const std::function<void()>& call) {
  try {
    call();
    return true;
  } catch (...) {
    HandleException();
    return false;
  }
}

}  // namespace vesper
