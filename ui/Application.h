// Application services of the UI layer: the Qt application object, the
// message pump, calls posted to a window, window handles, the application
// title and the application's exception display.
#pragma once

#include <QApplication>

#include <exception>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

class QObject;
class QWidget;

namespace vesper {

// A window handle as the contract passes it: an opaque pointer to a QWidget.
using TWindowHandle = void*;

TWindowHandle WindowHandle(QWidget* window);
// The widget behind a handle, or nullptr when it names no living widget.
QWidget* WindowFromHandle(TWindowHandle handle);
bool IsWindow(TWindowHandle handle);

// The Qt application of a Vesper program. An exception that escapes an event
// handler reaches the application's exception display instead of the loop.
// That is a safety net only: unwinding through Qt's own frames skips their
// clean-up, so handlers connected to signals are wrapped with Guarded().
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// The running QApplication; creates a TApplication when the program has none
// (a wizard run outside a Qt program). Raises Exception when there is no
// display to open windows on, or when the program runs a non-GUI Qt core.
QApplication& EnsureApplication();

// One pass of the event loop: handles the events that are pending now.
void ProcessMessages();

// Posts `call` to `window` (the WM_USER + 1 pattern): it runs on a later pass
// of the event loop, and is dropped when the window is destroyed before that.
void PostCall(QObject* window, std::function<void()> call);

// The caption of message boxes that give none. Defaults to the Qt
// application name, else the program's name.
std::string ApplicationTitle();
void SetApplicationTitle(std::string title);

// The text shown for an exception: a vesper::Exception's message, what() of
// another standard exception, a fixed text for anything else.
std::string ExceptionMessage(std::exception_ptr error);

// The application's exception display: an error box with the message and an
// OK button, captioned with the application title. Never throws; when no box
// can be shown the message goes to standard error.
void ShowException(std::exception_ptr error);
// Inside a catch block: shows the exception being handled.
void HandleException();
// Runs `call`; any exception it raises goes to the exception display.
// Returns true when `call` finished normally.
bool RunGuarded(const std::function<void()>& call);

// Wraps a handler so that any exception it raises goes to the exception
// display before reaching Qt: connect(button, &QPushButton::clicked,
// Guarded([this] { ... })).
template <typename F>
auto Guarded(F handler) {
  return [handler = std::move(handler)](auto&&... args) mutable {
    RunGuarded([&] {
      if constexpr (std::is_invocable_v<F&, decltype(args)...>)
        handler(std::forward<decltype(args)>(args)...);
      else
        handler();  // a handler that ignores the signal's arguments
    });
  };
}

}  // namespace vesper
