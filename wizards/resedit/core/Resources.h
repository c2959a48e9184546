// A resource project: one object per kind, the output names derived from the
// project file name, and the project's copies of some settings.
#pragma once

#include <cstdint>
#include <string>

#include "platform/DateTime.h"
#include "wizards/resedit/core/MessageResource.h"
#include "wizards/resedit/core/ResKinds.h"
#include "wizards/resedit/core/ResNotices.h"
#include "wizards/resedit/core/ResSettings.h"
#include "wizards/resedit/core/VersionResource.h"

namespace vesper {

inline constexpr const char* kDefaultProjectName = "Unnamed.vrf";
inline constexpr const char* kProjectFilter = "Vesper Resource Files (*.VRF)|*.VRF";

class TResources {
 public:
  TResources(const std::string& defaultLanguageName, uint16_t languageId);
  TResources(const TResources&) = delete;
  TResources& operator=(const TResources&) = delete;

  uint16_t Language;
  TStringResource Strings{this};
  TRcDataResource RcData{this};
  TVersionResource Version{this};
  TBmpResource Bitmaps{this};
  TIconResource Icons{this};
  TCursorResource Cursors{this};
  THistoryResource History{this};
  TNotesResource Notes{this};
  TMessageResource Messages;
  bool CppOutput = false;
  bool CompressionAllowed = false;
  TDateTime SavedStamp = 0;  // date-time read from the project file header
  bool DefaultsInProject = false;
  bool Is32Bit = true;
  bool OmitVersion = false;
  // The settings the project file's settings section holds.
  TResSettings Settings;

  const std::string& FileName() const { return fileName_; }
  const std::string& Res16Name() const { return res16Name_; }
  const std::string& Res32Name() const { return res32Name_; }
  const std::string& RcName() const { return rcName_; }
  const std::string& ConstFileName() const { return constFileName_; }
  // Also sets the ".R16", ".R32" and ".RC" names and the constants file.
  void SetFileName(const std::string& path);
  void SetCppOutput(bool cpp);

  // Takes over the settings and the project's copies of them.
  void ApplySettings(const TResSettings& settings);
  // The 32-bit flag, constants file name and defaults flag from `Settings`.
  void TakeSettingsCopies();

  // Writes the whole project to FileName() (atomically). Raises the stream
  // errors of the platform when the file cannot be written.
  void WriteProject(const TResUserIO& io = {});
  // True when the file was read to its end marker or end; false after the
  // format error was shown, or when the oldest format was not accepted.
  // Raises EFOpenError when the file cannot be read at all.
  bool ReadProject(const TResUserIO& io = {});

 private:
  std::string fileName_, res16Name_, res32Name_, rcName_, constFileName_;
  void UpdateConstFileName();
};

}  // namespace vesper
