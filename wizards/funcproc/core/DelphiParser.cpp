#include "wizards/funcproc/core/DelphiParser.h"

namespace vesper {

TDelphiParser::TDelphiParser(TStream& stream) : TLexAnalyser(stream, DeferFirstToken{}) {
  NextToken();
}

void TDelphiParser::SkipBlanks() {
  for (;;) {
    TLexAnalyser::SkipBlanks();
    if (Peek() == '{') {
      Advance();
      if (!SkipPast('}', 0)) return;
    } else if (Peek() == '(' && Peek(1) == '*') {
      Advance();
      Advance();
      if (!SkipPast('*', ')')) return;
    } else if (Peek() == '/' && Peek(1) == '/') {
      SkipToLineEnd();
    } else {
      return;
    }
  }
}

bool TDelphiParser::SkipPast(char first, char second) {
  for (;;) {
    char c = Peek();
    if (c == 0 && AtSourceEnd()) {
      ReadBuffer();
      if (AtSourceEnd()) return false;
      continue;
    }
    Advance();
    if (c == '\n') {
      CountLine();
    } else if (c == first && (second == 0 || Peek() == second)) {
      if (second != 0) Advance();
      return true;
    }
  }
}

void TDelphiParser::SkipToLineEnd() {
  // The usable text always ends after a line feed or at the end of the
  // stream, so the rest of a line is never split by a refill.
  while (!AtSourceEnd() && Peek() != '\n') Advance();
}

}  // namespace vesper
