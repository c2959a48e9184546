// Conversions between the 8-bit texts of the system and QString. Texts are in
// the ANSI code page and go through platform/CodePage.h; file names are OS
// bytes (UTF-8) and are never recoded through the ANSI code page.
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace vesper {

// An ANSI text for display in Qt.
QString ToQString(std::string_view ansi);
// A Qt text back to ANSI; characters the code page lacks become '?'.
std::string FromQString(const QString& text);

// A file name (UTF-8 bytes) for display in Qt, and back.
QString FileNameToQString(std::string_view fileName);
std::string FileNameFromQString(const QString& fileName);
std::vector<std::string> FileNamesFromQStrings(const QStringList& fileNames);

}  // namespace vesper
