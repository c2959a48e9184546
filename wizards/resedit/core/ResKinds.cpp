#include "wizards/resedit/core/ResKinds.h"

namespace vesper {

const std::vector<TRcDataKindInfo>& RcDataKinds() {
  static const std::vector<TRcDataKindInfo> kinds = {
      {rkRcData, "RCData", "All Files (*.*)|*.*", nullptr, "CMPRCD"},
      {rkSound, "Sound File", "Sound Files (*.Wav)|*.wav", "WAVE", "CMPWAV"},
      {rkVideo, "Video File", "Video Files (*.Avi)|*.avi", "AVI", "CMPAVI"},
      {rkForm, "DFM File", "Delphi Form Files (*.DFM)|*.dfm", nullptr, "CMPDFM"},
  };
  return kinds;
}

std::string RcDataKindCaption(uint8_t kind) {
  return kind < RcDataKinds().size() ? RcDataKinds()[kind].Caption : "Unknown";
}

THistoryEntry* THistoryResource::At(int index) const {
  return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

int THistoryResource::IndexOf(const THistoryEntry* entry) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].get() == entry) return i;
  return -1;
}

THistoryEntry* THistoryResource::Append(THistoryEntry entry) {
  items_.push_back(std::make_unique<THistoryEntry>(std::move(entry)));
  current_ = items_.back().get();
  return current_;
}

bool THistoryResource::Delete(const THistoryEntry* entry) {
  int i = IndexOf(entry);
  if (i < 0) return false;
  if (current_ == entry) current_ = nullptr;
  items_.erase(items_.begin() + i);
  return true;
}

void THistoryResource::Clear() {
  items_.clear();
  current_ = nullptr;
}

}  // namespace vesper
