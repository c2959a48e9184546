// Entry points of class wizards and plain-DLL wizards, exported by name
// with C linkage and called like the wizard interface's operations.
#pragma once

#include "host/VesperIntf.h"

namespace vesper {

extern "C" {
// GETINSTANCE007: fills the object reference (class wizard).
using TGetInstanceProc = void (*)(TWizardInterface** wizard);
// INITWIZARD007: as Initialize; its presence makes a plain-DLL wizard.
using TInitWizardProc = int32_t (*)(TInitReason reason, ide::TIToolServices* toolServices,
                                    TIDEType ideType, int32_t ideVersion, HWND appHandle);
// GETWIZARDINFO: six zero-terminated 256-byte buffers, the largest length
// (255) and the address of the one-byte wizard type.
using TGetWizardInfoProc = void (*)(char* name, char* description, char* author, char* parentMenuText,
                                    char* menuText, char* shortcut, int32_t maxLen,
                                    TWizardType* wizardType);
using TIsIDESupportedProc = bool (*)(TIDEType ideType, int32_t ideVersion);
using TAboutToUnloadProc = void (*)(TUnloadingReason reason, bool forced, bool* canUnload);
using TExecuteProc = void (*)();
using TRunProc = void (*)(int32_t param);
using TEditPropertiesProc = void (*)();
}

constexpr const char* kGetInstanceEntry = "GETINSTANCE007";
constexpr const char* kInitWizardEntry = "INITWIZARD007";
constexpr const char* kGetWizardInfoEntry = "GETWIZARDINFO";
constexpr const char* kIsIDESupportedEntry = "ISIDESUPPORTED";
constexpr const char* kAboutToUnloadEntry = "ABOUTTOUNLOAD";
constexpr const char* kExecuteEntry = "EXECUTE";
constexpr const char* kRunEntry = "RUN";
constexpr const char* kEditPropertiesEntry = "EDITPROPERTIES";

}  // namespace vesper
