#include "wizards/resedit/core/ResSettings.h"

#include "platform/Exception.h"
#include "platform/StrUtils.h"

namespace vesper {

using S = TResSettings;
using W = TSettingWidth;

const std::vector<TSettingInfo>& ResSettingInfos() {
  static const std::vector<TSettingInfo> infos = {
      {1, "CompName", W::swText, &S::CompName},
      {2, "CopName", W::swText, &S::CopName},
      {3, "TradeMarks", W::swText, &S::TradeMarks},
      {4, "FileOs", W::swText, &S::FileOs},
      {5, "FileType", W::swText, &S::FileType},
      {6, "StringPrefix", W::swText, &S::StringPrefix},
      {7, "RcDataPrefix", W::swText, &S::RcDataPrefix},
      {8, "MsgPrefix", W::swText, &S::MsgPrefix},
      {9, "DefaultLanguageName", W::swText, &S::DefaultLanguageName},
      {10, "HistoryAuthor", W::swText, &S::HistoryAuthor},
      {11, "NoVerResource", W::swByte, &S::NoVerResource},
      {12, "CompOnSave", W::swByte, &S::CompOnSave},
      {13, "SetVerToCurTime", W::swByte, &S::SetVerToCurTime},
      {14, "IncVerOnLoad", W::swByte, &S::IncVerOnLoad},
      {15, "AutoUpdate", W::swByte, &S::AutoUpdate},
      {16, "AutoClip", W::swByte, &S::AutoClip},
      {17, "FindNames", W::swByte, &S::FindNames},
      {18, "DefaultsInVrf", W::swByte, &S::DefaultsInVrf},
      {20, "Language", W::swWord, &S::Language},
      {21, "CharSet", W::swWord, &S::CharSet},
      {22, "StartPage", W::swDWord, &S::StartPage},
      {23, "BumpResId", W::swDWord, &S::BumpResId},
      {24, "ConstFileName", W::swText, &S::ConstFileName},
      {25, "32BitResource", W::swByte, &S::Res32Bit},
      {26, "BitmapPrefix", W::swText, &S::BitmapPrefix},
      {27, "IconPrefix", W::swText, &S::IconPrefix},
      {28, "CursorPrefix", W::swText, &S::CursorPrefix},
      {29, "EncryptStrings", W::swByte, &S::EncryptStrings},
      {30, "EncryptMsg", W::swByte, &S::EncryptMsg},
      {31, "EncryptForms", W::swByte, &S::EncryptForms},
      {32, "EncryptRcData", W::swByte, &S::EncryptRcData},
      {33, "ImageEditor", W::swText, &S::ImageEditor},
      {34, "Toolbar", W::swByte, &S::Toolbar},
      {35, "Hints", W::swByte, &S::Hints},
      {36, "AutoIncId", W::swByte, &S::AutoIncId},
      {37, "ClearEdAdd", W::swByte, &S::ClearEdAdd},
      {0, "ZeruzConstFile", W::swText, &S::ZeruzConstFile},
      {0, "CompileBoth", W::swByte, &S::CompileBoth},
      {0, "CompMenu", W::swByte, &S::CompMenu},
  };
  return infos;
}

const TSettingInfo* FindSettingByNumber(int number) {
  static const TSettingInfo field19 = {19, "EncryptRcData", W::swByte, &S::EncryptRcData};
  if (number == 19) return &field19;
  if (number < 1) return nullptr;
  for (auto& info : ResSettingInfos())
    if (info.Number == number) return &info;
  return nullptr;
}

const TSettingInfo* FindSettingByKey(std::string_view key) {
  for (auto& info : ResSettingInfos())
    if (SameText(info.Key, key)) return &info;
  return nullptr;
}

std::string SettingText(const TResSettings& s, const TSettingInfo& info) {
  if (auto m = std::get_if<std::string S::*>(&info.Member)) return s.**m;
  if (auto m = std::get_if<bool S::*>(&info.Member)) return s.**m ? "1" : "0";
  return IntToStr(s.*std::get<int32_t S::*>(info.Member));
}

static bool ParseBool(std::string_view text) {
  std::string t = LowerCase(Trim(text));
  if (t == "1" || t == "true" || t == "yes" || t == "on") return true;
  if (t == "0" || t == "false" || t == "no" || t == "off") return false;
  throw EConvertError("'" + std::string(text) + "' is not a valid boolean value");
}

void SetSettingText(TResSettings& s, const TSettingInfo& info, std::string_view text) {
  if (auto m = std::get_if<std::string S::*>(&info.Member))
    s.**m = std::string(text);
  else if (auto m = std::get_if<bool S::*>(&info.Member))
    s.**m = ParseBool(text);
  else
    s.*std::get<int32_t S::*>(info.Member) = StrToInt(text);
}

}  // namespace vesper
