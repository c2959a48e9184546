// The design-time package "vesper.dpl": its Register entry creates the
// host's expert and registers it with the IDE.
#include <exception>

#include "host/VesperManager.h"
#include "host/WizUtils.h"
#include "ui/Dialogs.h"

using namespace vesper;

extern "C" __attribute__((visibility("default"))) void Register() {
  // What the host's loops show goes to the application's exception display
  // while the expert lives (the expert clears the hook as it goes, before
  // the IDE unloads this package).
  ShowExceptionHook() = [](const std::exception& e) { MessageDlg(e.what(), mtError, mbOK); };
  try {
    ide::RegisterLibraryExpert(new TVesperExpert);
  } catch (const EAbort&) {
    ShowExceptionHook() = nullptr;
  } catch (...) {
    ShowExceptionHook() = nullptr;
    throw;
  }
}
