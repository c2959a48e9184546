// The file forms of resource data: icon files, bitmap files, string tables
// as text, form records and the form text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesper {

class TResourceItem;

// An icon file holding the one image of an icon (or cursor) resource.
// Raises EExeImage when the data are not an icon image.
std::string IconFileFromResource(std::string_view data, bool cursor);
// The bitmap file form: a 14-byte file header followed by the data.
std::string BitmapFileFromResource(std::string_view data, uint32_t size);
// The id of a string-table block's first string.
uint16_t StringTableFirstId(const TResourceItem& item);
// The non-empty strings of a block with their ids.
std::vector<std::pair<uint16_t, std::string>> StringTableEntries(std::string_view data, uint16_t firstId,
                                                                  bool unicode);
// One "id,text" line with CR LF per non-empty string.
std::string StringTableText(std::string_view data, uint16_t firstId, bool unicode);
// A 16-bit resource-file record of type RCDATA holding a form.
std::string FormResourceRecord(const std::string& name, std::string_view data);
// A form's binary data converted to the textual form format.
std::string FormDataToText(std::string_view data);

}  // namespace vesper
