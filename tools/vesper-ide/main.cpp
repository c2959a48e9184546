// vesper-ide: a small source editor that plays the host IDE for the Vesper
// packages and wizards.
//   vesper-ide [--cbuilder] [--dump-menu] [FILE...]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ide/MenuTree.h"
#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "tools/vesper-ide/AppBuilder.h"
#include "tools/vesper-ide/ExpertLoader.h"
#include "tools/vesper-ide/IdeToolServices.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

using namespace vesper;
using namespace vesper::ide_app;

namespace {

const char* kUsage =
    "Usage: vesper-ide [--cbuilder] [--dump-menu] [FILE...]\n"
    "  --cbuilder   play the C++ IDE (base key Software\\Borland\\C++Builder\\3.0)\n"
    "  --dump-menu  load the packages and experts, print the main menu and exit\n"
    "Projects (.dpr, .dpk, .mak) given as FILE are opened as the project.\n";

bool HasDisplay() {
  const char* qpa = std::getenv("QT_QPA_PLATFORM");
  return (qpa && *qpa) || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

bool IsProject(const std::string& f) {
  std::string ext = ExtractFileExt(f);
  return SameText(ext, ".dpr") || SameText(ext, ".dpk") || SameText(ext, ".mak");
}

}  // namespace

int main(int argc, char** argv) {
  bool cbuilder = false, dumpMenu = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--cbuilder") cbuilder = true;
    else if (a == "--dump-menu") dumpMenu = true;
    else if (a == "--help" || a == "-h") { std::printf("%s", kUsage); return 0; }
    else if (!a.empty() && a[0] == '-') { std::fprintf(stderr, "vesper-ide: unknown option %s\n%s", a.c_str(), kUsage); return 2; }
    else files.push_back(a);
  }
  if (dumpMenu && !HasDisplay()) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "vesper-ide: there is no display to open the window on.\n"
                 "Run it on a desktop, or in a virtual one: xvfb-run -a %s\n", argv[0]);
    return 2;
  }

  TApplication app(argc, argv);
  QApplication::setApplicationName("Vesper IDE");
  SetApplicationTitle("Vesper IDE");
  int rc = 0;
  {
    AppBuilder window;
    auto* services = new IdeToolServices(window, cbuilder);
    ide::ToolServices() = services;
    {
      ExpertLoader loader(services, IdeToolServices::BaseKeyFor(cbuilder));
      std::vector<std::string> failures = loader.LoadAll();
      if (dumpMenu) {
        for (auto& f : failures) std::fprintf(stderr, "%s\n", f.c_str());
        std::printf("%s", ide::DumpMenuTree(*window.MenuRoot()).c_str());
        rc = failures.empty() ? 0 : 1;
      } else {
        for (auto& f : failures) MessageDlg(f, mtWarning, mbOK);
        for (auto& f : files) RunGuarded([&] { IsProject(f) ? window.OpenProject(f) : window.OpenFile(f); });
        window.show();
        rc = app.exec();
      }
      loader.UnloadAll();
    }
    ide::ToolServices() = nullptr;
    services->Release();
  }
  return rc;
}
