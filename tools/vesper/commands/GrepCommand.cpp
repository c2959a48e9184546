// vesper grep: searches files with the grep engine through the search driver.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
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

// The given lines (1-based, ascending) of a file as the engine reads it:
// CR LF ends a line like LF, and Ctrl-Z ends the file. For lines longer
// than the engine's copy; the file is streamed, not held in memory.
std::vector<std::string> ReadLines(const std::string& fileName, const std::vector<int>& wanted) {
  std::vector<std::string> lines;
  FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return lines;
  static char chunk[1 << 20];
  std::string current;
  int line = 1;
  size_t next = 0;  // index into wanted
  bool ended = false;
  auto finish = [&] {
    if (next < wanted.size() && wanted[next] == line) {
      if (!current.empty() && current.back() == '\r') current.pop_back();
      lines.push_back(current);
      ++next;
    }
    current.clear();
    ++line;
  };
  while (!ended && next < wanted.size()) {
    size_t n = std::fread(chunk, 1, sizeof chunk, f);
    if (n == 0) break;
    if (const void* z = std::memchr(chunk, '\x1a', n)) {
      n = static_cast<size_t>(static_cast<const char*>(z) - chunk);
      ended = true;
    }
    const char* p = chunk;
    const char* end = chunk + n;
    while (p < end && next < wanted.size()) {
      const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      const char* stop = lf ? lf : end;
      if (wanted[next] == line) current.append(p, stop);
      if (!lf) break;
      finish();
      p = lf + 1;
    }
  }
  if (!current.empty() || (next < wanted.size() && wanted[next] == line)) finish();
  std::fclose(f);
  return lines;
}

// A long hit line read at its offset: the engine's offset is the line's
// position in the translated text plus one for each earlier line, which is
// the file position itself for CR LF lines and that minus (line - 1) for LF
// lines. Empty when neither position holds the line (mixed line ends).
std::string ReadLineAt(int fd, const grep::THitRecord& hit, bool& found) {
  found = false;
  std::string line;
  const int64_t candidates[] = {static_cast<int64_t>(static_cast<uint32_t>(hit.offset)) - (hit.line - 1),
                                static_cast<uint32_t>(hit.offset)};
  for (int64_t at : candidates) {
    if (at < 0) continue;
    char before = '\n';
    if (at > 0 && ::pread(fd, &before, 1, at - 1) != 1) continue;
    if (before != '\n') continue;
    line.clear();
    char chunk[65536];
    for (int64_t pos = at;;) {
      ssize_t n = ::pread(fd, chunk, sizeof chunk, pos);
      if (n <= 0) break;
      const char* lf = static_cast<const char*>(std::memchr(chunk, '\n', static_cast<size_t>(n)));
      line.append(static_cast<const char*>(chunk), lf ? lf : chunk + n);
      if (lf) break;
      pos += n;
    }
    if (size_t z = line.find('\x1a'); z != std::string::npos) line.resize(z);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, hit.text.size(), hit.text) == 0) {
      found = true;
      return line;
    }
  }
  return {};
}

class Printer {
 public:
  explicit Printer(const grep::TGrepSearch& search) : search_(search) {}

  void FileDone(const grep::TFileResult& r, const std::string& searchedName) {
    const auto& hits = search_.Hits();
    const int first = r.firstHit, last = std::min(r.firstHit + r.hits, static_cast<int>(hits.size()));
    // Lines the engine's copy cut short are read from the file.
    std::vector<int> longLines;
    std::vector<std::string> full;
    int fd = -1;
    for (int i = first; i < last; ++i) {
      const grep::THitRecord& h = hits[i].second;
      if (h.binary || h.text.size() < 1023) continue;
      if (fd < 0) fd = ::open(searchedName.c_str(), O_RDONLY | O_CLOEXEC);
      bool found = false;
      std::string line = fd >= 0 ? ReadLineAt(fd, h, found) : std::string();
      if (!found) {
        longLines.clear();  // read them all by line number instead
        for (int k = first; k < last; ++k)
          if (!hits[k].second.binary && hits[k].second.text.size() >= 1023) longLines.push_back(hits[k].second.line);
        full = ReadLines(searchedName, longLines);
        break;
      }
      full.push_back(std::move(line));
    }
    if (fd >= 0) ::close(fd);
    size_t nextLong = 0;
    for (int i = first; i < last; ++i) {
      const grep::THitRecord& h = hits[i].second;
      out_ = r.fileName;
      out_ += ':';
      if (h.binary) {
        out_ += std::to_string(h.offset);
      } else {
        out_ += std::to_string(h.line);
        out_ += ':';
        out_ += h.text.size() >= 1023 && nextLong < full.size() ? full[nextLong++] : h.text;
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
