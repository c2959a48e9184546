// Loads what the IDE's registry names at start: the design-time packages
// under "<base key>\Known Packages" (value names are the package files; each
// package's exported Register registers its experts) and the expert
// libraries under "<base key>\Experts" (each value's data is a library whose
// INITEXPERT0017 registers experts). At exit it releases the experts, runs
// the libraries' terminate procedures and unloads the modules, last first.
#pragma once

#include <string>
#include <vector>

#include "ide/ExptIntf.h"

namespace vesper::ide_app {

struct LoadedModule {
  std::string FileName;
  std::string Kind;  // "package" or "expert"
  void* Handle = nullptr;
  ide::TExpertTerminateProc Terminate = nullptr;
};

class ExpertLoader {
 public:
  ExpertLoader(ide::TIToolServices* services, std::string baseKey);
  ~ExpertLoader();  // UnloadAll
  ExpertLoader(const ExpertLoader&) = delete;
  ExpertLoader& operator=(const ExpertLoader&) = delete;

  // Loads every package and expert library; returns one message for each
  // that failed (it is skipped).
  std::vector<std::string> LoadAll();
  // Loads one design-time package / expert library; raises on failure.
  void LoadPackage(const std::string& fileName);
  void LoadExpertLibrary(const std::string& fileName);
  void UnloadAll();

  const std::vector<LoadedModule>& Modules() const { return modules_; }
  const std::vector<ide::TIExpert*>& Experts() const { return experts_; }

 private:
  static bool RegisterExpert(ide::TIExpert* expert);

  ide::TIToolServices* services_;
  std::string baseKey_;
  std::vector<LoadedModule> modules_;
  std::vector<ide::TIExpert*> experts_;
};

// The loader of the running IDE (null when none) and a text listing what it
// loaded, for the IDE's "Installed Packages" command.
ExpertLoader* CurrentExpertLoader();
std::string LoadedModulesReport();

}  // namespace vesper::ide_app
