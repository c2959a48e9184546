// Message tables: entries keyed by their code, each with one text per
// language of the project, and the severity, facility and language lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "wizards/resedit/core/ResList.h"
#include "wizards/resedit/core/ResNotices.h"
#include "wizards/resedit/core/VersionResource.h"

namespace vesper {

// The key `Id` is the message code.
struct TMessageEntry : TResEntry {
  uint32_t FullId = 0;  // severity << 30 + facility << 16 + code
  std::string Texts;    // per language: marker, text, the same marker
  uint32_t Severity = 0;
  uint32_t Facility = 0;
};

uint32_t MessageFullId(uint32_t severity, uint32_t facility, uint16_t code);
// Character 1, the id as four upper-case hexadecimal digits, character 1.
std::string LanguageMarker(uint32_t languageId);
// What lies between the first marker of the language and its next one.
std::string SegmentText(std::string_view texts, uint32_t languageId);
// The segments of the other languages of `languages` (in list order), then
// the new segment.
std::string WithSegmentText(std::string_view texts, const TNameValueList& languages, uint32_t languageId,
                            std::string_view text);

constexpr uint32_t kMaxFacility = 4095;

class TMessageResource : public TResList<TMessageEntry> {
 public:
  TMessageResource(TResources* owner, std::string defaultLanguageName, uint16_t languageId);

  TNameValueList Severities;  // "Success" 0 ... "Error" 3
  TNameValueList Facilities;  // "Nil" 0, "System" 255, "Application" 4095
  TNameValueList Languages;   // the first is the default language

  // A new entry with its full id computed and the text of every language.
  TMessageEntry MakeEntry(uint16_t code, std::string name, uint32_t severity, uint32_t facility,
                          std::string_view text) const;
  std::string Text(const TMessageEntry& entry, uint32_t languageId) const;
  void SetText(TMessageEntry& entry, uint32_t languageId, std::string_view text) const;
  // The default language's text cut to 50 characters, line breaks as blanks.
  std::string DisplayText(const TMessageEntry& entry) const;

  // Appends the language; every message gets its name as the text of it.
  bool AddLanguage(const std::string& name, uint32_t id, const TResUserIO& io);
  // Re-marks every message's segment of the language at `index` with `id`.
  bool ChangeLanguage(int index, const std::string& name, uint32_t id, const TResUserIO& io);
  // Removes the language (never the first); the stored texts keep its segments.
  bool DeleteLanguage(int index, const TResUserIO& io);

  bool AddFacility(const std::string& name, uint32_t code, const TResUserIO& io);
  // Renames or renumbers; messages of the facility follow a new code.
  bool ModifyFacility(int index, const std::string& name, uint32_t code, const TResUserIO& io);
  bool DeleteFacility(int index, const TResUserIO& io);

 private:
  bool CheckFacility(int index, const std::string& name, uint32_t code, const TResUserIO& io) const;
};

}  // namespace vesper

namespace vesper {
// Refusal of the language commands while the edited message is unsaved.
inline constexpr const char* kSaveMessageFirst =
    "You need to add or save the current message before meddling with the languages !";
}  // namespace vesper
