// The ".VRF" project file: the writer of the current format and the reader
// of the current, older and oldest formats.
#pragma once

#include <cstdint>
#include <string>

#include "platform/DateTime.h"
#include "wizards/resedit/core/ResNotices.h"
#include "wizards/resedit/core/ResStream.h"

namespace vesper {

class TResources;

// Section tags, end markers and field groups of the project file.
enum : uint32_t {
  vtDefaults = 0xE000,
  vtDefaultsEnd = 0xE0FF,
  vtVersion = 0xF000,
  vtVersionEnd = 0xF0FF,
  vtStrings = 0xF150,
  vtStringsOld = 0xF100,
  vtStringsEnd = 0xF1FF,
  vtIcons = 0xF250,
  vtIconsOld = 0xF200,
  vtIconsEnd = 0xF2FF,
  vtBitmaps = 0xF350,
  vtBitmapsOld = 0xF300,
  vtBitmapsEnd = 0xF3FF,
  vtHistory = 0xF450,
  vtHistoryOld = 0xF400,
  vtHistoryEnd = 0xF4FF,
  vtCursors = 0xF550,
  vtCursorsOld = 0xF500,
  vtCursorsEnd = 0xF5FF,
  vtRcData = 0xF650,
  vtRcDataOld = 0xF600,
  vtRcDataEnd = 0xF6FF,
  vtNotes = 0xF750,
  vtNotesOld = 0xF700,
  vtNotesEnd = 0xF7FF,
  vtPopupHelp = 0xF850,
  vtPopupHelpOld = 0xF800,
  vtPopupHelpEnd = 0xF8FF,
  vtSeverities = 0xF900,
  vtSeveritiesEnd = 0xF9FF,
  vtFacilities = 0xFA00,
  vtFacilitiesEnd = 0xFAFF,
  vtLanguages = 0xFB00,
  vtLanguagesEnd = 0xFBFF,
  vtMessages = 0xFC00,
  vtMessagesEnd = 0xFCFF,
  vtSectionEnd = 0xFFFF0000,
  vtFileEnd = 0xFFFFFFFF,
  vgVersion = 0x00F0,
  vgDefaults = 0x00E0,
};

inline constexpr const char* kVrfSignature = "@#(20)";

class TVrfWriter {
 public:
  TVrfWriter(TResources& project, const TResUserIO& io) : res_(project), io_(io) {}
  // Builds the file in memory and replaces the project file with it.
  void Write();
  // The file's bytes with `stamp` as the date-time of saving.
  std::string Bytes(TDateTime stamp);

 private:
  TResources& res_;
  const TResUserIO& io_;
  TResStream s_;

  void Progress(const char* kind);
  void BeginSection(uint32_t tag);
  void EndSection(uint32_t closingTag);
  void WriteTextField(uint16_t group, int number, const std::string& text);
  void WriteNumberTag(uint16_t group, int number, int length = 4);
  void WriteVersion();
  void WriteStrings();
  void WriteHistory();
  void WriteNotes();
  void WriteMessageLists();
  void WriteMessages();
  void WriteRcData();
  void WriteBitmaps();
  template <class List>
  void WriteIcons(const List& list, uint32_t tag, uint32_t closingTag);
  void WriteDefaults();
};

class TVrfReader {
 public:
  TVrfReader(TResources& project, const TResUserIO& io) : res_(project), io_(io) {}
  // Reads the project file into the project (the lists are appended to).
  bool Read();
  // The same over bytes already in memory.
  bool ReadBytes(std::string data);

 private:
  TResources& res_;
  const TResUserIO& io_;
  TResStream s_;
  bool current_ = true;
  uint32_t section_ = 0;

  bool ReadFormat();
  bool ReadOldest();
  // Stops the read with the format error of the current section.
  [[noreturn]] void FormatError();
  std::string SectionError(uint32_t tag) const;
  bool AtEnd();
  void ReadSection(uint32_t tag);
  void ReadVersion();
  void ReadDefaults();
  void ReadStrings();
  void ReadHistory();
  void ReadNotes();
  void ReadNameValues(uint32_t tag);
  void ReadMessages();
  void ReadRcData();
  void ReadBitmaps();
  template <class List>
  void ReadIcons(List& list);
  void ReadPopupHelp(bool older);
  template <class List>
  void ReadOlderEntries(List& list, uint32_t closingTag);
  void ReadOlderHistory();
  void ReadOlderNotes();
  uint32_t ReadClosingTag() { return s_.ReadDWord(); }
};

}  // namespace vesper
