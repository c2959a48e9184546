#include "ide/ExptIntf.h"
#include "ide/ToolIntf.h"

namespace vesper::ide {

TIToolServices*& ToolServices() {
  static TIToolServices* services = nullptr;
  return services;
}

TExpertRegisterProc& LibraryExpertRegistrar() {
  static TExpertRegisterProc proc = nullptr;
  return proc;
}

bool RegisterLibraryExpert(TIExpert* expert) {
  TExpertRegisterProc proc = LibraryExpertRegistrar();
  return proc && proc(expert);
}

}  // namespace vesper::ide
