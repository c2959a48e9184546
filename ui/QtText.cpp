#include "ui/QtText.h"

#include "platform/CodePage.h"

namespace vesper {

namespace {

QString FromUtf16(const std::u16string& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string_view ToUtf16View(const QString& s) {
  return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())};
}

}  // namespace

QString ToQString(std::string_view ansi) { return FromUtf16(AnsiToUtf16(ansi)); }

std::string FromQString(const QString& text) { return Utf16ToAnsi(ToUtf16View(text)); }

QString FileNameToQString(std::string_view fileName) { return FromUtf16(Utf8ToUtf16(fileName)); }

std::string FileNameFromQString(const QString& fileName) {
  return Utf16ToUtf8(ToUtf16View(fileName));
}

std::vector<std::string> FileNamesFromQStrings(const QStringList& fileNames) {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(fileNames.size()));
  for (const QString& f : fileNames) out.push_back(FileNameFromQString(f));
  return out;
}

}  // namespace vesper
