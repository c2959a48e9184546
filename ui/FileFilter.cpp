#include "ui/FileFilter.h"

#include <QStringList>

#include "platform/StrUtils.h"
#include "ui/QtText.h"

namespace vesper {

namespace {

std::vector<std::string> SplitMasks(std::string_view text) {
  std::vector<std::string> masks;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    std::string mask = Trim(text.substr(start, end - start));
    if (!mask.empty()) masks.push_back(std::move(mask));
    start = end + 1;
  }
  return masks;
}

std::string JoinMasks(const std::vector<std::string>& masks, char separator) {
  std::string out;
  for (const std::string& m : masks) {
    if (!out.empty()) out += separator;
    out += m;
  }
  return out;
}

// The class library's "*.*" matches every file; for Qt that is "*".
QString QtMask(const std::string& mask) {
  return mask == "*.*" ? QStringLiteral("*") : FileNameToQString(mask);
}

}  // namespace

std::vector<TFileFilter> ParseFileFilter(std::string_view filter) {
  std::vector<TFileFilter> out;
  size_t pos = 0;
  while (pos < filter.size()) {
    size_t bar = filter.find('|', pos);
    if (bar == std::string_view::npos) break;  // a description without masks
    size_t end = filter.find('|', bar + 1);
    if (end == std::string_view::npos) end = filter.size();
    TFileFilter f;
    f.description = Trim(filter.substr(pos, bar - pos));
    f.masks = SplitMasks(filter.substr(bar + 1, end - bar - 1));
    if (f.masks.empty()) f.masks.push_back("*");
    if (f.description.empty()) f.description = JoinMasks(f.masks, ';');
    out.push_back(std::move(f));
    pos = end + 1;
  }
  return out;
}

QStringList ToQtNameFilters(const std::vector<TFileFilter>& filters) {
  QStringList out;
  for (const TFileFilter& f : filters) {
    QStringList masks;
    for (const std::string& m : f.masks) masks << QtMask(m);
    out << ToQString(f.description) + QStringLiteral(" (") + masks.join(QLatin1Char(' ')) +
               QLatin1Char(')');
  }
  if (out.isEmpty()) out << QStringLiteral("All files (*)");
  return out;
}

int ClampFilterIndex(int index, size_t count) {
  return index >= 1 && static_cast<size_t>(index) <= count ? index : 1;
}

}  // namespace vesper
