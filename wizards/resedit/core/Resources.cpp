#include "wizards/resedit/core/Resources.h"

#include "platform/Files.h"
#include "wizards/resedit/core/VrfFile.h"

namespace vesper {

TResources::TResources(const std::string& defaultLanguageName, uint16_t languageId)
    : Language(languageId), Messages(this, defaultLanguageName, languageId) {}

void TResources::SetFileName(const std::string& path) {
  fileName_ = path;
  res16Name_ = ChangeFileExt(path, ".R16");
  res32Name_ = ChangeFileExt(path, ".R32");
  rcName_ = ChangeFileExt(path, ".RC");
  UpdateConstFileName();
}

void TResources::SetCppOutput(bool cpp) {
  CppOutput = cpp;
  UpdateConstFileName();
}

void TResources::UpdateConstFileName() {
  constFileName_ = ExtractFilePath(fileName_) + (CppOutput ? Settings.ZeruzConstFile : Settings.ConstFileName);
}

void TResources::ApplySettings(const TResSettings& settings) {
  Settings = settings;
  OmitVersion = settings.NoVerResource;
  TakeSettingsCopies();
}

void TResources::TakeSettingsCopies() {
  Is32Bit = Settings.Res32Bit;
  DefaultsInProject = Settings.DefaultsInVrf;
  UpdateConstFileName();
}

void TResources::WriteProject(const TResUserIO& io) { TVrfWriter(*this, io).Write(); }

bool TResources::ReadProject(const TResUserIO& io) { return TVrfReader(*this, io).Read(); }

}  // namespace vesper
