// Interfaces of the test server module comtestsrv.so.
#pragma once

#include "platform/Com.h"

namespace vesper::test {

inline constexpr TCLSID CLSID_TestCounter{0x5E6F7790, 0xC7D1, 0x11D0, {0xA9, 0x5C, 0x00, 0x60, 0x97, 0x3C, 0xF3, 0xD5}};

class ITestCounter : public IUnknown {
 public:
  static constexpr TIID IID{0x5E6F7791, 0xC7D1, 0x11D0, {0xA9, 0x5C, 0x00, 0x60, 0x97, 0x3C, 0xF3, 0xD5}};
  virtual int32_t Increment() = 0;
  // The object count of the module's server.
  virtual int32_t ServerObjectCount() = 0;

 protected:
  ~ITestCounter() = default;
};

class ITestAnswer : public IUnknown {
 public:
  static constexpr TIID IID{0x5E6F7792, 0xC7D1, 0x11D0, {0xA9, 0x5C, 0x00, 0x60, 0x97, 0x3C, 0xF3, 0xD5}};
  virtual int32_t Answer() = 0;

 protected:
  ~ITestAnswer() = default;
};

}  // namespace vesper::test
