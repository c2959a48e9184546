#include "wizards/resexplorer/core/ExeImports.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <sstream>

#include "tests/support/TestSupport.h"
#include "wizards/resexplorer/core/Exe32img.h"
#include "wizards/resexplorer/core/ExeDepends.h"
#include "wizards/resexplorer/core/tests/ImageFixtures.h"

namespace vesper {
namespace {

using test::ExeFixture;
using Strings = std::vector<std::string>;

Strings ToVector(const TStringList& list) {
  Strings out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.At(i));
  return out;
}

Strings Imports(const std::string& path) {
  TExe32Image image(path);
  return ToVector(ReadImports(image));
}

TEST(ExeImports, ByNameAndByOrdinal) {
  REQUIRE_EXE_FIXTURES();
  // dep.dll is imported by ordinal only: kept, with no function.
  for (const char* name : {"app64.exe", "app32.exe"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Imports(ExeFixture(name)), (Strings{"dep.dll\t", "KERNEL32.dll\tGetTickCount", "KERNEL32.dll\tSleep"}));
  }
  EXPECT_EQ(Imports(ExeFixture("lib32.dll")), (Strings{"KERNEL32.dll\tGetTickCount", "USER32.dll\tMessageBeep"}));
  EXPECT_EQ(Imports(ExeFixture("pkga.dpl")), (Strings{"KERNEL32.dll\tGetTickCount", "pkgb.dpl\tInit@1A2B3C4D"}));
  // Imports are read from a section named ".idata" only.
  EXPECT_TRUE(Imports(ExeFixture("rdata64.exe")).empty());
}

// objdump's import listing: module and function name pairs.
std::set<std::string> ObjdumpImports(const std::string& path) {
  auto r = test::Run({"/usr/bin/env", "x86_64-w64-mingw32-objdump", "-p", path});
  std::set<std::string> entries;
  std::string module;
  std::istringstream in(r.out);
  std::regex member(R"(^\s+[0-9a-f]+\s+\d+\s+(\S+)$)");
  for (std::string line; std::getline(in, line);) {
    if (auto at = line.find("DLL Name: "); at != std::string::npos) {
      module = line.substr(at + 10);
      continue;
    }
    std::smatch m;
    if (!module.empty() && std::regex_search(line, m, member) && m[1] != "<none>") entries.insert(module + "\t" + m[1].str());
    if (line.empty()) module.clear();
  }
  return entries;
}

TEST(ExeImports, AgreeWithObjdump) {
  REQUIRE_EXE_FIXTURES();
  for (const char* name : {"app64.exe", "app32.exe", "lib64.dll", "lib32.dll", "pkga.dpl", "pkgb.dpl"}) {
    SCOPED_TRACE(name);
    std::set<std::string> ours;
    for (auto& e : Imports(ExeFixture(name)))
      if (e.back() != '\t') ours.insert(e);
    auto theirs = ObjdumpImports(ExeFixture(name));
    EXPECT_FALSE(theirs.empty());
    EXPECT_EQ(ours, theirs);
  }
}

TEST(ExeImports, PackageUnits) {
  REQUIRE_EXE_FIXTURES();
  TExe32Image package(ExeFixture("pkga.dpl"));
  EXPECT_EQ(ToVector(ReadPackageUnits(package)), (Strings{"Alpha", "Mid", "Zeta"}));
  for (const char* name : {"lib64.dll", "dep64.dll"}) {
    TExe32Image image(ExeFixture(name));
    try {
      ReadPackageUnits(image);
      ADD_FAILURE() << name;
    } catch (const EResNotFound& e) {
      EXPECT_EQ(e.Message(), "Resource PACKAGEINFO not found");
    }
  }
}

TEST(ExeImports, DecoratedNames) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {{"Init@1A2B3C4D", "Init"}, {"@A@12345678", "@A"}, {"F@12345678", "F"}, {"Fo@1234567", "Fo@1234567"},
               {"Plain", "Plain"}, {"Name@1234567", "Name@1234567"}};
  for (auto& c : cases) EXPECT_EQ(TrimDecoratedName(c.in), c.out) << c.in;
}

std::string Tree(const std::string& path, bool imports, bool deps, TScanResult* out = nullptr) {
  TExe32Image image(path);
  TScanOptions options;
  options.ShowImports = imports;
  options.ShowDependencies = deps;
  options.SearchFolder = std::string(VESPER_EXE_FIXTURES) + "/";
  TScanResult result = ScanIt(image, options);
  if (out) *out = result;
  return TreeText(result.Roots);
}

TEST(ExeDepends, PackagesImportingEachOther) {
  REQUIRE_EXE_FIXTURES();
  TScanResult result;
  EXPECT_EQ(Tree(ExeFixture("pkga.dpl"), true, true, &result),
            "Packages\n"
            "    PKGB.DPL\n"
            "        Init\n"
            "        PKGA.DPL\n"
            "DLL's\n"
            "    KERNEL32.DLL\n"
            "        GetTickCount\n"
            "Units\n"
            "    Alpha\n"
            "    Mid\n"
            "    Zeta\n"
            "Unknown\n");
  EXPECT_EQ(result.Error, "");
  EXPECT_EQ(result.ImportCount, 2);
  EXPECT_EQ(result.UnitCount, 3);
  EXPECT_EQ(Tree(ExeFixture("useapp.exe"), false, true),
            "Packages\n    PKGA.DPL\n        PKGB.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
  EXPECT_EQ(Tree(ExeFixture("useapp.exe"), false, false),
            "Packages\n    PKGA.DPL\nDLL's\nUnits\n    Alpha\n    Mid\n    Zeta\nUnknown\n");
}

TEST(ExeDepends, LibraryWithoutPackageInformation) {
  REQUIRE_EXE_FIXTURES();
  TScanResult result;
  // Modules stay listed; the units, dependencies and final state are not produced.
  EXPECT_EQ(Tree(ExeFixture("app64.exe"), true, true, &result),
            "Packages\nDLL's\n    DEP.DLL\n    KERNEL32.DLL\n        GetTickCount\n        Sleep\nUnits\nUnknown\n");
  EXPECT_EQ(result.Error, "Resource PACKAGEINFO not found");
  // Imports in a section of another name: four empty roots.
  EXPECT_EQ(Tree(ExeFixture("rdata64.exe"), true, true), "Packages\nDLL's\nUnits\nUnknown\n");
}

TEST(ExeDepends, DamagedImportTable) {
  REQUIRE_EXE_FIXTURES();
  std::string pe = test::ReadFile(ExeFixture("app64.exe"));
  uint32_t idata;
  {
    TExe32Image image(ExeFixture("app64.exe"));
    idata = image.FindSection(".idata")->PointerToRawData;
  }
  std::memcpy(&pe[idata + 12], "\xF0\xFF\xFF\x7F", 4);  // first module's name address
  std::string path = test::MakeTempSubdir("damaged") + "/damaged.exe";
  test::WriteFile(path, pe);
  TScanResult result;
  EXPECT_EQ(Tree(path, true, true, &result), "");
  EXPECT_EQ(result.Error, "Internal Error 12 scanning .idata in " + path);
  EXPECT_EQ(result.ImportCount, 0);
}

TEST(ExeDepends, ModulesFoundWithoutRegardToCase) {
  REQUIRE_EXE_FIXTURES();
  std::string dir = std::string(VESPER_EXE_FIXTURES) + "/";
  EXPECT_EQ(FindModuleFile(dir, "PKGA.DPL"), dir + "pkga.dpl");
  EXPECT_EQ(FindModuleFile(dir, "absent.dll"), "");
  EXPECT_EQ(FindModuleFile("", "pkga.dpl"), "");
}

}  // namespace
}  // namespace vesper
