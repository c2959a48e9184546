// The grep search driver without a user interface: checks the criteria,
// prepares the engine, finds the files (folders split at ';', masks split at
// ';', optionally sub-folders depth-first, or a pre-loaded list), searches
// each as text through rxscan32 or as bytes through TVesBinScan, and keeps
// the hits, the per-file results and the totals. A stop request takes
// effect between files.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Files.h"

namespace vesper::grep {

// One hit. Text hits carry line and offset (the line start, corrected for
// carriage returns); binary hits the 1-based offset and pattern length.
struct THitRecord {
  bool binary = false;
  std::string text;  // the line text when line text was asked for
  int patternLength = 0;
  int line = 0;
  int offset = 0;
};

struct TFileResult {
  std::string fileName;
  int hits = 0;
  int lineCount = 0;   // text mode
  int firstHit = 0;    // index of its first hit in the hit list
};

struct TGrepCriteria {
  std::string searchPath;  // folders separated by ';'
  std::string fileSpec;    // masks separated by ';'
  std::string expression;
  bool caseSensitive = true;
  bool binary = false;
  bool subFolders = false;
  bool immediate = false;  // search each file as soon as it is found
  bool usePreloaded = false;
  std::vector<std::string> preloaded;  // files to search instead of scanning
  bool wantLineText = false;           // keep each text hit's line (up to 1023 bytes)
};

class TGrepSearch {
 public:
  enum class TOutcome { Searched, EmptyCriteria, ExpressionError };

  // Hooks for a window; all optional.
  std::function<void()> ProcessMessage;  // handle one pending message
  std::function<void(const std::string& fileName)> OnScanning;
  // After each file with hits; `searchedName` is the file the engine read
  // (a temporary text file for a form file), valid during the call.
  std::function<void(const TFileResult& result, const std::string& searchedName)> OnFileDone;
  // A file that could not be opened or converted; the search goes on.
  std::function<void(const std::string& fileName, const std::string& message)> OnFileError;
  std::function<void(int remaining)> OnProgress;

  TOutcome Run(const TGrepCriteria& criteria);
  // Sets the stop flag while a search runs.
  void Stop();
  bool Searching() const { return searching_; }

  // The message of an EmptyCriteria or ExpressionError outcome.
  const std::string& Message() const { return message_; }
  const std::deque<std::pair<std::string, THitRecord>>& Hits() const { return hits_; }
  const std::vector<TFileResult>& Files() const { return files_; }
  int64_t TotalHits() const { return totalHits_; }
  int64_t TotalLines() const { return totalLines_; }
  int FilesSearched() const { return filesSearched_; }
  bool HighlightReady() const { return highlightReady_; }
  int64_t ElapsedMs() const { return elapsedMs_; }

  // "%2.02f seconds" under a minute, else "%d Mins and %2.02f seconds".
  static std::string TimingText(int64_t ms);
  // "Scanned %0.0n lines in %s", or "Scanned %d Files in %s" when no lines.
  std::string SummaryText() const;
  // "No Files Found", "No matches found " (+ " ( Case ? )"), or empty.
  std::string NoResultText() const;

 private:
  static void EngineHit(int offset, int line, const char* text);
  void BinaryHit(int64_t offset);
  void Pump();
  int ScanTree(const std::string& folder, bool subFolders);
  int ScanFolder(const std::string& folder, const std::vector<TSearchRec>& entries);
  int ScanSubFolders(const std::string& folder, const std::vector<TSearchRec>& entries);
  void FoundFile(const std::string& fileName);
  void SearchFile(const std::string& fileName);
  int SearchText(const std::string& fileName, std::string& searchedName, bool& unreadable);

  TGrepCriteria criteria_;
  bool searching_ = false;
  bool stop_ = false;
  bool highlightReady_ = false;
  std::string message_;
  std::deque<std::pair<std::string, THitRecord>> hits_;  // no moves as it grows
  std::vector<TFileResult> files_;
  std::vector<std::string> searchFiles_;
  int64_t totalHits_ = 0;
  int64_t totalLines_ = 0;
  int filesSearched_ = 0;
  int64_t elapsedMs_ = 0;
  int remaining_ = 0;
};

}  // namespace vesper::grep
