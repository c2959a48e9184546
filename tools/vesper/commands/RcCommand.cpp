// `vesper rc`: create, change and list resource projects (".VRF") from the
// command line through the resource editor's model.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "tools/vesper/Command.h"
#include "wizards/resedit/core/LibraryProject.h"
#include "wizards/resedit/core/RcScript.h"
#include "wizards/resedit/core/ResChecks.h"
#include "wizards/resedit/core/ResCompiler.h"
#include "wizards/resedit/core/ResConsts.h"
#include "wizards/resedit/core/ResListings.h"
#include "wizards/resedit/core/Resources.h"

namespace vesper::cli {
namespace {

const char kUsage[] =
    "Usage: vesper rc new PROJECT.VRF [--defaults]\n"
    "       vesper rc show PROJECT.VRF\n"
    "       vesper rc add PROJECT.VRF KIND ARGUMENTS... [OPTIONS]\n"
    "       vesper rc delete PROJECT.VRF KIND ID\n"
    "       vesper rc set PROJECT.VRF WHAT ARGUMENTS...\n"
    "       vesper rc compile PROJECT.VRF [--16] [--no-version] [--no-compression]\n"
    "                         [--skip KIND,...] [--script FILE.RC] [--consts]\n"
    "       vesper rc listing PROJECT.VRF strings|history|html [--output FILE]\n"
    "       vesper rc library PROJECT.VRF FILE\n"
    "\n"
    "Creates, changes, lists and compiles resource projects.\n"
    "\n"
    "  new        an empty project; --defaults stores the settings in the file\n"
    "  show       every section and entry of the project\n"
    "  add        string ID NAME TEXT\n"
    "             bitmap ID NAME FILE [--options OMD] [--by-name] [--compression none|rle|lzh]\n"
    "             icon|cursor ID NAME FILE [--options OMD] [--by-name]\n"
    "             rcdata ID NAME FILE [--kind rcdata|sound|video|dfm] [--options OMD]\n"
    "                    [--compression none|rle|lzh]\n"
    "             message ID NAME TEXT [--severity N|NAME] [--facility N|NAME]\n"
    "             history AUTHOR COMMENTS   (versions and date of the version record)\n"
    "             language ID               (one of the 45 languages)\n"
    "             facility CODE NAME\n"
    "  delete     string|bitmap|icon|cursor|rcdata|message ID, history INDEX,\n"
    "             language ID, facility CODE\n"
    "  set        notes TEXT\n"
    "             message ID LANGUAGE-ID TEXT\n"
    "             version FIELD=VALUE...  (FileVersion=1.2.3.4, ProductVersion, Language,\n"
    "                    CharSet, FileOs, FileType, CompanyName, FileDescription,\n"
    "                    InternalName, LegalCopyright, OriginalFilename, Comments,\n"
    "                    LegalTrademarks, ProductName, SpecialBuild, PrivateBuild,\n"
    "                    FileFlags, FlagsMask, Date=YYYY-MM-DD HH:NN; or IncFileVersion)\n"
    "             setting KEY=VALUE...    (settings keys; DefaultsInVrf=1 stores them)\n"
    "\n"
    "  compile    writes the project's .R32 (--16: .R16; deleted when it would hold\n"
    "             nothing) and the constants file; --no-version leaves the version\n"
    "             record out, --no-compression compiles compressed entries plain,\n"
    "             --skip leaves kinds out (bitmaps, icons, cursors, rcdata, strings,\n"
    "             messages, version); --script also writes a resource script;\n"
    "             --consts writes only the constants file. Missing files are listed\n"
    "             under \"Resource Compiler Errors\" and nothing is written.\n"
    "  listing    the strings or history as text, or the history as HTML, to\n"
    "             standard output or FILE\n"
    "  library    the source of a resource-only library (FILE.DPR, or FILE.MAK\n"
    "             and FILE.cpp for C++ projects)\n"
    "\n"
    "  --yes      answer Yes to the question before converting an oldest-format file\n"
    "\n"
    "A refused change prints its message and exits with 1.\n";

const Command& RcCommand();

// Options after the positional arguments: "--name value" or "--flag".
struct Args {
  std::vector<std::string> pos;
  std::map<std::string, std::string> opts;
  bool Has(const std::string& o) const { return opts.count(o) > 0; }
  std::string Opt(const std::string& o, const std::string& def = "") const {
    auto it = opts.find(o);
    return it == opts.end() ? def : it->second;
  }
};

Args ParseArgs(const std::vector<std::string>& args) {
  static const char* flags[] = {"--yes",  "--by-name",        "--defaults", "--16",
                                "--no-version", "--no-compression", "--consts"};
  Args a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& s = args[i];
    if (s.size() < 3 || s.compare(0, 2, "--") != 0) {
      a.pos.push_back(s);
      continue;
    }
    bool isFlag = false;
    for (const char* f : flags) isFlag = isFlag || s == f;
    if (isFlag || i + 1 >= args.size())
      a.opts[s] = "";
    else
      a.opts[s] = args[++i];
  }
  return a;
}

TResUserIO ConsoleIO(bool yes) {
  return {[yes](const TResNotice& n) {
            std::fprintf(stderr, "%s\n", n.Text.c_str());
            if (n.Buttons & mbYes) return yes ? TModalResult::mrYes : TModalResult::mrNo;
            return TModalResult::mrOk;
          },
          {}};
}

std::unique_ptr<TResources> NewProject(const std::string& path) {
  TResSettings s;
  auto res = std::make_unique<TResources>(s.DefaultLanguageName, uint16_t(s.Language));
  res->ApplySettings(s);
  res->SetFileName(ExpandFileName(path));
  return res;
}

// The project read from its file; nullptr after the reader's message.
std::unique_ptr<TResources> OpenProject(const std::string& path, bool yes) {
  auto res = NewProject(path);
  if (!FileExists(res->FileName())) {
    Fail("File " + path + " not found");
    return nullptr;
  }
  if (!res->ReadProject(ConsoleIO(yes))) return nullptr;
  return res;
}

int Refused(const std::string& message) {
  if (!message.empty()) std::fprintf(stderr, "%s\n", message.c_str());
  return kExitNotFound;
}

uint8_t ParseCompression(const std::string& s) {
  if (s.empty() || SameText(s, "none")) return rcNone;
  if (SameText(s, "rle")) return rcRle;
  if (SameText(s, "lzh")) return rcLzh;
  throw EConvertError("unknown compression '" + s + "'");
}

uint8_t ParseRcKind(const std::string& s) {
  static const char* names[] = {"rcdata", "sound", "video", "dfm"};
  if (s.empty()) return rkRcData;
  for (uint8_t k = 0; k < 4; ++k)
    if (SameText(s, names[k])) return k;
  throw EConvertError("unknown RCDATA kind '" + s + "'");
}

// A list value given as a number or by name.
uint32_t ParseListValue(const TNameValueList& list, const std::string& s, const char* what) {
  for (auto& item : list)
    if (SameText(item.Name, s)) return item.Value;
  int64_t v;
  if (TryStrToInt64(s, v) && FindListValue(list, uint32_t(v))) return uint32_t(v);
  throw EConvertError(std::string("unknown ") + what + " '" + s + "'");
}

template <class List>
int InsertChecked(List& list, const TEntryFields& f, typename List::EntryType entry) {
  if (TResCheck c = CheckAdd(list, f); !c) return Refused(c.Message);
  entry.Id = uint16_t(f.Id);
  entry.Name = f.Name;
  return list.Insert(std::move(entry)) ? kExitOk : Refused(IdExistsMessage(f.Id));
}

template <class Entry>
Entry FileEntry(const Args& a, const TEntryFields& f) {
  Entry e;
  e.FileName = f.FileName;
  if (a.Has("--options")) e.MemOptions = ParseMemOptionText(a.Opt("--options"));
  return e;
}

int AddKeyed(TResources& res, const std::string& kind, const Args& a) {
  if (a.pos.size() != 6) return UsageError(RcCommand(), "add " + kind + " needs ID NAME and a " +
                                                            (kind == "string" || kind == "message" ? "TEXT" : "FILE"));
  TEntryFields f{StrToInt64(a.pos[3]), a.pos[4], "", "", false, false};
  const std::string& last = a.pos[5];
  if (kind == "string") {
    if (f.Name.size() > 255 || last.size() > 255) return Refused("String names and texts are at most 255 characters");
    f.Text = last;
    f.NeedsText = true;
    TStringEntry e;
    e.Text = last;
    return InsertChecked(res.Strings, f, e);
  }
  if (kind == "message") {
    if (TResCheck c = CheckAdd(res.Messages, f); !c) return Refused(c.Message);
    TMessageResource& m = res.Messages;
    uint32_t severity = ParseListValue(m.Severities, a.Opt("--severity", "0"), "severity");
    uint32_t facility = ParseListValue(m.Facilities, a.Opt("--facility", "0"), "facility");
    m.Insert(m.MakeEntry(uint16_t(f.Id), f.Name, severity, facility, last));
    return kExitOk;
  }
  f.FileName = last;
  f.NeedsFile = true;
  if (kind == "bitmap") {
    auto e = FileEntry<TBmpEntry>(a, f);
    e.LoadByName = a.Has("--by-name");
    e.Compression = ParseCompression(a.Opt("--compression"));
    return InsertChecked(res.Bitmaps, f, e);
  }
  if (kind == "icon" || kind == "cursor") {
    auto e = FileEntry<TIconEntry>(a, f);
    e.LoadByName = a.Has("--by-name");
    return kind == "icon" ? InsertChecked(res.Icons, f, e) : InsertChecked(res.Cursors, f, e);
  }
  auto e = FileEntry<TRcDataEntry>(a, f);
  e.SetKind(ParseRcKind(a.Opt("--kind")));
  e.SetCompression(ParseCompression(a.Opt("--compression")));
  return InsertChecked(res.RcData, f, e);
}

int AddHistory(TResources& res, const Args& a) {
  if (a.pos.size() != 5) return UsageError(RcCommand(), "add history needs AUTHOR COMMENTS");
  if (TResCheck c = CheckHistoryAdd(a.pos[4]); !c) return Refused(c.Message);
  const TVersionResource& v = res.Version;
  res.History.Append({PackVersion(v.FileVersion()), PackVersion(v.ProductVersion()), v.InternalDate(),
                      a.pos[3], a.pos[4]});
  return kExitOk;
}

int AddListItem(TResources& res, const std::string& kind, const Args& a) {
  TResUserIO io = ConsoleIO(true);
  TMessageResource& m = res.Messages;
  if (kind == "language") {
    if (a.pos.size() != 4) return UsageError(RcCommand(), "add language needs ID");
    uint32_t id = ParseListValue(VersionLanguageList(), a.pos[3], "language");
    return m.AddLanguage(FindListValue(VersionLanguageList(), id)->Name, id, io)
               ? kExitOk
               : Refused("Language " + IntToStr(id) + " is already in the list");
  }
  if (a.pos.size() != 5) return UsageError(RcCommand(), "add facility needs CODE NAME");
  return m.AddFacility(a.pos[4], uint32_t(StrToInt(a.pos[3])), io) ? kExitOk : kExitNotFound;
}

int Add(TResources& res, const Args& a) {
  if (a.pos.size() < 3) return UsageError(RcCommand(), "add needs a KIND");
  const std::string& kind = a.pos[2];
  if (kind == "history") return AddHistory(res, a);
  if (kind == "language" || kind == "facility") return AddListItem(res, kind, a);
  static const char* keyed[] = {"string", "bitmap", "icon", "cursor", "rcdata", "message"};
  for (const char* k : keyed)
    if (kind == k) return AddKeyed(res, kind, a);
  return UsageError(RcCommand(), "unknown kind '" + kind + "'");
}

int IndexOfValue(const TNameValueList& list, uint32_t value) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].Value == value) return int(i);
  return -1;
}

int Delete(TResources& res, const Args& a) {
  if (a.pos.size() != 4) return UsageError(RcCommand(), "delete needs KIND and ID");
  const std::string& kind = a.pos[2];
  int64_t id = StrToInt64(a.pos[3]);
  TResUserIO io = ConsoleIO(true);
  bool done = false;
  if (kind == "history") done = res.History.Delete(res.History.At(int(id)));
  else if (kind == "language") done = res.Messages.DeleteLanguage(IndexOfValue(res.Messages.Languages, uint32_t(id)), io);
  else if (kind == "facility") done = res.Messages.DeleteFacility(IndexOfValue(res.Messages.Facilities, uint32_t(id)), io);
  else if (id < 0 || id > 65535) done = false;
  else if (kind == "string") done = res.Strings.Delete(uint16_t(id));
  else if (kind == "bitmap") done = res.Bitmaps.Delete(uint16_t(id));
  else if (kind == "icon") done = res.Icons.Delete(uint16_t(id));
  else if (kind == "cursor") done = res.Cursors.Delete(uint16_t(id));
  else if (kind == "rcdata") done = res.RcData.Delete(uint16_t(id));
  else if (kind == "message") done = res.Messages.Delete(uint16_t(id));
  else return UsageError(RcCommand(), "unknown kind '" + kind + "'");
  return done ? kExitOk : Refused("No " + kind + " " + a.pos[3] + " in the project");
}

// "KEY=VALUE" split at the first '='.
bool SplitAssignment(const std::string& s, std::string& key, std::string& value) {
  size_t eq = s.find('=');
  if (eq == std::string::npos) return false;
  key = s.substr(0, eq);
  value = s.substr(eq + 1);
  return true;
}

std::string* VersionTextField(TVersionResource& v, const std::string& key) {
  const std::pair<const char*, std::string*> fields[] = {
      {"FileOs", &v.FileOs},
      {"FileType", &v.FileType},
      {"CompanyName", &v.CompanyName},
      {"FileDescription", &v.FileDescription},
      {"InternalName", &v.InternalName},
      {"LegalCopyright", &v.LegalCopyright},
      {"OriginalFilename", &v.OriginalFilename},
      {"Comments", &v.Comments},
      {"LegalTrademarks", &v.LegalTrademarks},
      {"ProductName", &v.ProductName},
      {"SpecialBuild", &v.SpecialBuild},
      {"PrivateBuild", &v.PrivateBuild},
      {"FileFlags", &v.FileFlags},
      {"FlagsMask", &v.FlagsMask},
  };
  for (auto& [name, field] : fields)
    if (SameText(name, key)) return field;
  return nullptr;
}

TDateTime ParseDate(const std::string& text) {
  int y, mo, d, h = 0, mi = 0;
  TDateTime date, time;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d", &y, &mo, &d, &h, &mi) < 3 || !TryEncodeDate(y, mo, d, date) ||
      !TryEncodeTime(h, mi, 0, 0, time))
    throw EConvertError("'" + text + "' is not a valid date (YYYY-MM-DD HH:NN)");
  return date + time;
}

void SetVersionField(TVersionResource& v, const std::string& item) {
  std::string key, value;
  if (SameText(item, "IncFileVersion")) return v.IncFileVersion();
  if (!SplitAssignment(item, key, value)) throw EConvertError("expected FIELD=VALUE, got '" + item + "'");
  TVersionParts parts;
  if (SameText(key, "FileVersion") || SameText(key, "ProductVersion")) {
    if (!ParseVersionText(value, parts)) throw EConvertError("'" + value + "' is not a version (0-99 each)");
    return SameText(key, "FileVersion") ? v.SetFileVersion(parts) : v.SetProductVersion(parts);
  }
  if (SameText(key, "Language")) v.Language = uint16_t(ParseListValue(VersionLanguageList(), value, "language"));
  else if (SameText(key, "CharSet")) v.CharSet = uint16_t(ParseListValue(VersionCodePageList(), value, "code page"));
  else if (SameText(key, "Date")) v.SetInternalDate(ParseDate(value));
  else if (std::string* field = VersionTextField(v, key)) *field = value;
  else throw EConvertError("unknown version field '" + key + "'");
}

void SetSetting(TResources& res, const std::string& item) {
  std::string key, value;
  if (!SplitAssignment(item, key, value)) throw EConvertError("expected KEY=VALUE, got '" + item + "'");
  const TSettingInfo* info = FindSettingByKey(key);
  if (!info) throw EConvertError("unknown setting '" + key + "'");
  TResSettings s = res.Settings;
  SetSettingText(s, *info, value);
  res.ApplySettings(s);
}

int SetMessageText(TResources& res, const Args& a) {
  if (a.pos.size() != 6) return UsageError(RcCommand(), "set message needs ID LANGUAGE-ID TEXT");
  TMessageResource& m = res.Messages;
  TMessageEntry* e = m.FindById(uint16_t(StrToInt(a.pos[3])));
  uint32_t lang = uint32_t(StrToInt(a.pos[4]));
  if (!e) return Refused("No message " + a.pos[3] + " in the project");
  if (IndexOfValue(m.Languages, lang) < 0) return Refused("Language " + a.pos[4] + " is not in the project");
  m.SetText(*e, lang, a.pos[5]);
  return kExitOk;
}

int Set(TResources& res, const Args& a) {
  if (a.pos.size() < 4) return UsageError(RcCommand(), "set needs WHAT and values");
  const std::string& what = a.pos[2];
  if (what == "notes" && a.pos.size() == 4) {
    res.Notes.Text = a.pos[3];
  } else if (what == "message") {
    return SetMessageText(res, a);
  } else if (what == "version") {
    for (size_t i = 3; i < a.pos.size(); ++i) SetVersionField(res.Version, a.pos[i]);
  } else if (what == "setting") {
    for (size_t i = 3; i < a.pos.size(); ++i) SetSetting(res, a.pos[i]);
  } else {
    return UsageError(RcCommand(), "cannot set '" + what + "'");
  }
  return kExitOk;
}

// ---- show ------------------------------------------------------------------

std::string DateText(TDateTime dateTime) { return FormatDateTime("yyyy-mm-dd hh:nn", dateTime); }

std::string ListName(const TNameValueList& list, uint32_t value) {
  const TNameValue* item = FindListValue(list, value);
  return item ? item->Name : "?";
}

void ShowVersion(const TVersionResource& v) {
  std::printf("Version information%s\n", v.Present ? "" : " (not in the file)");
  std::printf("  Language: %u %s\n", v.Language, ListName(VersionLanguageList(), v.Language).c_str());
  std::printf("  Code page: %u %s\n", v.CharSet, ListName(VersionCodePageList(), v.CharSet).c_str());
  std::printf("  File OS: %s\n  File type: %s\n", v.FileOs.c_str(), v.FileType.c_str());
  std::printf("  File version: %s\n  Product version: %s\n", VersionText(v.FileVersion()).c_str(),
              VersionText(v.ProductVersion()).c_str());
  std::printf("  Internal date: %04u-%02u-%02u %02u:%02u\n", v.Year, v.Month, v.Day, v.Hour, v.Minute);
  const std::pair<const char*, const std::string*> texts[] = {
      {"CompanyName", &v.CompanyName},       {"FileDescription", &v.FileDescription},
      {"FileVersion", &v.FileVersionText},   {"InternalName", &v.InternalName},
      {"LegalCopyright", &v.LegalCopyright}, {"OriginalFilename", &v.OriginalFilename},
      {"Comments", &v.Comments},             {"LegalTrademarks", &v.LegalTrademarks},
      {"ProductName", &v.ProductName},       {"ProductVersion", &v.ProductVersionText},
      {"SpecialBuild", &v.SpecialBuild},     {"PrivateBuild", &v.PrivateBuild}};
  for (auto& [name, text] : texts) std::printf("  %s: %s\n", name, text->c_str());
}

void ShowStrings(const TStringResource& list) {
  if (list.Empty()) return;
  std::printf("Strings (%d)\n  %-24s %6s %6s  %s\n", list.Count(), "Name", "Id", "Block", "Text");
  for (auto& e : list.Items())
    std::printf("  %-24s %6u %6d  %s\n", e->Name.c_str(), e->Id, e->Id / 16 + 1, e->Text.c_str());
}

const char* CompressionText(uint8_t c) {
  return c == rcRle ? "RLE" : c == rcLzh ? "LZH" : c == rcNone ? "none" : "?";
}

template <class List, class Extra>
void ShowFiles(const char* title, const List& list, Extra extra) {
  if (list.Empty()) return;
  std::printf("%s (%d)\n", title, list.Count());
  for (auto& e : list.Items())
    std::printf("  %-24s %6u %-3s %s %s\n", e->Name.c_str(), e->Id, MemOptionText(e->MemOptions).c_str(),
                extra(*e).c_str(), e->FileName.c_str());
}

std::string ByName(bool byName) { return byName ? "by-name" : "by-id  "; }

void ShowHistory(const THistoryResource& h) {
  if (h.Empty()) return;
  std::printf("History (%d)\n", h.Count());
  for (auto& e : h.Items())
    std::printf("  %s  %s  %s  %-12s %s\n", VersionText(UnpackVersion(e->FileVersion)).c_str(),
                VersionText(UnpackVersion(e->ProductVersion)).c_str(), DateText(e->Date).c_str(),
                e->Author.c_str(), e->Comments.c_str());
}

void ShowList(const char* title, const TNameValueList& list) {
  std::printf("  %s:", title);
  for (auto& item : list) std::printf(" %s=%u", item.Name.c_str(), item.Value);
  std::printf("\n");
}

void ShowMessages(const TMessageResource& m) {
  std::printf("Message tables (%d)\n", m.Count());
  ShowList("Severities", m.Severities);
  ShowList("Facilities", m.Facilities);
  ShowList("Languages", m.Languages);
  for (auto& e : m.Items()) {
    std::printf("  %-24s %6u %s %s 0x%08X\n", e->Name.c_str(), e->Id, ListName(m.Severities, e->Severity).c_str(),
                ListName(m.Facilities, e->Facility).c_str(), e->FullId);
    for (auto& lang : m.Languages)
      std::printf("    [%u] %s\n", lang.Value, m.Text(*e, lang.Value).c_str());
  }
}

void ShowSettings(const TResources& res) {
  if (!res.DefaultsInProject) return;
  std::printf("Settings\n");
  for (auto& info : ResSettingInfos())
    if (info.Number > 0) std::printf("  %s=%s\n", info.Key, SettingText(res.Settings, info).c_str());
}

void Show(const TResources& res) {
  std::printf("Project: %s\nSaved: %s\n", res.FileName().c_str(), DateText(res.SavedStamp).c_str());
  ShowVersion(res.Version);
  ShowStrings(res.Strings);
  ShowHistory(res.History);
  if (!res.Notes.Text.empty()) std::printf("Notes\n%s\n", res.Notes.Text.c_str());
  ShowMessages(res.Messages);
  ShowFiles("RcData", res.RcData, [](const TRcDataEntry& e) {
    return RcDataKindCaption(e.Kind()) + " " + CompressionText(e.Compression());
  });
  ShowFiles("Bitmaps", res.Bitmaps,
            [](const TBmpEntry& e) { return ByName(e.LoadByName) + " " + CompressionText(e.Compression); });
  ShowFiles("Icons", res.Icons, [](const TIconEntry& e) { return ByName(e.LoadByName); });
  ShowFiles("Cursors", res.Cursors, [](const TIconEntry& e) { return ByName(e.LoadByName); });
  ShowSettings(res);
}

// ---- compile and outputs ------------------------------------------------------

TCompileSwitches ParseSkips(const std::string& list) {
  TCompileSwitches sw;
  const std::pair<const char*, bool*> kinds[] = {
      {"bitmaps", &sw.Bitmaps}, {"icons", &sw.Icons},     {"cursors", &sw.Cursors},
      {"rcdata", &sw.RcData},   {"strings", &sw.Strings}, {"messages", &sw.MessageTables},
      {"version", &sw.Version}, {"popups", &sw.PopUps}};
  for (const std::string& item : SplitString(list, ',')) {
    if (Trim(item).empty()) continue;
    bool found = false;
    for (auto& [name, flag] : kinds)
      if (SameText(name, Trim(item))) *flag = false, found = true;
    if (!found) throw EConvertError("unknown kind '" + item + "' to skip");
  }
  return sw;
}

int Compile(TResources& res, const Args& a) {
  if (a.pos.size() != 2) return UsageError(RcCommand(), "compile needs only the project file");
  TResUserIO io = ConsoleIO(false);
  if (a.Has("--script")) WriteRcScript(res, a.Opt("--script"));
  if (a.Has("--consts")) {
    WriteConstsFile(res, io);
    return kExitOk;
  }
  res.CompressionAllowed = !a.Has("--no-compression");
  std::vector<std::string> errors;
  if (CompileCommand(res, !a.Has("--16"), a.Has("--no-version") || res.Settings.NoVerResource, io,
                     ParseSkips(a.Opt("--skip")), &errors))
    return kExitOk;
  std::fprintf(stderr, "%s\n", kCompilerErrorsCaption);
  for (const std::string& line : errors) std::fprintf(stderr, "%s\n", line.c_str());
  return kExitNotFound;
}

int Listing(TResources& res, const Args& a) {
  if (a.pos.size() != 3) return UsageError(RcCommand(), "listing needs strings, history or html");
  const std::string& what = a.pos[2];
  TTextLines lines;
  if (what == "strings") lines = StringListingLines(res);
  else if (what == "history") lines = HistoryListingLines(res);
  else if (what == "html") lines = HistoryHtmlLines(res);
  else return UsageError(RcCommand(), "unknown listing '" + what + "'");
  if (lines.empty()) return Refused("The project has no " + std::string(what == "strings" ? "strings" : "history"));
  if (a.Has("--output"))
    SaveLines(a.Opt("--output"), lines);
  else
    std::fwrite(JoinLines(lines).data(), 1, JoinLines(lines).size(), stdout);
  return kExitOk;
}

int Library(TResources& res, const Args& a) {
  if (a.pos.size() != 3) return UsageError(RcCommand(), "library needs a FILE");
  std::printf("%s\n", WriteLibraryProject(res, a.pos[2]).c_str());
  return kExitOk;
}

// ---- dispatch ----------------------------------------------------------------

int RunNew(const Args& a) {
  auto res = NewProject(a.pos[1]);
  TResSettings s = res->Settings;
  s.DefaultsInVrf = a.Has("--defaults");
  res->ApplySettings(s);
  res->Version.Reset(s);
  res->WriteProject();
  return kExitOk;
}

int RunRc(const std::vector<std::string>& args) {
  Args a = ParseArgs(args);
  if (a.pos.size() < 2) return UsageError(RcCommand(), "expected a command and a project file");
  const std::string& cmd = a.pos[0];
  if (cmd == "new") return RunNew(a);
  int (*output)(TResources&, const Args&) = nullptr;
  if (cmd == "compile") output = Compile;
  else if (cmd == "listing") output = Listing;
  else if (cmd == "library") output = Library;
  if (output) {
    auto res = OpenProject(a.pos[1], a.Has("--yes"));
    return res ? output(*res, a) : kExitError;
  }
  int (*change)(TResources&, const Args&) = nullptr;
  if (cmd == "add") change = Add;
  else if (cmd == "delete") change = Delete;
  else if (cmd == "set") change = Set;
  else if (cmd != "show") return UsageError(RcCommand(), "unknown command '" + cmd + "'");
  auto res = OpenProject(a.pos[1], a.Has("--yes"));
  if (!res) return kExitError;
  if (!change) {
    Show(*res);
    return kExitOk;
  }
  int rc = change(*res, a);
  if (rc == kExitOk) res->WriteProject();
  return rc;
}

VESPER_COMMAND("rc", "create, change, list and compile resource projects (.VRF)", kUsage, RunRc);

const Command& RcCommand() { return *FindCommand("rc"); }

}  // namespace
}  // namespace vesper::cli
