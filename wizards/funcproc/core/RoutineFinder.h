// The scan of a Pascal unit for its routine headings: tracks the interface
// and implementation sections and class declarations token by token, and
// hands each heading's display text and line to a sink (the window's lists).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Streams.h"

namespace vesper {

class TDelphiParser;

enum TSectionFilter { sfInterface, sfImplementation, sfBoth };
// In single-list mode every entry goes to rlFunctions.
enum TRoutineList { rlFunctions, rlProcedures };
enum TRoutineKind { rkFunction, rkProcedure };

struct TFuncProcOptions {
  bool HideParams = true;
  bool ByClass = false;
  bool FpPrefix = true;  // kind prefix, single-list mode only
  bool SingleList = false;
  TSectionFilter Section = sfInterface;
};

class IRoutineSink {
 public:
  virtual ~IRoutineSink() = default;
  virtual void ClearLists() = 0;
  virtual void AddRoutine(TRoutineList list, const std::string& text, int line) = 0;
};

class TRoutineFinder {
 public:
  TRoutineFinder(IRoutineSink& sink, const TFuncProcOptions& options);

  // Clears the sink's lists and fills them from the unit in `stream`;
  // returns the number of lines read. A scanner error (EParserError) ends
  // the scan after the entries found before it.
  int Scan(TStream& stream);
  // Length of the longest text given to `list` by the last scan.
  size_t LongestText(TRoutineList list) const { return longest_[list]; }

 private:
  void ReadClassDeclaration(TDelphiParser& parser);
  void ReadHeading(TDelphiParser& parser);
  std::string ParameterText(TDelphiParser& parser);
  bool SectionListed() const;
  void List(TRoutineKind kind, std::string text, int line);

  IRoutineSink& sink_;
  TFuncProcOptions options_;
  bool inInterface_ = true;
  bool inClass_ = false;
  std::string className_;
  std::string lastSymbol_;
  std::array<size_t, 2> longest_{};
};

// The status text after a scan: "%d Lines scanned in %s".
std::string ScanStatusText(int lines, int64_t milliseconds);

}  // namespace vesper
