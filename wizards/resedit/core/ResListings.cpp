#include "wizards/resedit/core/ResListings.h"

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"
#include "wizards/resedit/core/Resources.h"

namespace vesper {

namespace {

std::string VersionOf(uint32_t packed) { return VersionText(UnpackVersion(packed)); }

// "FileVer : ... Author : " + author, blanks up to 12 characters of author.
std::string HistoryHeading(const THistoryEntry& e) {
  return "FileVer : " + VersionOf(e.FileVersion) + " ProdVer : " + VersionOf(e.ProductVersion) +
         " Dated : " + DateTimeToStr(e.Date) + " Author : " + e.Author + PadTo(e.Author, 12);
}

bool SameHeading(const THistoryEntry& a, const THistoryEntry& b) {
  return a.FileVersion == b.FileVersion && a.ProductVersion == b.ProductVersion &&
         DateTimeToStr(a.Date) == DateTimeToStr(b.Date);
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

TTextLines StringListingLines(const TResources& res) {
  if (res.Strings.Empty()) return {};
  TTextLines out = {"Strings in : " + ExtractFileName(res.FileName()), "",
                    Format("%-32.32s %5.5s %s", {"String Name", "ID", "String"}), ""};
  for (auto& e : res.Strings.Items()) out.push_back(Format("%-32.32s %5.5d %s", {e->Name, e->Id, e->Text}));
  return out;
}

TTextLines HistoryListingLines(const TResources& res) {
  if (res.History.Empty()) return {};
  TTextLines out = {"History for : " + ExtractFileName(res.FileName()), ""};
  const THistoryEntry* previous = nullptr;
  for (auto& e : res.History.Items()) {
    if (!previous || !SameHeading(*previous, *e)) out.push_back(HistoryHeading(*e));
    previous = e.get();
    std::vector<std::string> lines = SplitCrLf(e->Comments);
    for (size_t i = 0; i < lines.size(); ++i) out.push_back((i == 0 ? " = " : "   ") + lines[i]);
  }
  out.push_back("");
  return out;
}

std::string HistoryHtmlName(const TResources& res) { return ChangeFileExt(res.FileName(), ".htm"); }

TTextLines HistoryHtmlLines(const TResources& res) {
  if (res.History.Empty()) return {};
  const std::string& title = res.Version.ProductName;
  TTextLines out = {"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">",
                    "<html>",
                    "<head>",
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">",
                    Format("<title>%s</title>", {title}),
                    "</head>",
                    "<body bgcolor=\"#FFFFFF\">",
                    Format("<p align=\"center\"><font size=\"5\"><b>%s</b></font></p>", {title}),
                    "<table border=\"1\">",
                    "<tr>",
                    "<td width=\"15%\"><b>Version/Build</b></td>",
                    "<td width=\"20%\"><b>Date</b></td>",
                    "<td><b>History</b></td>",
                    "</tr>"};
  for (auto& e : res.History.Items()) {
    out.push_back("<tr>");
    out.push_back("<td width=\"15%\">" + VersionOf(e->FileVersion) + " - " + VersionOf(e->ProductVersion) + "</td>");
    out.push_back("<td width=\"20%\">" + FormatDateTime("dd mmm yyyy", e->Date) + "</td>");
    out.push_back("<td>" + e->Comments + "</td>");
    out.push_back("</tr>");
  }
  out.insert(out.end(), {"</table>", "</body>", "</html>"});
  return out;
}

std::string CodeSnippet(TSnippetKind kind, std::string_view name, bool loadByName) {
  const char* function = kind == TSnippetKind::Bitmap ? "LoadBitmap"
                         : kind == TSnippetKind::Icon ? "LoadIcon"
                         : kind == TSnippetKind::Cursor ? "LoadCursor"
                                                        : nullptr;
  if (kind == TSnippetKind::FmtLoadStr) return Format("FmtLoadStr(%s,[ ])", {name});
  if (!function) return Format("LoadStr(%s)", {name});
  if (loadByName) return Format("%s(HInstance,'%s')", {function, name});
  return Format("%s(HInstance,MakeIntResource(%s))", {function, name});
}

std::string StringClipText(std::string_view name, int id, std::string_view text) {
  return Format("%s|%d|%s", {name, id, text});
}

bool ParseStringClipText(std::string_view clip, std::string& name, int& id, std::string& text) {
  size_t first = clip.find('|');
  size_t second = first == std::string_view::npos ? first : clip.find('|', first + 1);
  if (second == std::string_view::npos) return false;
  name = std::string(clip.substr(0, first));
  text = std::string(clip.substr(second + 1));
  return TryStrToInt(clip.substr(first + 1, second - first - 1), id);
}

}  // namespace vesper
