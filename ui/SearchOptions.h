// Options of the controls' search and replace operations.
#pragma once

namespace vesper {

enum TSearchOption : unsigned {
  soBackward = 1,
  soMatchCase = 2,
  soWholeWord = 4,
  soReplaceAll = 8,
  soGlobal = 16  // from the start (or the end, backward) instead of from the caret
};
using TSearchOptions = unsigned;

}  // namespace vesper
