// Pascal units: the routine finder over every option set, and the bare
// token scanner's conversions, on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "wizards/funcproc/core/LexAnalyser.h"
#include "wizards/funcproc/core/RoutineFinder.h"

namespace {

class TNullSink : public vesper::IRoutineSink {
 public:
  void ClearLists() override {}
  void AddRoutine(vesper::TRoutineList, const std::string& text, int line) override {
    if (line < 1) __builtin_trap();
  }
};

void Scan(const std::string& data, const vesper::TFuncProcOptions& options) {
  TNullSink sink;
  vesper::TRoutineFinder finder(sink, options);
  vesper::TMemoryStream stream(data);
  try {
    finder.Scan(stream);
  } catch (const vesper::EParserError&) {
  }
}

void Tokens(const std::string& data) {
  vesper::TMemoryStream stream(data);
  try {
    vesper::TLexAnalyser lex(stream);
    for (int guard = 0; lex.Token() != vesper::toEOF; lex.NextToken()) {
      if (++guard > int(data.size()) + 1) __builtin_trap();  // every token consumes a byte
      (void)lex.SourcePos();
      try {
        if (lex.Token() == vesper::toInteger) lex.TokenInt();
        if (lex.Token() == vesper::toFloat) lex.TokenFloat();
      } catch (const vesper::EConvertError&) {
      }
      if (lex.Token() == '{') {
        vesper::TMemoryStream bytes;
        lex.HexToBinary(bytes);
      }
    }
  } catch (const vesper::EParserError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the options.
  uint8_t o = data[0];
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  vesper::TFuncProcOptions options;
  options.HideParams = o & 1;
  options.ByClass = o & 2;
  options.SingleList = o & 4;
  options.FpPrefix = o & 8;
  options.Section = vesper::TSectionFilter((o >> 4) % 3);
  Scan(text, options);
  Tokens(text);
  return 0;
}
