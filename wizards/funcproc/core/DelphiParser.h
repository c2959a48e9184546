// Token scanner for Pascal sources: blanks and comments ({ }, (* *), //)
// are skipped between tokens. Comments do not nest.
#pragma once

#include "wizards/funcproc/core/LexAnalyser.h"

namespace vesper {

class TDelphiParser : public TLexAnalyser {
 public:
  // Reads the first token.
  explicit TDelphiParser(TStream& stream);

  // Skips blanks and comments, counting line feeds in both. A comment that
  // reaches the end of the text ends it there.
  void SkipBlanks() override;

 private:
  // Skips past the next `first` (followed by `second` unless that is NUL);
  // false when the text ends first.
  bool SkipPast(char first, char second);
  void SkipToLineEnd();
};

}  // namespace vesper
