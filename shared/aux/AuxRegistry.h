// Where VclAux30 keeps its settings. All keys are under HKEY_CURRENT_USER.
//
//   Software\Vesper\Dialog States\<state key>      open, save and folder dialogs
//       "Folder"        string   the folder the dialog was last confirmed in
//       "FilterIndex"   integer  the file type chosen last (open and save only)
//   <caller's key>                                  TVesFontReg
//       <value name>    string   the font as "family,point size,...,style"
//                                 (QFont::toString; callers use "Font")
//   <AutoSaveName>\<AutoSaveKey>                    TVesMRUFileList ("MRUF")
//       "File1".."FileN" string  recent files, most recent first, N <= MaxItems
//
// Registry data of the wrong type or unreadable reads as absent.
#pragma once

#include <optional>
#include <string>

namespace vesper {

inline constexpr const char* kDialogStatesKey = "Software\\Vesper\\Dialog States";

// A string value of HKEY_CURRENT_USER\key, or nothing when absent or not a
// string.
std::optional<std::string> ReadRegString(const std::string& key, const std::string& name);
std::optional<int> ReadRegInteger(const std::string& key, const std::string& name);
void WriteRegString(const std::string& key, const std::string& name, const std::string& value);
void WriteRegInteger(const std::string& key, const std::string& name, int value);

}  // namespace vesper
