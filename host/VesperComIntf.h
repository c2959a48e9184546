// The wizard's COM interfaces and their identifiers. Operations follow
// IUnknown's three in the order given here.
#pragma once

#include "host/VesperIntf.h"
#include "platform/Com.h"
#include "platform/StringList.h"

namespace vesper {

// {AEF18280-F418-11D0-AF30-444553540000}
inline constexpr TGUID CLSID_VesperWizard{0xAEF18280, 0xF418, 0x11D0, {0xAF, 0x30, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {6AC4D402-EB11-11D0-AF30-444553540000}
inline constexpr TGUID CLSID_VesperRunStrings{
    0x6AC4D402, 0xEB11, 0x11D0, {0xAF, 0x30, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {C7ED9821-D391-11D0-A772-00A0248CB504}
inline constexpr TGUID CLSID_VesperProperty{0xC7ED9821, 0xD391, 0x11D0, {0xA7, 0x72, 0x00, 0xA0, 0x24, 0x8C, 0xB5, 0x04}};

class IVesperWizard : public IUnknown {
 public:
  static constexpr const TIID& IID = CLSID_VesperWizard;
  virtual int32_t Initialize(TInitReason reason, ide::TIToolServices* toolServices, TIDEType ideType,
                             int32_t ideVersion, HWND appHandle) = 0;
  virtual void GetWizardInfo(unsigned char* name, int32_t nameMax, unsigned char* description,
                             int32_t descriptionMax, unsigned char* author, int32_t authorMax,
                             unsigned char* parentMenuText, int32_t parentMenuTextMax,
                             unsigned char* menuText, int32_t menuTextMax, unsigned char* shortcut,
                             int32_t shortcutMax, TWizardType* wizardType) = 0;
  virtual bool IsIDESupported(TIDEType ideType, int32_t ideVersion) = 0;
  virtual void AboutToUnload(TUnloadingReason reason, bool forced, bool* canUnload) = 0;
  virtual void Execute() = 0;
  virtual void Run(int32_t param) = 0;
};

class IVesperRunStrings : public IUnknown {
 public:
  static constexpr const TIID& IID = CLSID_VesperRunStrings;
  // `strings` is owned by the caller.
  virtual void RunStrings(TStrings* strings, int32_t param) = 0;
};

class IVesperProperty : public IUnknown {
 public:
  static constexpr const TIID& IID = CLSID_VesperProperty;
  virtual void EditProperties() = 0;
};

}  // namespace vesper
