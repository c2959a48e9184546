// Experts: the objects that packages and expert libraries register with the
// IDE, and the entry points through which the IDE finds them.
#pragma once

#include <string>

#include "ide/ToolIntf.h"

namespace vesper::ide {

enum class TExpertStyle : uint8_t { esStandard, esForm, esProject, esAddIn };
enum : int { esEnabled = 0x01, esChecked = 0x02 };  // TExpertState bits

class TIExpert : public TInterface {
 public:
  virtual std::string GetName() = 0;
  virtual std::string GetAuthor() = 0;
  virtual std::string GetComment() = 0;
  virtual std::string GetPage() = 0;
  virtual void* GetGlyph() = 0;
  virtual TExpertStyle GetStyle() = 0;
  virtual int GetState() = 0;
  virtual std::string GetIDString() = 0;
  virtual std::string GetMenuText() = 0;
  virtual void Execute() = 0;
};

// Registers an expert with the IDE, which owns the reference from then on.
using TExpertRegisterProc = bool (*)(TIExpert* expert);
using TExpertTerminateProc = void (*)();

// The IDE's registering procedure, set by the IDE; null outside an IDE.
TExpertRegisterProc& LibraryExpertRegistrar();
// Calls the IDE's registering procedure; false when there is none.
bool RegisterLibraryExpert(TIExpert* expert);

// Entry point of an expert library, exported as INITEXPERT0017.
extern "C" {
using TInitExpertProc = bool (*)(TIToolServices* toolServices, TExpertRegisterProc registerProc,
                                 TExpertTerminateProc* terminate);
}
constexpr const char* kExpertEntryPoint = "INITEXPERT0017";
// A design-time package's registration entry, exported as "Register".
extern "C" {
using TPackageRegisterProc = void (*)();
}
constexpr const char* kPackageRegisterEntryPoint = "Register";

}  // namespace vesper::ide
