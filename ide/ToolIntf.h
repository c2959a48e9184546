// The IDE's tool services as the wizards and the host call them: projects
// and files, module/editor/view objects, the main menu and its items, the
// base registry key and raising an exception to the user. Objects handed
// out are TInterface references that the caller releases.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ide/Menus.h"
#include "ide/VirtIntf.h"

namespace vesper::ide {

// Menu-item flags (bits of the class library's flag set).
enum : int {
  mfInvalid = 0x01,
  mfEnabled = 0x02,
  mfVisible = 0x04,
  mfChecked = 0x08,
  mfBreak = 0x10,
  mfBarBreak = 0x20,
  mfRadioItem = 0x40,
};

// Flags of "create a module" (add an existing file to the project = 0x0203).
enum : int {
  cmAddToProject = 0x0001,
  cmShowSource = 0x0002,
  cmShowForm = 0x0004,
  cmUnNamed = 0x0008,
  cmNewUnit = 0x0010,
  cmNewForm = 0x0020,
  cmMainForm = 0x0040,
  cmMarkModified = 0x0080,
  cmNewFile = 0x0100,
  cmExisting = 0x0200,
};

struct TEditPos {
  int16_t Col = 0;   // 1-based
  int32_t Line = 0;  // 1-based
};

struct TSize {
  int cx = 0;
  int cy = 0;
};

class TIMenuItemIntf;
using TIMenuClickEvent = std::function<void(TIMenuItemIntf* sender)>;

class TIMenuItemIntf : public TInterface {
 public:
  // Releasing the last reference of an item object removes the item, with
  // the items under it, from the menu.
  virtual int GetIndex() = 0;
  virtual int GetItemCount() = 0;
  virtual TIMenuItemIntf* GetItem(int index) = 0;  // caller releases
  virtual std::string GetName() = 0;
  virtual TIMenuItemIntf* GetParent() = 0;  // caller releases; none at top
  virtual std::string GetCaption() = 0;
  virtual bool SetCaption(const std::string& caption) = 0;
  virtual TShortCut GetShortCut() = 0;
  virtual bool SetShortCut(TShortCut shortCut) = 0;
  virtual int GetFlags() = 0;
  virtual bool SetFlags(int mask, int flags) = 0;
  virtual int GetGroupIndex() = 0;
  virtual std::string GetHint() = 0;
  virtual int GetContext() = 0;
  virtual TIMenuClickEvent GetOnClick() = 0;
  virtual bool SetOnClick(TIMenuClickEvent click) = 0;
  // Inserts a child at `index` (-1 or past the end appends); caller releases.
  virtual TIMenuItemIntf* InsertItem(int index, const std::string& caption, const std::string& name,
                                     const std::string& hint, TShortCut shortCut, int context,
                                     int groupIndex, int flags, TIMenuClickEvent click) = 0;
  // Removes the item now, whatever references remain.
  virtual bool DestroyMenuItem() = 0;
};

class TIMainMenuIntf : public TInterface {
 public:
  virtual TIMenuItemIntf* GetMenuItems() = 0;                       // caller releases
  virtual TIMenuItemIntf* FindMenuItem(const std::string& name) = 0;  // caller releases
};

class TIEditView : public TInterface {
 public:
  virtual TSize GetViewSize() = 0;  // columns and lines
  virtual TEditPos GetCursorPos() = 0;
  virtual void SetCursorPos(const TEditPos& pos) = 0;
  virtual TEditPos GetTopPos() = 0;
  virtual void SetTopPos(const TEditPos& pos) = 0;
};

class TIEditorInterface : public TInterface {
 public:
  virtual std::string FileName() = 0;
  virtual int LinesInBuffer() = 0;
  virtual int GetViewCount() = 0;
  virtual TIEditView* GetView(int index) = 0;  // caller releases
};

class TIModuleInterface : public TInterface {
 public:
  virtual TIEditorInterface* GetEditorInterface() = 0;  // caller releases
  virtual bool ShowSource() = 0;
  virtual bool Save(bool forceSave) = 0;
  virtual bool Close() = 0;
};

class TIToolServices : public TInterface {
 public:
  virtual bool CloseProject() = 0;
  virtual bool OpenProject(const std::string& projName) = 0;
  virtual bool SaveProject() = 0;
  virtual bool CloseFile(const std::string& fileName) = 0;
  virtual bool SaveFile(const std::string& fileName) = 0;
  virtual bool OpenFile(const std::string& fileName) = 0;
  virtual bool IsFileOpen(const std::string& fileName) = 0;
  // Adds an existing file (flags cmAddToProject | cmShowSource | cmExisting).
  virtual bool CreateModule(const std::string& moduleName, int createFlags) = 0;
  virtual std::string GetProjectName() = 0;  // full path, empty when none
  virtual int GetUnitCount() = 0;
  virtual std::string GetUnitName(int index) = 0;
  virtual std::string GetCurrentFile() = 0;  // file of the active editor
  virtual TIModuleInterface* GetModuleInterface(const std::string& fileName) = 0;  // caller releases
  virtual TIMainMenuIntf* GetMainMenu() = 0;  // caller releases; none without a menu
  virtual std::string GetBaseRegistryKey() = 0;
  // Shows `message` to the user as an exception of the IDE.
  virtual void RaiseException(const std::string& message) = 0;
  // Handle of the IDE application's window (opaque).
  virtual void* GetParentHandle() = 0;
};

// The IDE's global tool-services object; set by the IDE before it loads
// packages and experts.
TIToolServices*& ToolServices();

}  // namespace vesper::ide
