#include "shared/aux/VesShellMods.h"

#include "platform/Files.h"
#include "shared/aux/AuxRegistry.h"

namespace vesper {

namespace {

// A state key is one registry key name.
std::string StateKey(const std::string& key) {
  std::string name = key;
  for (char& c : name)
    if (c == '\\') c = '/';
  return std::string(kDialogStatesKey) + "\\" + name;
}

std::string RememberedFolder(const std::string& key) {
  std::string folder = ReadRegString(StateKey(key), "Folder").value_or("");
  return !folder.empty() && DirectoryExists(folder) ? folder : std::string();
}

void ReadFileDlgState(TFileDialogRequest& dialog) {
  if (dialog.stateKey.empty()) return;
  std::string folder = RememberedFolder(dialog.stateKey);
  if (!folder.empty()) dialog.initialDir = folder;
  if (std::optional<int> index = ReadRegInteger(StateKey(dialog.stateKey), "FilterIndex");
      index && *index >= 1)
    dialog.filterIndex = *index;
}

void WriteFileDlgState(const TFileDialogRequest& dialog) {
  if (dialog.stateKey.empty()) return;
  const std::string& file = dialog.files.empty() ? dialog.fileName : dialog.files.front();
  if (!file.empty()) WriteRegString(StateKey(dialog.stateKey), "Folder", ExtractFileDir(file));
  WriteRegInteger(StateKey(dialog.stateKey), "FilterIndex", dialog.filterIndex);
}

}  // namespace

std::string TRegistryDialogStateStore::ReadFolder(const std::string& key) {
  return ReadRegString(StateKey(key), "Folder").value_or("");
}

void TRegistryDialogStateStore::WriteFolder(const std::string& key, const std::string& folder) {
  WriteRegString(StateKey(key), "Folder", folder);
}

void UseRegistryDialogStates() {
  static TRegistryDialogStateStore store;
  SetDialogStates(&store);
}

void ReadOpenDlgState(TFileDialogRequest& dialog) { ReadFileDlgState(dialog); }
void WriteOpenDlgState(const TFileDialogRequest& dialog) { WriteFileDlgState(dialog); }
void ReadSaveDlgState(TFileDialogRequest& dialog) { ReadFileDlgState(dialog); }
void WriteSaveDlgState(const TFileDialogRequest& dialog) { WriteFileDlgState(dialog); }

void ReadBrowseState(TFolderRequest& dialog) {
  if (dialog.stateKey.empty()) return;
  std::string folder = RememberedFolder(dialog.stateKey);
  if (!folder.empty()) dialog.directory = folder;
}

void WriteBrowseState(const TFolderRequest& dialog) {
  if (!dialog.stateKey.empty() && !dialog.directory.empty())
    WriteRegString(StateKey(dialog.stateKey), "Folder", dialog.directory);
}

}  // namespace vesper
