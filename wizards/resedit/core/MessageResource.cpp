#include "wizards/resedit/core/MessageResource.h"

#include "platform/Format.h"
#include "platform/StrUtils.h"

namespace vesper {

uint32_t MessageFullId(uint32_t severity, uint32_t facility, uint16_t code) {
  return (severity << 30) + (facility << 16) + code;
}

std::string LanguageMarker(uint32_t languageId) {
  return "\x01" + IntToHex(languageId & 0xFFFF, 4) + "\x01";
}

std::string SegmentText(std::string_view texts, uint32_t languageId) {
  std::string marker = LanguageMarker(languageId);
  size_t start = texts.find(marker);
  if (start == std::string_view::npos) return "";
  start += marker.size();
  size_t end = texts.find(marker, start);
  return std::string(texts.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

static std::string Segment(uint32_t languageId, std::string_view text) {
  std::string marker = LanguageMarker(languageId);
  return marker + std::string(text) + marker;
}

std::string WithSegmentText(std::string_view texts, const TNameValueList& languages, uint32_t languageId,
                            std::string_view text) {
  std::string result;
  for (auto& lang : languages)
    if (lang.Value != languageId) result += Segment(lang.Value, SegmentText(texts, lang.Value));
  return result + Segment(languageId, text);
}

TMessageResource::TMessageResource(TResources* owner, std::string defaultLanguageName, uint16_t languageId)
    : TResList(owner),
      Severities{{"Success", 0}, {"Information", 1}, {"Warning", 2}, {"Error", 3}},
      Facilities{{"Nil", 0}, {"System", 255}, {"Application", kMaxFacility}},
      Languages{{std::move(defaultLanguageName), languageId}} {}

TMessageEntry TMessageResource::MakeEntry(uint16_t code, std::string name, uint32_t severity,
                                          uint32_t facility, std::string_view text) const {
  TMessageEntry e;
  e.Id = code;
  e.Name = std::move(name);
  e.Severity = severity;
  e.Facility = facility;
  e.FullId = MessageFullId(severity, facility, code);
  for (auto& lang : Languages) SetText(e, lang.Value, text);
  return e;
}

std::string TMessageResource::Text(const TMessageEntry& entry, uint32_t languageId) const {
  return SegmentText(entry.Texts, languageId);
}

void TMessageResource::SetText(TMessageEntry& entry, uint32_t languageId, std::string_view text) const {
  entry.Texts = WithSegmentText(entry.Texts, Languages, languageId, text);
}

std::string TMessageResource::DisplayText(const TMessageEntry& entry) const {
  if (Languages.empty()) return "";
  std::string s = Text(entry, Languages.front().Value).substr(0, 50);
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

static int IndexOfValue(const TNameValueList& list, uint32_t value) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].Value == value) return int(i);
  return -1;
}

static int IndexOfName(const TNameValueList& list, std::string_view name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].Name == name) return int(i);
  return -1;
}

static bool AskYes(const TResUserIO& io, const std::string& caption, const std::string& text) {
  TResNotice q{TMsgDlgType::mtConfirmation, caption, text, mbYes | mbNo | mbCancel, 2};
  return io.Show(q) == TModalResult::mrYes;
}

bool TMessageResource::AddLanguage(const std::string& name, uint32_t id, const TResUserIO& io) {
  if (IndexOfValue(Languages, id) >= 0) return false;
  Languages.push_back({name, id});
  for (auto& e : Items()) SetText(*e, id, e->Name);
  return true;
}

bool TMessageResource::ChangeLanguage(int index, const std::string& name, uint32_t id, const TResUserIO& io) {
  if (index < 0 || index >= int(Languages.size())) return false;
  int other = IndexOfValue(Languages, id);
  if (other >= 0 && other != index) return false;
  TNameValue& lang = Languages[index];
  if (!AskYes(io, "Language alteration",
              Format("Changing %s to another language will not auto translate text.", {lang.Name})))
    return false;
  std::string from = LanguageMarker(lang.Value), to = LanguageMarker(id);
  for (auto& e : Items()) e->Texts = StringReplace(e->Texts, from, to);
  lang = {name, id};
  return true;
}

bool TMessageResource::DeleteLanguage(int index, const TResUserIO& io) {
  if (index < 0 || index >= int(Languages.size())) return false;
  if (index == 0) {
    io.Show({TMsgDlgType::mtConfirmation, "", "Can't delete the DEFAULT language", mbOK, 0});
    return false;
  }
  const std::string& name = Languages[index].Name;
  if (!AskYes(io, "Delete Language",
              Format("Deleting %s will permanently remove all messages assigned to %s", {name, name})) ||
      !AskYes(io, "Last chance !", Format("Delete %s", {name})))
    return false;
  Languages.erase(Languages.begin() + index);
  return true;
}

bool TMessageResource::CheckFacility(int index, const std::string& name, uint32_t code,
                                     const TResUserIO& io) const {
  if (Trim(name).empty()) {
    io.ShowError("No Blank fields please.");
    return false;
  }
  if (code < 1 || code > kMaxFacility) {
    io.ShowError("Facility Code must be from 1 to 4095");
    return false;
  }
  int byCode = IndexOfValue(Facilities, code);
  if (byCode >= 0 && byCode != index) {
    io.ShowError(Format("Facility Code of %d already exists", {code}));
    return false;
  }
  int byName = IndexOfName(Facilities, name);
  if (byName >= 0 && byName != index) {
    io.ShowError(Format("Facility Name of \"%s\" already exists", {name}));
    return false;
  }
  return true;
}

bool TMessageResource::AddFacility(const std::string& name, uint32_t code, const TResUserIO& io) {
  if (!CheckFacility(-1, name, code, io)) return false;
  Facilities.push_back({name, code});
  return true;
}

bool TMessageResource::ModifyFacility(int index, const std::string& name, uint32_t code,
                                      const TResUserIO& io) {
  if (index < 0 || index >= int(Facilities.size())) return false;
  if (!CheckFacility(index, name, code, io)) return false;
  uint32_t old = Facilities[index].Value;
  for (auto& e : Items()) {
    if (e->Facility != old) continue;
    e->Facility = code;
    e->FullId = MessageFullId(e->Severity, code, e->Id);
  }
  Facilities[index] = {name, code};
  return true;
}

bool TMessageResource::DeleteFacility(int index, const TResUserIO& io) {
  if (index < 0 || index >= int(Facilities.size())) return false;
  const TNameValue& f = Facilities[index];
  for (auto& e : Items()) {
    if (e->Facility != f.Value) continue;
    io.ShowError(Format("Can't delete %s(%x) already in use in Message Table (%s)", {f.Name, f.Value, e->Name}));
    return false;
  }
  Facilities.erase(Facilities.begin() + index);
  return true;
}

}  // namespace vesper
