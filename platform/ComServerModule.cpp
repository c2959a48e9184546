// The module's own COM server and its class-object entry points (linked
// statically into every server module).
#include "platform/ComServ.h"
#include "platform/Modules.h"

namespace vesper {

TComServer& ComServer() {
  static const char anchor = 0;
  static TComServer server(GetModuleFileNameOfAddress(&anchor));
  return server;
}

}  // namespace vesper

extern "C" __attribute__((visibility("default"))) vesper::HRESULT DllGetClassObject(const vesper::TGUID& clsid,
                                                                                   const vesper::TGUID& iid,
                                                                                   void** obj) {
  return vesper::ComServer().GetClassObject(clsid, iid, obj);
}

extern "C" __attribute__((visibility("default"))) vesper::HRESULT DllCanUnloadNow() {
  return vesper::ComServer().CanUnloadNow() ? vesper::S_OK : vesper::S_FALSE;
}
