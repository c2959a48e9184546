// The resource editor's settings ("ReDefaults"), their keys and defaults, and
// the field numbers under which a project file stores them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vesper {

struct TResSettings {
  int32_t StartPage = 1;
  bool AutoUpdate = true;
  int32_t Language = 1033;
  std::string DefaultLanguageName = "US English";
  int32_t CharSet = 1252;
  bool DefaultsInVrf = false;
  std::string ConstFileName = "RES__IDS.PAS";
  std::string ZeruzConstFile = "res__ids.h";
  bool Toolbar = true;
  bool Hints = true;
  std::string CompName = "Arkwell Industries.";
  std::string CopName = "Copyright (c) 1997 Arkwell Industries.";
  std::string TradeMarks = "Your Trademarks";
  std::string FileOs = "VOS_DOS_WINDOWS16";
  std::string FileType = "VFT_APP";
  bool NoVerResource = false;
  bool IncVerOnLoad = true;
  bool SetVerToCurTime = true;
  std::string HistoryAuthor = "DOC";
  std::string StringPrefix = "IDS_";
  std::string RcDataPrefix = "IDR_";
  std::string MsgPrefix = "IDM_";
  std::string BitmapPrefix = "IDB_";
  std::string IconPrefix = "IDI_";
  std::string CursorPrefix = "IDC_";
  int32_t BumpResId = 1;
  bool AutoIncId = false;
  bool ClearEdAdd = false;
  bool AutoClip = false;
  std::string ImageEditor;
  bool CompOnSave = false;
  bool Res32Bit = true;  // key "32BitResource"
  bool CompileBoth = false;
  bool FindNames = false;
  bool EncryptStrings = false;
  bool EncryptForms = false;
  bool EncryptRcData = false;
  bool EncryptMsg = false;
  bool CompMenu = false;
};

// How a field's value is stored in a project file.
enum class TSettingWidth { swText, swByte, swWord, swDWord };

struct TSettingInfo {
  int Number;  // field number in a project file, 0 when not stored there
  const char* Key;
  TSettingWidth Width;
  std::variant<std::string TResSettings::*, bool TResSettings::*, int32_t TResSettings::*> Member;
};

// Every setting: the stored fields 1-18 and 20-37 in number order, then the
// settings that a project file does not hold.
const std::vector<TSettingInfo>& ResSettingInfos();
// Field 19 is never written; read, it is a byte for `EncryptRcData`.
const TSettingInfo* FindSettingByNumber(int number);
const TSettingInfo* FindSettingByKey(std::string_view key);  // ignoring case

std::string SettingText(const TResSettings& s, const TSettingInfo& info);
// Booleans take 1/0, true/false, yes/no, on/off; raises EConvertError.
void SetSettingText(TResSettings& s, const TSettingInfo& info, std::string_view text);

}  // namespace vesper
