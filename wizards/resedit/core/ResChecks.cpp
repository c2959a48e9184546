#include "wizards/resedit/core/ResChecks.h"

#include "platform/Format.h"

namespace vesper {

std::string IdExistsMessage(int64_t id) { return Format("Resource Id of %d already exists", {id}); }

std::string NameExistsMessage(std::string_view n) {
  return Format("Resource Name of \"%s\" already exists", {n});
}

TResCheck CheckEntryFields(const TEntryFields& f) {
  if (Trim(f.Name).empty() || (f.NeedsFile && Trim(f.FileName).empty()) ||
      (f.NeedsText && Trim(f.Text).empty()) || f.Id < 1)
    return TResCheck::Refuse(kNoBlankFields);
  if (f.Id > 65535) return TResCheck::Refuse(kIdRange, true);
  return {};
}

TResCheck CheckHistoryAdd(std::string_view comments) {
  if (Trim(comments).empty()) return TResCheck::Refuse("No point in adding nothing");
  return {};
}

TResCheck CheckHistoryUpdate(std::string_view comments) {
  if (Trim(comments).empty()) return TResCheck::Refuse("No point in updating with nothing");
  return {};
}

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string DecodeEscapes(std::string_view t) {
  std::string out;
  out.reserve(t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '\\' || i + 1 >= t.size()) {
      out += t[i];
      continue;
    }
    char c = t[i + 1];
    char decoded = 0;
    switch (c) {
      case 'n': decoded = 10; break;
      case 'r': decoded = 13; break;
      case 't': decoded = 9; break;
      case '\\': decoded = '\\'; break;
      case 'a': decoded = 8; break;
      case '"': decoded = '"'; break;
      default:
        if (i + 3 < t.size() && IsDigit(c) && IsDigit(t[i + 2]) && IsDigit(t[i + 3])) {
          out += char(((c - '0') * 64 + (t[i + 2] - '0') * 8 + (t[i + 3] - '0')) & 0xFF);
          i += 3;
        } else {
          out += '\\';  // kept as it is
        }
        continue;
    }
    out += decoded;
    ++i;
  }
  return out;
}

}  // namespace vesper
