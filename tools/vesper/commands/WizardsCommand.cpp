// vesper wizards: the host's wizard list in the registry ("WizardInfo"):
// list it, run a check pass as the host's start-up does, add or remove a
// module, set the wizard folder.
#include <cstdio>

#include "host/WizManager.h"
#include "platform/Files.h"
#include "tools/vesper/Command.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper wizards list\n"
    "       vesper wizards check\n"
    "       vesper wizards add FILE\n"
    "       vesper wizards remove NAME\n"
    "       vesper wizards dir FOLDER\n"
    "\n"
    "list    the host's wizards: name, type, state, module and version\n"
    "check   reads new and changed wizard modules and stores the list\n"
    "add     adds a wizard module to the list\n"
    "remove  removes a wizard (by name or module) from the list\n"
    "dir     sets the wizard folder and reads the modules in it\n";

std::unique_ptr<TWizardManager> LoadManager() {
  std::unique_ptr<TWizardManager> m = TWizardManager::LoadFromRegistry();
  return m ? std::move(m) : std::make_unique<TWizardManager>();
}

int Save(TWizardManager& m) {
  m.SaveToRegistry();
  m.UnloadAll();
  return kExitOk;
}

int List(TWizardManager& m) {
  if (!m.WizardDirectory().empty()) std::printf("Wizard folder: %s\n", m.WizardDirectory().c_str());
  for (int i = 0; i < m.Wizards().Count(); ++i) {
    TWizard* w = m.Wizards().Items(i);
    std::printf("%s\t%s\t%s\t%s\t%s\n", w->Name.c_str(), WizardTypeName(w->WizardType),
                w->Active() ? "active" : "inactive", w->DLLName().c_str(), w->Version.c_str());
  }
  return kExitOk;
}

int Add(TWizardManager& m, const std::string& file) {
  std::string path = ExpandFileName(file);
  if (!FileExists(path)) return Fail(path + " does not exist");
  m.CheckWizard(path);
  if (!m.Wizards().FindByFileName(path)) return Fail(path + " is not a Vesper Wizard");
  return Save(m);
}

int Remove(TWizardManager& m, const std::string& name) {
  TWizard* w = m.Wizards().FindByName(name);
  if (!w) w = m.Wizards().FindByFileName(ExpandFileName(name));
  if (!w) {
    std::fprintf(stderr, "vesper: no wizard %s\n", name.c_str());
    return kExitNotFound;
  }
  m.Wizards().Remove(w);
  return Save(m);
}

int RunWizards(const std::vector<std::string>& args) {
  const Command& self = *FindCommand("wizards");
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  if (args.empty()) return UsageError(self);
  const std::string& verb = args[0];
  bool needsArg = verb == "add" || verb == "remove" || verb == "dir";
  if (args.size() != (needsArg ? 2u : 1u)) return UsageError(self);
  try {
    std::unique_ptr<TWizardManager> m = LoadManager();
    if (verb == "list") return List(*m);
    if (verb == "check") {
      m->CheckTimeStamps();
      Save(*m);
      return List(*m);
    }
    if (verb == "add") return Add(*m, args[1]);
    if (verb == "remove") return Remove(*m, args[1]);
    if (verb == "dir") {
      std::string folder = ExpandFileName(args[1]);
      if (!DirectoryExists(folder)) return Fail(folder + " is not a folder");
      m->SetWizardDirectory(folder);
      return Save(*m);
    }
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return UsageError(self, "unknown action '" + verb + "'");
}

VESPER_COMMAND("wizards", "list, check and edit the host's wizard list", kUsage, RunWizards);

}  // namespace
}  // namespace vesper::cli
