// The plug-in contract shared by the host and every wizard module:
// one-byte enumerations, short strings, the class-wizard base class and the
// module's own file name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ide/ToolIntf.h"
#include "platform/Modules.h"

namespace vesper {

enum class TIDEType : uint8_t {
  ideTestBed = 0,
  ideRuntimeExe = 1,
  ideDelphi = 2,
  ideCPPBuilder = 3,
  ideVisualCPP = 4,
  ideVisualBasic = 5,
  ideShell = 6,
};

enum class TInitReason : uint8_t { irExecuting = 0, irQuerying = 1 };

enum class TUnloadingReason : uint8_t {
  urUnknown = 0,
  urWasQuerying = 1,
  urRemovingFromIDE = 2,
  urIDEClosingDown = 3,
  urAutoUnload = 4,
  urDeactivating = 5,
};

enum class TWizardType : uint8_t { wtStandard = 0, wtResident = 1, wtUnloadAfterExecute = 2 };

static_assert(sizeof(TIDEType) == 1 && sizeof(TInitReason) == 1 && sizeof(TUnloadingReason) == 1 &&
                  sizeof(TWizardType) == 1 && sizeof(bool) == 1,
              "contract types are one byte");

// A window handle (opaque).
using HWND = void*;

// Identifier texts of the wizard types as the component stream stores them.
const char* WizardTypeName(TWizardType t);
// False when `name` is none of "wtStandard", "wtResident", "wtUnloadAfterExecute".
bool WizardTypeFromName(std::string_view name, TWizardType& t);

constexpr int kShortStringMax = 255;

// A short string: a length byte and up to 255 ANSI characters in a 256-byte
// buffer, passed with the largest length the callee may store.
struct TShortString {
  unsigned char Data[256] = {0};

  TShortString() = default;
  explicit TShortString(std::string_view s) { Assign(s); }
  void Assign(std::string_view s, int maxLen = kShortStringMax);
  std::string Str() const { return std::string(reinterpret_cast<const char*>(Data + 1), Data[0]); }
};

// Stores `s` into a caller's short-string buffer, cut to `maxLen` (at most 255).
void SetShortString(unsigned char* buffer, int maxLen, std::string_view s);
// The text of a short-string buffer.
std::string GetShortString(const unsigned char* buffer);

// A class wizard's object: TInterface's three operations, then the six of
// the wizard interface in the same order and with the same arguments.
class TWizardInterface : public ide::TInterface {
 public:
  virtual int32_t Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType,
                             int32_t ideVersion, HWND appHandle) = 0;
  virtual void GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description,
                             int32_t descriptionMax, unsigned char* author, int32_t authorMax,
                             unsigned char* parentMenuText, int32_t parentMenuTextMax,
                             unsigned char* menuText, int32_t menuTextMax, unsigned char* shortcut,
                             int32_t shortcutMax, TWizardType* wizardType) = 0;
  virtual bool IsIDESupported(TIDEType ideType, int32_t ideVersion) = 0;
  virtual void AboutToUnload(TUnloadingReason reason, bool forced, bool* canUnload) = 0;
  virtual void Execute() = 0;
  virtual void Run(int32_t param) = 0;
};

namespace detail {
// One anchor per translation unit, so that its address lies in the module
// that compiled the caller.
[[maybe_unused]] static const char kModuleAnchor = 0;
}  // namespace detail

// The full path of the calling module, as it is.
[[maybe_unused]] static inline std::string GetDLLName() {
  return GetModuleFileNameOfAddress(&detail::kModuleAnchor);
}

}  // namespace vesper
