#include "wizards/resedit/core/LibraryProject.h"

#include "platform/Files.h"
#include "platform/StrUtils.h"
#include "platform/compress/Compress.h"
#include "wizards/resedit/core/Resources.h"

namespace vesper {

namespace {

void SetLine(TTextLines& lines, size_t number, const std::string& text) {
  if (lines.size() < number) lines.resize(number);
  lines[number - 1] = text;
}

void AppendToLine(TTextLines& lines, size_t number, const std::string& text) {
  if (lines.size() < number) lines.resize(number);
  lines[number - 1] += text;
}

std::string BaseName(const std::string& fileName) { return ChangeFileExt(ExtractFileName(fileName), ""); }

}  // namespace

TTextLines LibraryTemplateLines(int id) {
  std::string_view packed = CompressedTemplate(id);
  TMemoryStream source{std::string(packed)}, text;
  TCompress().ExpandStream(text, source);
  TTextLines lines;
  for (std::string& line : SplitString(text.DataString(), '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the final line break
  return lines;
}

std::string LibraryProjectFileName(const TResources& res, const std::string& chosen) {
  const char* ext = res.CppOutput ? ".MAK" : ".DPR";
  return SameText(ExtractFileExt(chosen), ext) ? chosen : chosen + ext;
}

std::string WriteLibraryProject(const TResources& res, const std::string& chosen) {
  std::string fileName = LibraryProjectFileName(res, chosen);
  std::string base = BaseName(fileName);
  if (!res.CppOutput) {
    TTextLines dpr = LibraryTemplateLines(1);
    SetLine(dpr, 1, "Library " + base + ";");
    SetLine(dpr, 14, "{$R " + ExtractFileName(res.Res32Name()) + "}");
    SaveLines(fileName, dpr);
    return fileName;
  }
  TTextLines mak = LibraryTemplateLines(2);
  AppendToLine(mak, 8, base);
  AppendToLine(mak, 9, base + ".obj");
  AppendToLine(mak, 10, res.Res32Name());
  SaveLines(fileName, mak);
  TTextLines cpp = LibraryTemplateLines(3);
  SetLine(cpp, 17, "USERES(\"" + res.Res32Name() + "\");");
  SaveLines(ChangeFileExt(fileName, ".cpp"), cpp);
  return fileName;
}

}  // namespace vesper
