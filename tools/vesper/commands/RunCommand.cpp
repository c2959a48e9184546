// vesper run WIZARD [STRING...]: creates a wizard's COM class (by the
// wizard's Name, its class name or {CLSID}) and runs it with the strings, as
// a program outside the IDE does: RunStrings, or Run(0) for a wizard
// without IVesperRunStrings. Initialize is not called.
#include <cstdio>

#include "host/VesperComIntf.h"
#include "host/WizManager.h"
#include "platform/Registry.h"
#include "platform/StrUtils.h"
#include "tools/vesper/Command.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper run WIZARD [STRING...]\n"
    "\n"
    "Runs a registered COM wizard outside the IDE. WIZARD is the wizard's name\n"
    "(\"Vesper.Grep\"), its class name or its class identifier ({...}).\n";

// The class identifier of a ProgID "Module.ClassName" or "ClassName".
bool FindClassByName(const std::string& className, TGUID& clsid) {
  TRegistry reg;
  if (!reg.OpenKeyReadOnly("\\Software\\Classes")) return false;
  for (const std::string& key : reg.GetKeyNames()) {
    bool match = SameText(key, className) ||
                 (key.size() > className.size() && key[key.size() - className.size() - 1] == '.' &&
                  SameText(key.substr(key.size() - className.size()), className));
    TRegistry sub;
    if (match && sub.OpenKeyReadOnly("\\Software\\Classes\\" + key + "\\CLSID") &&
        TryStringToGUID(sub.ReadString(""), clsid))
      return true;
  }
  return false;
}

bool ResolveWizard(const std::string& text, TGUID& clsid) {
  if (!text.empty() && text[0] == '{') return TryStringToGUID(text, clsid);
  if (std::unique_ptr<TWizardManager> m = TWizardManager::LoadFromRegistry())
    if (TWizard* w = m->Wizards().FindByName(text))
      if (TryStringToGUID(w->ClassID, clsid)) return true;
  return FindClassByName(text, clsid);
}

void RunClass(const TGUID& clsid, const std::vector<std::string>& strings) {
  void* obj = nullptr;
  if (Succeeded(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, CLSID_VesperRunStrings, &obj))) {
    auto* runner = static_cast<IVesperRunStrings*>(obj);
    TStringList list;
    for (const std::string& s : strings) list.Add(s);
    try {
      runner->RunStrings(&list, 0);
    } catch (...) {
      runner->Release();
      throw;
    }
    runner->Release();
    return;
  }
  OleCheck(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, CLSID_VesperWizard, &obj));
  auto* wizard = static_cast<IVesperWizard*>(obj);
  try {
    wizard->Run(0);
  } catch (...) {
    wizard->Release();
    throw;
  }
  wizard->Release();
}

int RunRun(const std::vector<std::string>& args) {
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  if (args.empty()) return UsageError(*FindCommand("run"));
  TGUID clsid;
  if (!ResolveWizard(args[0], clsid)) {
    std::fprintf(stderr, "vesper: no wizard %s\n", args[0].c_str());
    return kExitNotFound;
  }
  try {
    RunClass(clsid, std::vector<std::string>(args.begin() + 1, args.end()));
  } catch (const std::exception& e) {
    CoFreeUnusedLibraries();
    return Fail(e.what());
  }
  CoFreeUnusedLibraries();
  return kExitOk;
}

VESPER_COMMAND("run", "run a wizard outside the IDE", kUsage, RunRun);

}  // namespace
}  // namespace vesper::cli
