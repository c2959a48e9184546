// Plain-text listings of a project's strings and history, the HTML history
// page, and the one-line code snippets of the item editors.
#pragma once

#include <string>
#include <string_view>

#include "wizards/resedit/core/ResText.h"

namespace vesper {

class TResources;

// Empty when the project has no strings / no history.
TTextLines StringListingLines(const TResources& res);
TTextLines HistoryListingLines(const TResources& res);
TTextLines HistoryHtmlLines(const TResources& res);
// The HTML history's proposed file: the project file with ".htm".
std::string HistoryHtmlName(const TResources& res);

enum class TSnippetKind { LoadStr, FmtLoadStr, Bitmap, Icon, Cursor, RcData };
// The clip button's line for `name` ("LoadStr(%s)", "LoadBitmap(...)", ...).
std::string CodeSnippet(TSnippetKind kind, std::string_view name, bool loadByName = false);
// The string editor's "&Copy" text "name|id|text" and its "&Paste" split;
// Paste fails when the text has fewer than two "|".
std::string StringClipText(std::string_view name, int id, std::string_view text);
bool ParseStringClipText(std::string_view clip, std::string& name, int& id, std::string& text);

}  // namespace vesper
