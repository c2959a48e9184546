// The data of a compiled version record: VS_VERSIONINFO for 32-bit files
// and the 16-bit layout (8-bit keys and values) for 16-bit files.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vesper {

class TVersionResource;

using TVersionStrings = std::vector<std::pair<std::string, std::string>>;

// The compiled string values: "FileVersion" first (when not blank), then the
// custom list (without its "FileVersion") or the standard values that are not
// blank, in the order of the format.
TVersionStrings VersionRecordStrings(const TVersionResource& v, bool is32);
std::string VersionRecordData32(const TVersionResource& v);
std::string VersionRecordData16(const TVersionResource& v);

}  // namespace vesper
