// The first byte selects the reader; the rest is the file.
//   0 executable (NE or PE resources)   1 resource file (16 or 32 bits)
//   2 PE imports, package units and the dependency scan
//   3 version data (both layouts)       4 file forms of resource data
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/Exception.h"
#include "platform/Streams.h"
#include "wizards/resexplorer/core/Exe32img.h"
#include "wizards/resexplorer/core/ExeDepends.h"
#include "wizards/resexplorer/core/ExeImports.h"
#include "wizards/resexplorer/core/ResFileForms.h"
#include "wizards/resexplorer/core/ResInfo.h"
#include "wizards/resexplorer/core/VerInfo.h"

using namespace vesper;

namespace {

const std::string& Folder() {
  static std::string folder = [] {
    char pattern[] = "/tmp/fuzz_exeimage.XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
  }();
  return folder;
}

std::string WriteInput(const std::string& name, const std::string& data) {
  std::string path = Folder() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(data.data(), std::streamsize(data.size()));
  return path;
}

void Touch(const TResourceItem& item, const TExeImage& image) {
  try {
    TMemoryStream out;
    item.SaveToStream(out);
  } catch (const Exception&) {
  }
  try {
    if (item.ResType == rtVersion) VersionRows(image, item);
  } catch (const Exception&) {
  }
}

void Image(const std::string& name, const std::string& data) {
  try {
    TExeImage image(WriteInput(name, data));
    const TResourceList& list = image.Resources();
    for (int t = 0; t < list.Count(); ++t)
      for (const TResourceItem* item : list.Items(t)) Touch(*item, image);
  } catch (const Exception&) {
  }
}

void Imports(const std::string& data) {
  try {
    TExe32Image image(WriteInput("i.dll", data));
    ScanIt(image, TScanOptions{true, false, ""});
  } catch (const Exception&) {
  }
}

void Version(const std::string& data) {
  for (bool unicode : {false, true}) {
    TVersionData version(data, unicode);
    version.QueryValue("\\");
    auto translation = version.QueryValue("\\VarFileInfo\\Translation");
    auto [language, charSet] = ChooseTranslation(translation);
    version.QueryString("\\StringFileInfo\\040904E4\\CompanyName");
    version.SearchString("ProductName");
    LookupVersionTable(TVersionTable::Languages, language);
    LookupVersionTable(TVersionTable::CharSets, charSet);
  }
}

void Forms(const std::string& data) {
  for (bool cursor : {false, true}) {
    try {
      IconFileFromResource(data, cursor);
    } catch (const Exception&) {
    }
  }
  BitmapFileFromResource(data, uint32_t(data.size()));
  StringTableText(data, 16, true);
  StringTableText(data, 16, false);
  FormResourceRecord(data.substr(0, 100), data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 1) return 0;
  std::string data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  switch (bytes[0] % 5) {
    case 0: Image("x.exe", data); break;
    case 1: Image("x.res", data); break;
    case 2: Imports(data); break;
    case 3: Version(data); break;
    default: Forms(data); break;
  }
  return 0;
}
