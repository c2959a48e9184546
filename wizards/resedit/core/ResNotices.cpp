#include "wizards/resedit/core/ResNotices.h"

namespace vesper {

TModalResult HeadlessAnswer(const TResNotice& notice) {
  if (notice.Buttons & mbYes) return TModalResult::mrNo;
  return (notice.Buttons & mbOK) ? TModalResult::mrOk : TModalResult::mrCancel;
}

TModalResult TResUserIO::Show(const TResNotice& notice) const {
  return Ask ? Ask(notice) : HeadlessAnswer(notice);
}

void TResUserIO::ShowError(const std::string& text) const {
  Show({TMsgDlgType::mtError, "", text, mbOK, 0});
}

void TResUserIO::Status(const std::string& text) const {
  if (Progress) Progress(text);
}

}  // namespace vesper
