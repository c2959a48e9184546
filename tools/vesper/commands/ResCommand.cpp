// `vesper res`: the resources of an executable or resource file.
#include <cstdio>

#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "platform/Streams.h"
#include "tools/vesper/Command.h"
#include "wizards/resexplorer/core/ResFileForms.h"
#include "wizards/resexplorer/core/ResInfo.h"
#include "wizards/resexplorer/core/VerInfo.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper res list FILE\n"
    "       vesper res save FILE TYPE ITEM OUT\n"
    "       vesper res text FILE TYPE ITEM\n"
    "\n"
    "Reads 16- and 32-bit executables and resource files (.RES .R32 .R16 .DRS .DCR).\n"
    "  list  types and items with data offset and size (hexadecimal)\n"
    "  save  writes an item in the form a file of its kind holds\n"
    "        (icon, bitmap, string-table text, form record, raw data)\n"
    "  text  string tables, forms as text, version information rows\n"
    "TYPE and ITEM are names as 'list' shows them, compared without regard to case.\n";

int List(const TExeImage& image) {
  std::printf("%s (%s)\n", image.FileName().c_str(), image.Is16Bit() ? "16Bit" : "32Bit");
  const TResourceList& list = image.Resources();
  for (int t = 0; t < list.Count(); ++t) {
    std::printf("%s\n", list.TypeName(t).c_str());
    for (const TResourceItem* item : list.Items(t))
      std::printf("    %-32s %.7X %.5X\n", item->Name.c_str(), unsigned(item->Offset), unsigned(item->Size));
  }
  return kExitOk;
}

const TResourceItem& Find(const TExeImage& image, const std::string& type, const std::string& name) {
  const TResourceItem* item = image.FindItem(type, name);
  if (!item) throw Exception("no resource " + type + " " + name + " in " + image.FileName());
  return *item;
}

int Save(const TResourceItem& item, const std::string& out) {
  TMemoryStream stream;
  item.SaveToStream(stream);
  SaveFileAtomic(out, stream.DataString());
  return kExitOk;
}

int Text(const TExeImage& image, const std::string& type, const TResourceItem& item) {
  std::string upper = UpperCase(type);
  if (upper == "STRINGS") {
    for (auto& [id, text] : StringTableEntries(item.Data(), StringTableFirstId(item), item.IsUnicode))
      std::printf("%u,%s\n", unsigned(id), text.c_str());
  } else if (upper == "FORMS") {
    std::string text = item.FormText();
    std::fwrite(text.data(), 1, text.size(), stdout);
  } else if (upper == "VERSION") {
    for (auto& row : VersionRows(image, item)) std::printf("%-18s %s\n", row.Title.c_str(), row.Value.c_str());
  } else {
    return Fail("no text form for resources of type " + type);
  }
  return kExitOk;
}

int RunRes(const std::vector<std::string>& args) {
  const Command& self = *FindCommand("res");
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  if (args.empty()) return UsageError(self);
  const std::string& verb = args[0];
  size_t want = verb == "list" ? 2 : verb == "save" ? 5 : verb == "text" ? 4 : 0;
  if (want == 0 || args.size() != want) return UsageError(self);
  try {
    TExeImage image(args[1]);
    if (verb == "list") return List(image);
    const TResourceItem& item = Find(image, args[2], args[3]);
    return verb == "save" ? Save(item, args[4]) : Text(image, args[2], item);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

VESPER_COMMAND("res", "list, save or show the resources of an executable or resource file", kUsage, RunRes);

}  // namespace
}  // namespace vesper::cli
