// The class library's filter strings of open and save dialogs:
// "Text files (*.txt)|*.txt|All files|*.*" – pairs of a description and a
// list of masks separated by ';'.
#pragma once

#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace vesper {

struct TFileFilter {
  std::string description;
  std::vector<std::string> masks;  // trimmed, empty ones dropped
};

// Splits a filter string into its pairs. A trailing description without a
// mask part is dropped; a pair with an empty mask part matches every file
// ("*"); a pair with an empty description is described by its masks.
std::vector<TFileFilter> ParseFileFilter(std::string_view filter);

// One Qt name filter ("Text files (*.txt)") per pair, or "All files (*)" for
// an empty filter string.
QStringList ToQtNameFilters(const std::vector<TFileFilter>& filters);

// 1-based filter index clamped into the list (1 when out of range).
int ClampFilterIndex(int index, size_t count);

}  // namespace vesper
