// The exported C interface of librxscan32 and its process-wide state.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "grep-engine/FileMatcher.h"
#include "grep-engine/FileSearch.h"
#include "grep-engine/LineMatcher.h"
#include "grep-engine/LineReader.h"
#include "grep-engine/rxscan32.h"

using namespace vesper::rx;

namespace {

struct Engine {
  int fold = 0;
  RxMatchCallback callback = nullptr;
  int wantLine = 0;
  int unixOffsets = 0;
  char lastError[1024] = {};
  int lineCount = 0;
  char lineText[1024] = {};
  // The matcher of the last successful compile, with its pattern and case
  // folding, so that searching again with the same pattern keeps the
  // states already built.
  std::unique_ptr<FileMatcher> matcher;
  std::string pattern;
  int patternFold = 0;

  LineMatcher lineMatcher;
  LineReader reader;
  char* lineBuffer = nullptr;
};

Engine& E() {
  static Engine engine;
  return engine;
}

void SetError(const std::string& message) {
  std::snprintf(E().lastError, sizeof E().lastError, "%s", message.c_str());
}

// Compiles into E().matcher; false with the last error text set on failure,
// leaving the previous matcher in force.
bool Compile(const char* pattern) {
  Engine& e = E();
  if (!pattern) {
    SetError("Invalid argument");
    return false;
  }
  if (e.matcher && e.pattern == pattern && e.patternFold == e.fold) return true;
  try {
    auto m = std::make_unique<FileMatcher>();
    std::string regexError = m->Compile(pattern, e.fold != 0);
    if (!regexError.empty()) {
      SetError(regexError);
      return false;
    }
    e.matcher = std::move(m);
    e.pattern = pattern;
    e.patternFold = e.fold;
    return true;
  } catch (const MatchError& err) {
    SetError(err.what());
  } catch (const std::bad_alloc&) {
    SetError("Memory exhausted");
  }
  return false;
}

int Search(const char* fileName) {
  Engine& e = E();
  if (!e.matcher) {
    SetError("No expression compiled");
    return -1;
  }
  SearchOptions options;
  options.callback = e.callback;
  options.wantLine = e.wantLine != 0;
  options.unixOffsets = e.unixOffsets != 0;
  options.lineText = e.lineText;
  try {
    SearchResult r = SearchFile(*e.matcher, fileName ? fileName : "", options);
    if (r.openError) return r.openError;
    e.lineCount = static_cast<int>(r.linesRead);
    return r.matches;
  } catch (const MatchError& err) {
    SetError(err.what());
  } catch (const std::bad_alloc&) {
    SetError("Memory exhausted");
  }
  return -1;
}

}  // namespace

extern "C" {

int SetCase(int fold) { return E().fold = fold; }
RxMatchCallback SetBoyerMoore(RxMatchCallback callback) { return E().callback = callback; }
int WantLine(int flag) { return E().wantLine = flag; }
int FileIsUnix(int flag) { return E().unixOffsets = flag; }

int ThreadCompileRegEx(const char* pattern) { return Compile(pattern) ? 0 : 1; }

int ThreadFileGrep(const char* pattern, const char* fileName) {
  if (!Compile(pattern)) return -1;
  return Search(fileName);
}

int ThreadQuickGrep(const char* fileName) { return Search(fileName); }

int GetLineCount(void) { return E().lineCount; }
const char* GetLastGrepError(void) { return E().lastError; }

int InitGrepThread(void) { return -1; }
int LatchGrepThread(int) { return -1; }
int HookGrepToDelphiThread(int) { return -1; }
int CaptureGrepThread(int) { return -1; }
int TerminateGrepThread(int) { return -1; }

int InitGrep(const char* pattern) { return E().lineMatcher.Init(pattern); }
int GrepLine(const char* text, int* result) { return E().lineMatcher.Match(text, result); }
int GetError(char* destination) { return E().lineMatcher.GetError(destination); }

int OpenGrepFile(const char* fileName) { return E().reader.Open(fileName) ? 1 : 0; }
char* ReadGrepLine(void) { return E().reader.ReadLine(E().lineBuffer); }
int GetLastPos(void) { return E().reader.LastPos(); }
int EofGrepFile(void) { return E().reader.Eof() ? 1 : 0; }
int CloseGrepFile(void) { return E().reader.Close(); }
char* SetGrepBuffer(char* buffer) { return E().lineBuffer = buffer; }

}  // extern "C"
