// vesper grep: searches files with the grep engine through the search driver.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "tools/vesper/Command.h"
#include "wizards/grep/core/GrepSearch.h"

namespace vesper::cli {
namespace {

constexpr char kUsage[] =
    "Usage: vesper grep [-i] [-r] [--binary] [--files MASKS] PATTERN PATH...\n"
    "\n"
    "Searches the files named, or the files of the folders named (with -r also\n"
    "their sub-folders), for the extended regular expression PATTERN.\n"
    "Prints FILE:LINE:TEXT for each matching line, or FILE:OFFSET for each\n"
    "occurrence with --binary, then the summary line on stderr.\n"
    "\n"
    "  -i             ignore the case of ASCII letters\n"
    "  -r             search sub-folders too\n"
    "  --binary       search for the bytes of PATTERN (no expression)\n"
    "  --files MASKS  file masks separated by ';' (default *.*)\n"
    "\n"
    "Exit status: 0 when something matched, 1 when nothing did, 2 on an error.\n";

// The translated lines of a file (CR LF read as LF, Ctrl-Z ends it), for
// lines longer than the engine's copy.
std::vector<std::string> ReadTextLines(const std::string& fileName) {
  std::string bytes = ReadFileBytes(fileName);
  if (size_t z = bytes.find('\x1a'); z != std::string::npos) bytes.resize(z);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    size_t len = end - start;
    if (len && bytes[end - 1] == '\r' && end < bytes.size()) --len;
    lines.push_back(bytes.substr(start, len));
    start = end + 1;
  }
  return lines;
}

class Printer {
 public:
  explicit Printer(const grep::TGrepSearch& search) : search_(search) {}

  void FileDone(const grep::TFileResult& r, const std::string& searchedName) {
    const auto& hits = search_.Hits();
    std::vector<std::string> full;  // read on demand
    for (int i = r.firstHit; i < r.firstHit + r.hits && i < static_cast<int>(hits.size()); ++i) {
      const grep::THitRecord& h = hits[i].second;
      out_ = r.fileName;
      out_ += ':';
      if (h.binary) {
        out_ += std::to_string(h.offset);
      } else {
        out_ += std::to_string(h.line);
        out_ += ':';
        if (h.text.size() >= 1023) {
          if (full.empty()) full = ReadTextLines(searchedName);
          if (h.line >= 1 && h.line <= static_cast<int>(full.size())) {
            out_ += full[h.line - 1];
          } else {
            out_ += h.text;
          }
        } else {
          out_ += h.text;
        }
      }
      out_ += '\n';
      std::fwrite(out_.data(), 1, out_.size(), stdout);
    }
    matched_ = true;
  }
  bool Matched() const { return matched_; }

 private:
  const grep::TGrepSearch& search_;
  std::string out_;
  bool matched_ = false;
};

int RunGrep(const std::vector<std::string>& args) {
  static const Command* self = FindCommand("grep");
  if (WantsHelp(args)) {
    std::printf("%s", kUsage);
    return kExitOk;
  }
  grep::TGrepCriteria criteria;
  criteria.fileSpec = "*.*";
  criteria.wantLineText = true;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!rest.empty() || a.empty() || a[0] != '-' || a == "-") {
      rest.push_back(a);
    } else if (a == "--") {
      rest.insert(rest.end(), args.begin() + static_cast<ptrdiff_t>(i) + 1, args.end());
      break;
    } else if (a == "-i") {
      criteria.caseSensitive = false;
    } else if (a == "-r") {
      criteria.subFolders = true;
    } else if (a == "--binary") {
      criteria.binary = true;
    } else if (a == "--files" && i + 1 < args.size()) {
      criteria.fileSpec = args[++i];
    } else {
      return UsageError(*self, "unknown option '" + a + "'");
    }
  }
  if (rest.size() < 2) return UsageError(*self, "a pattern and at least one path are needed");
  criteria.expression = rest[0];
  std::vector<std::string> files, folders;
  for (size_t i = 1; i < rest.size(); ++i) {
    if (DirectoryExists(rest[i]))
      folders.push_back(rest[i]);
    else
      files.push_back(rest[i]);
  }

  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  bool matched = false;
  bool failed = false;
  // Files named directly form a pre-loaded list; folders are scanned.
  for (int pass = 0; pass < 2; ++pass) {
    grep::TGrepCriteria c = criteria;
    if (pass == 0) {
      if (files.empty()) continue;
      c.usePreloaded = true;
      c.preloaded = files;
    } else {
      if (folders.empty()) continue;
      for (const std::string& f : folders) c.searchPath += (c.searchPath.empty() ? "" : ";") + f;
    }
    grep::TGrepSearch search;
    Printer printer(search);
    search.OnFileDone = [&](const grep::TFileResult& r, const std::string& searched) { printer.FileDone(r, searched); };
    search.OnFileError = [&](const std::string&, const std::string& message) {
      std::fflush(stdout);
      std::fprintf(stderr, "vesper grep: %s\n", message.c_str());
      failed = true;
    };
    auto outcome = search.Run(c);
    std::fflush(stdout);
    if (outcome != grep::TGrepSearch::TOutcome::Searched) {
      std::fprintf(stderr, "%s\n", search.Message().c_str());
      return kExitError;
    }
    matched |= printer.Matched();
    std::fprintf(stderr, "%s\n", search.SummaryText().c_str());
  }
  if (matched) return kExitOk;
  return failed ? kExitError : kExitNotFound;
}

VESPER_COMMAND("grep", "search files for an expression", kUsage, RunGrep);

}  // namespace
}  // namespace vesper::cli
