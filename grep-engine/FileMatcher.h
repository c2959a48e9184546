// The file matcher: an extended regular expression compiled to a position
// automaton with context constraints, whose states and transition tables are
// built lazily while scanning. Back-references match anything in the
// automaton; lines matched through one are confirmed with the C library's
// GNU regex search.
#pragma once

#include <regex.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "grep-engine/LiteralFinder.h"

namespace vesper::rx {

// A syntax error of the expression, or memory that cannot be had.
class MatchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FileMatcher {
 public:
  static constexpr int kMaxTables = 1024;
  // States beyond this many are dropped between lines and rebuilt on demand.
  static constexpr size_t kMaxStates = 20000;

  FileMatcher();
  ~FileMatcher();
  FileMatcher(const FileMatcher&) = delete;
  FileMatcher& operator=(const FileMatcher&) = delete;

  // Parses and analyses `pattern` (raising MatchError with the parse's
  // message), then compiles it for back-reference confirmation; returns
  // that compile's error message, or an empty string.
  std::string Compile(std::string_view pattern, bool fold);

  // Scans [begin, end), whole lines ending in a line feed. Returns the
  // position at which a match was recognised, or null; `backref` tells
  // whether the match needs confirming. Adds one to `lines` for each line
  // feed passed before the match (all of them when there is none).
  const uint8_t* Execute(const uint8_t* begin, const uint8_t* end, int64_t& lines, bool& backref);

  // True when the back-reference search matches the line [line, line+len).
  bool Confirm(const uint8_t* line, size_t len);

  // For tests and benchmarks.
  int TableCount() const { return tableCount_; }
  int StateCount() const { return static_cast<int>(states_.size()); }
  // Literals one of which every match contains; empty when none is known.
  const std::vector<std::string>& RequiredLiterals() const { return musts_; }

 private:
  struct Pair {
    int pos;
    uint8_t constraint;
  };
  using PairSet = std::vector<Pair>;
  struct State {
    PairSet elems;
    uint32_t hash = 0;
    bool newline = false;
    bool word = false;
    bool backref = false;
    uint8_t success = 0;  // 4: next is newline, 2: word byte, 1: other
  };
  struct Analysis;
  class Parser;

  static void Insert(PairSet& set, Pair p);
  static void Merge(PairSet& dst, const PairSet& src, uint8_t mask = 0xFF);
  void Analyse();
  void Close(PairSet& set) const;
  bool IsAnchor(int token) const;
  bool MatchesByte(int token, int byte) const;
  int StateIndex(const PairSet& set, bool newline, bool word);
  void BuildTable(int s);
  void ReleaseTables();
  void ForgetStates();
  const uint8_t* RunDfa(const uint8_t* begin, const uint8_t* end, int64_t& lines, bool& backref);
  void ComputeRequiredLiteral(bool fold);
  void CompileBackref(std::string_view pattern, bool fold, std::string& error);
  void FreeRegex();

  std::vector<int> tokens_;
  std::vector<std::vector<uint64_t>> classes_;  // 4 words each
  std::vector<PairSet> follows_;
  std::vector<State> states_;
  std::unordered_multimap<uint64_t, int> stateIndex_;
  // Transition tables: up to kMaxTables slots of 256 entries in one array.
  // An entry is the table offset (slot * 256) of a non-accepting target
  // state that has a table, -1 for the line feed, or -(target + 2) for a
  // target without a table or an accepting one, which leaves the fast loop.
  std::vector<int32_t> flat_;
  std::vector<int32_t> slot_;    // per state: its table slot, -1 when none
  std::vector<int32_t> owner_;   // per slot: its state
  int tableCount_ = 0;
  uint32_t generation_ = 0;      // changes when all tables are released

  std::vector<std::string> musts_;
  std::unique_ptr<LiteralFinder> finder_;
  bool hasBackref_ = false;

  re_pattern_buffer regex_{};
  bool regexReady_ = false;
  char translate_[256];
};

}  // namespace vesper::rx
