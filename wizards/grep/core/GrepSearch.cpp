#include "wizards/grep/core/GrepSearch.h"

#include <cstdio>

#include "grep-engine/rxscan32.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/StrUtils.h"
#include "wizards/grep/core/BinScan.h"
#include "wizards/grep/core/FormText.h"

namespace vesper::grep {
namespace {

// The engine calls back through a plain function; one search at a time.
TGrepSearch* gActive = nullptr;

std::vector<std::string> SplitTrimmed(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(';', start);
    std::string part = Trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (!part.empty()) parts.push_back(part);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

bool IsFormFile(const std::string& fileName) { return UpperCase(fileName).find(".DFM") != std::string::npos; }

}  // namespace

void TGrepSearch::Pump() {
  if (ProcessMessage) ProcessMessage();
}

void TGrepSearch::Stop() {
  if (searching_) stop_ = true;
}

void TGrepSearch::EngineHit(int offset, int line, const char* text) {
  TGrepSearch* self = gActive;
  if (!self) return;
  THitRecord hit;
  hit.line = line;
  hit.offset = offset;
  if (text) hit.text = text;
  self->hits_.emplace_back("Line " + std::to_string(line), std::move(hit));  // "Line %d"
  self->Pump();
}

void TGrepSearch::BinaryHit(int64_t offset) {
  THitRecord hit;
  hit.binary = true;
  hit.offset = static_cast<int>(offset);
  hit.patternLength = static_cast<int>(criteria_.expression.size());
  hits_.emplace_back("Offset " + std::to_string(hit.offset), std::move(hit));  // "Offset %d"
  Pump();
}

TGrepSearch::TOutcome TGrepSearch::Run(const TGrepCriteria& criteria) {
  criteria_ = criteria;
  message_.clear();
  if (!criteria.usePreloaded && Trim(criteria.searchPath).empty()) message_ = "Path";
  else if (Trim(criteria.expression).empty()) message_ = "Expression";
  else if (!criteria.usePreloaded && Trim(criteria.fileSpec).empty()) message_ = "FileSpec";
  if (!message_.empty()) {
    message_ += " is empty, can't Grep";
    return TOutcome::EmptyCriteria;
  }
  const bool ignoreCase = !criteria.caseSensitive;
  SetCase(ignoreCase ? 1 : 0);
  if (!criteria.binary) {
    int h = InitGrepThread();
    h = LatchGrepThread(h);
    h = HookGrepToDelphiThread(h);
    h = CaptureGrepThread(h);
    TerminateGrepThread(h);
    if (ThreadCompileRegEx(criteria.expression.c_str()) != 0) {
      message_ = Format("Expression Error : %s", {GetLastGrepError()});
      return TOutcome::ExpressionError;
    }
  }
  std::string highlight = ignoreCase ? UpperCase(criteria.expression) : criteria.expression;
  highlightReady_ = InitGrep(highlight.c_str()) == 0;
  SetBoyerMoore(&TGrepSearch::EngineHit);
  WantLine(criteria.wantLineText ? 1 : 0);
  FileIsUnix(0);

  hits_.clear();
  files_.clear();
  totalLines_ = 0;
  totalHits_ = 0;
  filesSearched_ = 0;
  auto start = std::chrono::steady_clock::now();
  stop_ = false;
  searching_ = true;
  gActive = this;
  struct Reset {
    TGrepSearch& s;
    ~Reset() {
      s.searching_ = false;
      gActive = nullptr;
      if (!s.criteria_.usePreloaded) s.searchFiles_.clear();
    }
  } reset{*this};

  if (criteria.usePreloaded) {
    searchFiles_ = criteria.preloaded;
    filesSearched_ = static_cast<int>(searchFiles_.size());
  } else {
    searchFiles_.clear();
    for (const std::string& part : SplitTrimmed(criteria.searchPath)) {
      filesSearched_ += ScanTree(IncludeTrailingPathDelimiter(part), criteria.subFolders);
      if (stop_) break;
    }
  }
  if (!criteria.immediate || criteria.usePreloaded) {
    remaining_ = static_cast<int>(searchFiles_.size());
    for (const std::string& file : searchFiles_) {
      if (stop_) break;
      SearchFile(file);
      --remaining_;
      if (OnProgress) OnProgress(remaining_);
    }
  }
  elapsedMs_ = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  return TOutcome::Searched;
}

// Scans a folder (and, with sub-folders, its tree) from one listing of it:
// the files matching each mask in turn, then each sub-folder depth-first.
int TGrepSearch::ScanTree(const std::string& folder, bool subFolders) {
  std::vector<TSearchRec> entries = FindFiles(folder, "*.*", subFolders ? unsigned{faDirectory} : 0u);
  int found = ScanFolder(folder, entries);
  if (subFolders && !stop_) found += ScanSubFolders(folder, entries);
  return found;
}

int TGrepSearch::ScanFolder(const std::string& folder, const std::vector<TSearchRec>& entries) {
  int found = 0;
  for (const std::string& mask : SplitTrimmed(criteria_.fileSpec)) {
    for (const TSearchRec& rec : entries) {
      if ((rec.Attr & faDirectory) || !MatchesMask(rec.Name, mask)) continue;
      ++found;
      FoundFile(folder + rec.Name);
      Pump();
      if (stop_) return found;
    }
  }
  return found;
}

int TGrepSearch::ScanSubFolders(const std::string& folder, const std::vector<TSearchRec>& entries) {
  int found = 0;
  int count = 0;
  for (const TSearchRec& rec : entries) {
    if (stop_) break;
    if (++count % 15 == 0) Pump();
    if (!(rec.Attr & faDirectory) || rec.Name.empty() || rec.Name[0] == '.') continue;
    found += ScanTree(folder + rec.Name + "/", true);
  }
  return found;
}

void TGrepSearch::FoundFile(const std::string& fileName) {
  if (criteria_.immediate)
    SearchFile(fileName);
  else
    searchFiles_.push_back(fileName);
}

// Searches one file as text; returns the engine's result.
int TGrepSearch::SearchText(const std::string& fileName, std::string& searchedName, bool& unreadable) {
  searchedName = fileName;
  bool temporary = false;
  if (IsFormFile(fileName)) {
    std::string text = FormToTextTempFile(fileName);
    if (!text.empty()) {
      searchedName = text;
      temporary = true;
    }
  }
  size_t before = hits_.size();
  int result = ThreadFileGrep(criteria_.expression.c_str(), searchedName.c_str());
  // A positive result without a single callback is the C library's error
  // number of a file that did not open, not a hit count.
  unreadable = result > 0 && hits_.size() == before;
  if (temporary) {
    if (result > 0 && !unreadable && OnFileDone) {
      TFileResult r{fileName, result, GetLineCount(), static_cast<int>(before)};
      OnFileDone(r, searchedName);
    }
    DeleteFile(searchedName);
  }
  return result;
}

void TGrepSearch::SearchFile(const std::string& fileName) {
  const int firstHit = static_cast<int>(hits_.size());
  if (OnScanning) OnScanning(fileName);
  int result = 0;
  int lines = 0;
  std::string searchedName = fileName;
  try {
    if (criteria_.binary) {
      TVesBinScan scan(fileName);
      scan.OnHit = [this](int64_t offset) { BinaryHit(offset); };
      bool ignoreCase = !criteria_.caseSensitive;
      scan.SetPattern(ignoreCase ? UpperCase(criteria_.expression) : criteria_.expression, ignoreCase);
      result = scan.Scan();
      Pump();
    } else {
      bool unreadable = false;
      result = SearchText(fileName, searchedName, unreadable);
      Pump();
      if (result < 0 || unreadable) {
        if (OnFileError)
          OnFileError(fileName, unreadable ? std::string("Cannot open file ") + fileName : GetLastGrepError());
        hits_.resize(firstHit);
        return;
      }
      lines = GetLineCount();
      totalLines_ += lines;
    }
  } catch (const std::exception& e) {
    hits_.resize(firstHit);
    if (OnFileError) OnFileError(fileName, e.what());
    return;
  }
  if (result > 0) {
    files_.push_back(TFileResult{fileName, result, lines, firstHit});
    totalHits_ += result;
    if (OnFileDone && searchedName == fileName) OnFileDone(files_.back(), searchedName);
  }
}

std::string TGrepSearch::TimingText(int64_t ms) {
  double seconds = static_cast<double>(ms) / 1000.0;
  if (ms < 60000) return Format("%2.02f seconds", {seconds});
  int64_t minutes = ms / 60000;
  return Format("%d Mins and %2.02f seconds", {minutes, static_cast<double>(ms % 60000) / 1000.0});
}

std::string TGrepSearch::SummaryText() const {
  if (totalLines_ > 0) return Format("Scanned %0.0n lines in %s", {static_cast<double>(totalLines_), TimingText(elapsedMs_)});
  return Format("Scanned %d Files in %s", {filesSearched_, TimingText(elapsedMs_)});
}

std::string TGrepSearch::NoResultText() const {
  if (filesSearched_ == 0) return "No Files Found";
  if (!files_.empty()) return "";
  return criteria_.caseSensitive ? "No matches found  ( Case ? )" : "No matches found ";
}

}  // namespace vesper::grep
