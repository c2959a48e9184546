// Dialog states: the folder and file type of open and save dialogs, and the
// folder of folder-browse dialogs, kept in the registry by the request's
// state key between runs (layout in AuxRegistry.h). Read before the dialog
// runs, write after the user confirmed.
#pragma once

#include <string>

#include "ui/DialogState.h"
#include "ui/Dialogs.h"

namespace vesper {

// The dialog folders of the dialogs service, kept in the registry.
class TRegistryDialogStateStore : public TDialogStateStore {
 public:
  std::string ReadFolder(const std::string& key) override;
  void WriteFolder(const std::string& key, const std::string& folder) override;
};

// Makes the dialogs service remember its folders in the registry.
void UseRegistryDialogStates();

// Each does nothing for a request without a state key. A remembered folder
// that no longer exists is not used.
void ReadOpenDlgState(TFileDialogRequest& dialog);
void WriteOpenDlgState(const TFileDialogRequest& dialog);
void ReadSaveDlgState(TFileDialogRequest& dialog);
void WriteSaveDlgState(const TFileDialogRequest& dialog);
void ReadBrowseState(TFolderRequest& dialog);
void WriteBrowseState(const TFolderRequest& dialog);

}  // namespace vesper
