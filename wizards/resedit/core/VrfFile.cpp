#include "wizards/resedit/core/VrfFile.h"

#include <cstring>

#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"
#include "wizards/resedit/core/Resources.h"

namespace vesper {
namespace {

constexpr size_t kMaxShortText = 255;

// A format error with its message, raised inside the reader only.
class EVrfFormat : public Exception {
 public:
  using Exception::Exception;
};

void WriteDouble(TStream& s, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  s.WriteDWord(uint32_t(bits));
  s.WriteDWord(uint32_t(bits >> 32));
}

double ReadDouble(TStream& s) {
  uint64_t bits = s.ReadDWord();
  bits |= uint64_t(s.ReadDWord()) << 32;
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

std::string Cut(std::string s) {
  if (s.size() > kMaxShortText) s.resize(kMaxShortText);
  return s;
}

const char* SectionName(uint32_t tag) {
  switch (tag) {
    case vtDefaults: return "Default settings";
    case vtVersion: return "Version information";
    case vtStrings: case vtStringsOld: return "Strings";
    case vtIcons: case vtIconsOld: return "Icons";
    case vtBitmaps: case vtBitmapsOld: return "Bitmaps";
    case vtHistory: case vtHistoryOld: return "History";
    case vtCursors: case vtCursorsOld: return "Cursors";
    case vtRcData: case vtRcDataOld: return "RcData";
    case vtNotes: case vtNotesOld: return "Project Notes";
    case vtPopupHelp: case vtPopupHelpOld: return "Pop Up Help";
    case vtSeverities: return "Severity Codes";
    case vtFacilities: return "Facility Codes";
    case vtLanguages: return "Language Information";
    case vtMessages: return "Message Tables";
    default: return nullptr;
  }
}

// The text fields of the version section by field number.
std::string* VersionText(TVersionResource& v, int number) {
  switch (number) {
    case 3: return &v.FileOs;
    case 4: return &v.FileType;
    case 7: return &v.CompanyName;
    case 8: return &v.FileDescription;
    case 10: return &v.FileVersionText;
    case 11: return &v.InternalName;
    case 12: return &v.LegalCopyright;
    case 13: return &v.OriginalFilename;
    case 14: return &v.Comments;
    case 15: return &v.LegalTrademarks;
    case 16: return &v.ProductName;
    case 17: return &v.ProductVersionText;
    case 18: return &v.SpecialBuild;
    case 19: return &v.PrivateBuild;
    default: return nullptr;
  }
}

TVersionParts ReadParts(TStream& s) {
  TVersionParts p;
  for (auto& b : p) b = s.ReadByte();
  return p;
}

void WriteParts(TStream& s, const TVersionParts& p) {
  for (uint8_t b : p) s.WriteByte(b);
}

// The older history layout's date "mm/dd/yy hh:nn[:ss]" (its "@" removed;
// the year may have four digits); false when it is no date.
bool ParseOlderDate(const std::string& text, TDateTime& dateTime) {
  auto parts = SplitString(Trim(text), ' ');
  if (parts.size() != 2) return false;
  auto date = SplitString(parts[0], '/');
  auto time = SplitString(parts[1], ':');
  if (date.size() != 3 || time.size() < 2 || time.size() > 3) return false;
  int n[6] = {0, 0, 0, 0, 0, 0};
  for (size_t i = 0; i < 3; ++i)
    if (!TryStrToInt(date[i], n[i])) return false;
  for (size_t i = 0; i < time.size(); ++i)
    if (!TryStrToInt(time[i], n[3 + i])) return false;
  int year = n[2] >= 0 && n[2] < 100 ? n[2] + (n[2] < 50 ? 2000 : 1900) : n[2];
  TDateTime d, t;
  if (!TryEncodeDate(year, n[0], n[1], d) || !TryEncodeTime(n[3], n[4], n[5], 0, t)) return false;
  dateTime = d + t;
  return true;
}

}  // namespace

// ---- writing ---------------------------------------------------------------

void TVrfWriter::Write() {
  std::string bytes = Bytes(Now());
  TResStream(std::move(bytes)).SaveAtomic(res_.FileName());
  io_.Status(" Ready");
}

std::string TVrfWriter::Bytes(TDateTime stamp) {
  s_.Clear();
  s_.WriteString(kVrfSignature);
  WriteDouble(s_, stamp);
  for (int i = 0; i < 16; ++i) s_.WriteByte(0);
  WriteVersion();
  if (!res_.Strings.Empty()) WriteStrings();
  if (!res_.History.Empty()) WriteHistory();
  if (!res_.Notes.Text.empty()) WriteNotes();
  WriteMessageLists();
  if (!res_.Messages.Empty()) WriteMessages();
  if (!res_.RcData.Empty()) WriteRcData();
  if (!res_.Bitmaps.Empty()) WriteBitmaps();
  if (!res_.Icons.Empty()) {
    Progress("Icons");
    WriteIcons(res_.Icons, vtIcons, vtIconsEnd);
  }
  if (!res_.Cursors.Empty()) {
    Progress("Cursors");
    WriteIcons(res_.Cursors, vtCursors, vtCursorsEnd);
  }
  if (res_.DefaultsInProject) WriteDefaults();
  s_.WriteDWord(vtFileEnd);
  return s_.DataString();
}

void TVrfWriter::Progress(const char* kind) { io_.Status(std::string(" Writing Binary ") + kind + "..."); }

void TVrfWriter::BeginSection(uint32_t tag) { s_.WriteDWord(tag); }

void TVrfWriter::EndSection(uint32_t closingTag) {
  s_.WriteDWord(closingTag);
  s_.WriteDWord(vtSectionEnd);
}

void TVrfWriter::WriteTextField(uint16_t group, int number, const std::string& text) {
  std::string t = Cut(text);
  s_.WriteDWord(uint32_t(t.size()) | uint32_t(number) << 8 | uint32_t(group) << 16);
  s_.WriteString(t);
}

void TVrfWriter::WriteNumberTag(uint16_t group, int number, int length) {
  s_.WriteDWord(uint32_t(length) | uint32_t(number) << 8 | uint32_t(group) << 16);
}

void TVrfWriter::WriteVersion() {
  Progress("Version Information");
  TVersionResource& v = res_.Version;
  BeginSection(vtVersion);
  WriteNumberTag(vgVersion, 1);
  s_.WriteWord(v.Language);
  WriteNumberTag(vgVersion, 2);
  s_.WriteWord(v.CharSet);
  for (int n = 3; n <= 19; ++n) {
    if (std::string* text = VersionText(v, n)) {
      WriteTextField(vgVersion, n, *text);
    } else if (n == 5 || n == 6) {
      WriteNumberTag(vgVersion, n);
      WriteParts(s_, n == 5 ? v.FileVersion() : v.ProductVersion());
    } else if (n == 9) {
      WriteNumberTag(vgVersion, 9, 10);
      for (uint16_t w : {v.Day, v.Month, v.Year, v.Hour, v.Minute}) s_.WriteWord(w);
    }
  }
  EndSection(vtVersionEnd);
}

void TVrfWriter::WriteStrings() {
  Progress("Strings");
  BeginSection(vtStrings);
  s_.WriteDWord(uint32_t(res_.Strings.Count()));
  for (auto& e : res_.Strings.Items()) {
    s_.WriteWord(e->Id);
    s_.WriteLString(e->Name);
    s_.WriteLString(e->Text);
  }
  EndSection(vtStringsEnd);
}

void TVrfWriter::WriteHistory() {
  Progress("Version Information");
  BeginSection(vtHistory);
  s_.WriteDWord(uint32_t(res_.History.Count()));
  for (auto& e : res_.History.Items()) {
    s_.WriteDWord(e->FileVersion);
    s_.WriteDWord(e->ProductVersion);
    WriteDouble(s_, e->Date);
    s_.WriteLString(e->Author);
    s_.WriteLString(e->Comments);
  }
  EndSection(vtHistoryEnd);
}

void TVrfWriter::WriteNotes() {
  Progress("Project Notes");
  BeginSection(vtNotes);
  s_.WriteLString(res_.Notes.Text);
  EndSection(vtNotesEnd);
}

void TVrfWriter::WriteMessageLists() {
  const TMessageResource& m = res_.Messages;
  const std::pair<const TNameValueList*, uint32_t> lists[] = {
      {&m.Severities, vtSeverities}, {&m.Facilities, vtFacilities}, {&m.Languages, vtLanguages}};
  for (auto& [list, tag] : lists) {
    if (list->empty()) continue;
    Progress("Message Tables");
    BeginSection(tag);
    s_.WriteDWord(uint32_t(list->size()));
    for (auto& item : *list) {
      s_.WriteDWord(item.Value);
      s_.WriteLString(item.Name);
    }
    EndSection(tag | 0xFF);
  }
}

void TVrfWriter::WriteMessages() {
  Progress("Message Tables");
  BeginSection(vtMessages);
  s_.WriteDWord(uint32_t(res_.Messages.Count()));
  for (auto& e : res_.Messages.Items()) {
    s_.WriteWord(e->Id);
    s_.WriteLString(e->Name);
    s_.WriteLString(e->Texts);
    s_.WriteDWord(e->Severity);
    s_.WriteDWord(e->Facility);
  }
  EndSection(vtMessagesEnd);
}

void TVrfWriter::WriteRcData() {
  Progress("RcData");
  BeginSection(vtRcData);
  s_.WriteDWord(uint32_t(res_.RcData.Count()));
  for (auto& e : res_.RcData.Items()) {
    s_.WriteWord(e->Id);
    s_.WriteLString(e->Name);
    s_.WriteLString(e->FileName);
    s_.WriteWord(e->MemOptions);
    s_.WriteWord(e->KindAndCompression);
  }
  EndSection(vtRcDataEnd);
}

void TVrfWriter::WriteBitmaps() {
  Progress("Bitmaps");
  BeginSection(vtBitmaps);
  s_.WriteDWord(uint32_t(res_.Bitmaps.Count()));
  for (auto& e : res_.Bitmaps.Items()) {
    s_.WriteWord(e->Id);
    s_.WriteLString(e->Name);
    s_.WriteLString(e->FileName);
    s_.WriteWord(e->MemOptions);
    s_.WriteByte(e->LoadByName ? 1 : 0);
    s_.WriteByte(e->Compression);
  }
  EndSection(vtBitmapsEnd);
}

template <class List>
void TVrfWriter::WriteIcons(const List& list, uint32_t tag, uint32_t closingTag) {
  BeginSection(tag);
  s_.WriteDWord(uint32_t(list.Count()));
  for (auto& e : list.Items()) {
    s_.WriteWord(e->Id);
    s_.WriteLString(e->Name);
    s_.WriteLString(e->FileName);
    s_.WriteWord(e->MemOptions);
    s_.WriteBool(e->LoadByName);
  }
  EndSection(closingTag);
}

void TVrfWriter::WriteDefaults() {
  io_.Status(" Writing Binary Defaults...");
  const TResSettings& st = res_.Settings;
  BeginSection(vtDefaults);
  for (auto& info : ResSettingInfos()) {
    if (info.Number == 0) continue;
    if (info.Width == TSettingWidth::swText) {
      WriteTextField(vgDefaults, info.Number, SettingText(st, info));
      continue;
    }
    WriteNumberTag(vgDefaults, info.Number);
    if (info.Width == TSettingWidth::swByte)
      s_.WriteByte(st.*std::get<bool TResSettings::*>(info.Member) ? 1 : 0);
    else if (info.Width == TSettingWidth::swWord)
      s_.WriteWord(uint16_t(st.*std::get<int32_t TResSettings::*>(info.Member)));
    else
      s_.WriteDWord(uint32_t(st.*std::get<int32_t TResSettings::*>(info.Member)));
  }
  EndSection(vtDefaultsEnd);
}

// ---- reading ---------------------------------------------------------------

bool TVrfReader::Read() {
  res_.Version.Present = false;
  return ReadBytes(TResStream::OpenRead(res_.FileName()).DataString());
}

bool TVrfReader::ReadBytes(std::string data) {
  res_.Version.Present = false;
  s_ = TResStream(std::move(data));
  section_ = 0;
  bool ok = false;
  try {
    ok = ReadFormat();
  } catch (const EVrfFormat& e) {
    io_.ShowError(e.Message());
    return false;
  } catch (const EReadError&) {
    io_.ShowError(SectionError(section_));
    return false;
  }
  if (ok) io_.Status(" Ready");
  return ok;
}

void TVrfReader::FormatError() { throw EReadError("Stream read error"); }

std::string TVrfReader::SectionError(uint32_t tag) const {
  return Format("Resource Format Error readingIndentifier %X in %s", {tag, res_.FileName()});
}

bool TVrfReader::AtEnd() { return s_.Remaining() <= 0; }

bool TVrfReader::ReadFormat() {
  std::string sig = s_.ReadString(std::min<int64_t>(6, s_.Size()));
  if (sig.size() < 6 || sig.compare(0, 3, "@#(") != 0)
    throw EVrfFormat(Format("%s is not a valid resource file", {res_.FileName()}));
  if (sig[3] == ')') {
    TResNotice q{TMsgDlgType::mtConfirmation, "",
                 Format("%s is a 16bit resource file, continuing will overwrite it with a 32bit version. Procede ?",
                        {res_.FileName()}),
                 mbYes | mbNo | mbCancel, 0};
    if (io_.Show(q) != TModalResult::mrYes) return false;
    s_.Seek(-2, SeekOrigin::Current);
    res_.SavedStamp = ReadDouble(s_);
    return ReadOldest();
  }
  current_ = sig.compare(3, 2, "20") == 0;
  res_.SavedStamp = ReadDouble(s_);
  if (current_) s_.ReadString(16);
  for (;;) {
    if (AtEnd()) return true;
    section_ = 0;
    uint32_t tag = s_.Remaining() >= 4 ? s_.ReadDWord() : 0;
    if ((current_ && tag == vtFileEnd) || tag == vtMessagesEnd) return true;
    ReadSection(tag);
    if (current_ && s_.ReadDWord() != vtSectionEnd)
      throw EVrfFormat(SectionError(tag));
  }
}

bool TVrfReader::ReadOldest() {
  current_ = false;
  static const uint32_t order[] = {vtVersion, vtStringsOld, vtHistoryOld, vtRcDataOld, vtNotesOld};
  if (s_.Remaining() < 4) return true;
  uint32_t tag = s_.ReadDWord();
  for (uint32_t expected : order) {
    if (tag != expected) continue;
    ReadSection(tag);
    if (s_.Remaining() < 4) return true;
    tag = s_.ReadDWord();
  }
  return true;
}

void TVrfReader::ReadSection(uint32_t tag) {
  const char* name = SectionName(tag);
  if (!name)
    throw EVrfFormat(Format("Unexpected Resource Indentifier %X in %s", {tag, res_.FileName()}));
  section_ = tag;
  io_.Status(std::string(" Reading ") + name + "...");
  switch (tag) {
    case vtDefaults: ReadDefaults(); break;
    case vtVersion: ReadVersion(); break;
    case vtStrings: ReadStrings(); break;
    case vtStringsOld: ReadOlderEntries(res_.Strings, vtStringsEnd); break;
    case vtIcons: ReadIcons(res_.Icons); break;
    case vtIconsOld: ReadOlderEntries(res_.Icons, vtIconsEnd); break;
    case vtBitmaps: ReadBitmaps(); break;
    case vtBitmapsOld: ReadOlderEntries(res_.Bitmaps, vtBitmapsEnd); break;
    case vtHistory: ReadHistory(); break;
    case vtHistoryOld: ReadOlderHistory(); break;
    case vtCursors: ReadIcons(res_.Cursors); break;
    case vtCursorsOld: ReadOlderEntries(res_.Cursors, vtCursorsEnd); break;
    case vtRcData: ReadRcData(); break;
    case vtRcDataOld: ReadOlderEntries(res_.RcData, vtRcDataEnd); break;
    case vtNotes: ReadNotes(); break;
    case vtNotesOld: ReadOlderNotes(); break;
    case vtPopupHelp: ReadPopupHelp(false); break;
    case vtPopupHelpOld: ReadPopupHelp(true); break;
    case vtMessages: ReadMessages(); break;
    default: ReadNameValues(tag); break;
  }
}

void TVrfReader::ReadVersion() {
  TVersionResource& v = res_.Version;
  TVersionParts file = v.FileVersion(), product = v.ProductVersion();
  for (;;) {
    uint32_t tag = s_.ReadDWord();
    if (tag == vtVersionEnd) break;
    int number = (tag >> 8) & 0xFF;
    if (std::string* text = VersionText(v, number)) {
      *text = s_.ReadShortString(tag & 0xFF);
    } else if (number == 1) {
      v.Language = s_.ReadWord();
    } else if (number == 2) {
      v.CharSet = s_.ReadWord();
    } else if (number == 5) {
      file = ReadParts(s_);
    } else if (number == 6) {
      product = ReadParts(s_);
    } else if (number == 9) {
      v.Day = s_.ReadWord();
      v.Month = s_.ReadWord();
      v.Year = s_.ReadWord();
      v.Hour = s_.ReadWord();
      v.Minute = s_.ReadWord();
    }
  }
  v.LoadVersionParts(file, product);
  v.Present = true;
}

void TVrfReader::ReadDefaults() {
  TResSettings& st = res_.Settings;
  for (;;) {
    uint32_t tag = s_.ReadDWord();
    if (tag == vtDefaultsEnd) break;
    const TSettingInfo* info = FindSettingByNumber((tag >> 8) & 0xFF);
    if (!info)
      throw EVrfFormat(Format("Resource Format Error reading setting %d in %s", {(tag >> 8) & 0xFF, res_.FileName()}));
    switch (info->Width) {
      case TSettingWidth::swText: SetSettingText(st, *info, s_.ReadShortString(tag & 0xFF)); break;
      case TSettingWidth::swByte: st.*std::get<bool TResSettings::*>(info->Member) = s_.ReadByte() != 0; break;
      case TSettingWidth::swWord: st.*std::get<int32_t TResSettings::*>(info->Member) = s_.ReadWord(); break;
      case TSettingWidth::swDWord:
        st.*std::get<int32_t TResSettings::*>(info->Member) = int32_t(s_.ReadDWord());
        break;
    }
  }
  res_.TakeSettingsCopies();
}

void TVrfReader::ReadStrings() {
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    TStringEntry e;
    e.Id = s_.ReadWord();
    e.Name = Cut(s_.ReadLString());
    e.Text = Cut(s_.ReadLString());
    res_.Strings.Append(std::move(e));
  }
  ReadClosingTag();
}

void TVrfReader::ReadHistory() {
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    THistoryEntry e;
    e.FileVersion = s_.ReadDWord();
    e.ProductVersion = s_.ReadDWord();
    e.Date = ReadDouble(s_);
    e.Author = s_.ReadLString();
    e.Comments = s_.ReadLString();
    res_.History.Append(std::move(e));
  }
  ReadClosingTag();
}

void TVrfReader::ReadNotes() {
  res_.Notes.Text = s_.ReadLString();
  ReadClosingTag();
}

void TVrfReader::ReadNameValues(uint32_t tag) {
  TMessageResource& m = res_.Messages;
  TNameValueList& list = tag == vtSeverities ? m.Severities : tag == vtFacilities ? m.Facilities : m.Languages;
  list.clear();
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    TNameValue item;
    item.Value = s_.ReadDWord();
    item.Name = s_.ReadLString();
    list.push_back(std::move(item));
  }
  ReadClosingTag();
}

void TVrfReader::ReadMessages() {
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    TMessageEntry e;
    e.Id = s_.ReadWord();
    e.Name = s_.ReadLString();
    e.Texts = s_.ReadLString();
    e.Severity = s_.ReadDWord();
    e.Facility = s_.ReadDWord();
    e.FullId = MessageFullId(e.Severity, e.Facility, e.Id);
    res_.Messages.Append(std::move(e));
  }
  ReadClosingTag();
}

void TVrfReader::ReadRcData() {
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    TRcDataEntry e;
    e.Id = s_.ReadWord();
    e.Name = s_.ReadLString();
    e.FileName = s_.ReadLString();
    e.MemOptions = s_.ReadWord();
    e.KindAndCompression = s_.ReadWord();
    res_.RcData.Append(std::move(e));
  }
  ReadClosingTag();
}

void TVrfReader::ReadBitmaps() {
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    TBmpEntry e;
    e.Id = s_.ReadWord();
    e.Name = s_.ReadLString();
    e.FileName = s_.ReadLString();
    e.MemOptions = s_.ReadWord();
    e.LoadByName = s_.ReadByte() == 1;
    e.Compression = s_.ReadByte();
    res_.Bitmaps.Append(std::move(e));
  }
  ReadClosingTag();
}

template <class List>
void TVrfReader::ReadIcons(List& list) {
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    typename List::EntryType e;
    e.Id = s_.ReadWord();
    e.Name = s_.ReadLString();
    e.FileName = s_.ReadLString();
    e.MemOptions = s_.ReadWord();
    e.LoadByName = s_.ReadBool();
    list.Append(std::move(e));
  }
  ReadClosingTag();
}

void TVrfReader::ReadPopupHelp(bool older) {
  for (uint32_t n = s_.ReadDWord(); n > 0; --n) {
    if (older) {
      s_.ReadDWord();
      s_.ReadDWord();
    } else {
      s_.ReadWord();
      s_.ReadWord();
    }
    s_.ReadLString();
  }
  ReadClosingTag();
}

// Tagged fields 1 id, 2 name, 3 file name (strings: text), 4 option text; an
// entry is complete after its last field.
template <class List>
void TVrfReader::ReadOlderEntries(List& list, uint32_t closingTag) {
  using Entry = typename List::EntryType;
  constexpr bool isString = std::is_same_v<Entry, TStringEntry>;
  Entry e;
  for (;;) {
    uint32_t tag = s_.ReadDWord();
    if (tag == closingTag) break;
    int number = (tag >> 8) & 0xFF;
    if (number == 1) {
      e.Id = s_.ReadWord();
    } else if (number == 2) {
      e.Name = s_.ReadShortString(tag & 0xFF);
    } else if (number == 3) {
      std::string text = s_.ReadShortString(tag & 0xFF);
      if constexpr (isString) {
        e.Text = std::move(text);
        list.Append(std::move(e));
        e = Entry();
      } else {
        e.FileName = std::move(text);
      }
    } else if constexpr (!isString) {
      if (number != 4) FormatError();
      e.MemOptions = ParseMemOptionText(s_.ReadShortString(tag & 0xFF));
      if constexpr (std::is_same_v<Entry, TRcDataEntry>) e.KindAndCompression = rkOlderLayout;
      list.Append(std::move(e));
      e = Entry();
    } else {
      FormatError();
    }
  }
}

static uint32_t OlderVersion(const std::string& text) {
  TVersionParts p{};
  for (int i = 0; i < 4; ++i) {
    int v;
    if (text.size() < size_t(3 * i + 2) || !TryStrToInt(text.substr(3 * i, 2), v) || v < 0 || v > 255)
      throw EReadError("Stream read error");
    p[i] = uint8_t(v);
  }
  return PackVersion(p);
}

// Fields 1 file version, 2 product version ("01.02.03.04"), 3 date
// ("mm/dd/yy @ hh:nn"), 4 author, 5 comments.
void TVrfReader::ReadOlderHistory() {
  THistoryEntry e;
  for (;;) {
    uint32_t tag = s_.ReadDWord();
    if (tag == vtHistoryEnd) break;
    int number = (tag >> 8) & 0xFF;
    if (number < 1 || number > 5) FormatError();
    std::string text = s_.ReadShortString(tag & 0xFF);
    switch (number) {
      case 1: e.FileVersion = OlderVersion(text); break;
      case 2: e.ProductVersion = OlderVersion(text); break;
      case 3:
        if (text.size() >= 10) text.erase(8, 2);
        if (!ParseOlderDate(text, e.Date)) FormatError();
        break;
      case 4: e.Author = std::move(text); break;
      case 5:
        e.Comments = std::move(text);
        res_.History.Append(std::move(e));
        e = THistoryEntry();
        break;
    }
  }
}

void TVrfReader::ReadOlderNotes() {
  std::string text;
  for (uint16_t n = s_.ReadWord(), i = 0; i < n; ++i) {
    if (i > 0) text += "\r\n";
    text += s_.ReadShortString(s_.ReadByte());
  }
  res_.Notes.Text = std::move(text);
  ReadClosingTag();
}

}  // namespace vesper
