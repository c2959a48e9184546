// Exceptions with the class library's shape: a message text, subclasses per
// kind of failure. Exported with default visibility so they cross modules.
#pragma once

#include <exception>
#include <string>

namespace vesper {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string m) { message_ = std::move(m); }
  // Help context of the message, 0 when none.
  int HelpContext = 0;

 private:
  std::string message_;
};

#define VESPER_EXCEPTION(Name, Base)           \
  class Name : public Base {                   \
   public:                                     \
    using Base::Base;                          \
  };

VESPER_EXCEPTION(EConvertError, Exception)
VESPER_EXCEPTION(EOSError, Exception)
VESPER_EXCEPTION(EInOutError, Exception)
VESPER_EXCEPTION(EStreamError, Exception)
VESPER_EXCEPTION(EFOpenError, EStreamError)
VESPER_EXCEPTION(EFCreateError, EStreamError)
VESPER_EXCEPTION(EReadError, EStreamError)
VESPER_EXCEPTION(EWriteError, EStreamError)
VESPER_EXCEPTION(EStringListError, Exception)
VESPER_EXCEPTION(EListError, Exception)
VESPER_EXCEPTION(ERegistryException, Exception)
VESPER_EXCEPTION(EIniFileException, Exception)

// The text of an errno value, as the system gives it.
std::string SysErrorMessage(int error);

// Raises EOSError with the system's text of errno `error`.
[[noreturn]] void RaiseLastOSError(int error);

}  // namespace vesper
