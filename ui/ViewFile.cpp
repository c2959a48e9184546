#include "ui/ViewFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string_view>

namespace vesper {

namespace {

constexpr int64_t kCheckpointLines = 1024;
constexpr int64_t kCheckpointBytes = 64 * 1024;
constexpr size_t kChunk = 1 << 20;

// Case folding of the ANSI code page: ASCII and the accented letters.
const std::array<unsigned char, 256>& FoldTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) {
      int f = c;
      if (c >= 'A' && c <= 'Z') f = c + 32;
      else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) f = c + 32;
      else if (c == 0x8A || c == 0x8C || c == 0x8E) f = c + 16;
      else if (c == 0x9F) f = 0xFF;
      t[c] = static_cast<unsigned char>(f);
    }
    return t;
  }();
  return table;
}

void Fold(std::string& s) {
  const auto& t = FoldTable();
  for (char& c : s) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
}

bool IsWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' ||
         u >= 0xC0;
}

}  // namespace

std::string FormatHexLine(int64_t offset, const char* bytes, int count) {
  static const char* digits = "0123456789ABCDEF";
  count = std::clamp(count, 0, kHexBytesPerLine);
  char head[24];
  std::snprintf(head, sizeof head, "%08llX  ", static_cast<unsigned long long>(offset));
  std::string line = head;
  for (int i = 0; i < kHexBytesPerLine; ++i) {
    if (i < count) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      line += digits[b >> 4];
      line += digits[b & 15];
    } else {
      line += "  ";
    }
    if (i + 1 < kHexBytesPerLine) line += ' ';
  }
  line += "  ";
  for (int i = 0; i < count; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    line += b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '.';
  }
  return line;
}

int HexColumnToByteIndex(int c) {
  if (c > 75) return 0;
  if (c >= 61) return c - 60;
  if (c >= 56) return 15;
  if (c >= 17) return (c - 17) / 3 + 2;
  if (c >= 15) return 1;
  return 0;
}

int HexByteColumn(int index) { return kHexFirstByteColumn + 3 * std::clamp(index, 0, 15); }

// --- file and index ----------------------------------------------------------

void TViewFile::Open(const std::string& path) {
  file_.Open(path);
  ResetIndex();
}

void TViewFile::Close() {
  file_.Close();
  ResetIndex();
}

void TViewFile::ResetIndex() {
  checkpoints_.assign(1, {0, 0});
  scanned_ = 0;
  newlines_ = 0;
  counted_ = file_.Size() == 0;
  cache_ = {0, 0};
}

bool TViewFile::Refresh() {
  if (!file_.IsOpen() || !file_.Refresh()) return false;
  ResetIndex();
  return true;
}

bool TViewFile::CountStep(size_t budget) {
  if (counted_) return true;
  static thread_local std::string buffer;
  buffer.resize(kChunk);
  size_t done = 0;
  while (!counted_ && done < budget) {
    const size_t n = file_.Read(scanned_, kChunk, buffer.data());
    if (n == 0) {
      if (file_.Faulted()) Refresh();
      else counted_ = true;  // the end
      return counted_;
    }
    const char* p = buffer.data();
    const char* end = p + n;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr) {
      ++p;
      ++newlines_;
      const int64_t start = scanned_ + (p - buffer.data());
      const TCheckpoint& last = checkpoints_.back();
      if (newlines_ - last.line >= kCheckpointLines || start - last.offset >= kCheckpointBytes)
        checkpoints_.push_back({newlines_, start});
    }
    scanned_ += static_cast<int64_t>(n);
    done += n;
    if (scanned_ >= file_.Size()) counted_ = true;
  }
  return counted_;
}

void TViewFile::CountAll() {
  while (!CountStep(64 << 20)) {
  }
}

int64_t TViewFile::LinesKnown() const { return file_.Size() == 0 ? 0 : newlines_ + 1; }

int64_t TViewFile::LineCount() const { return counted_ ? LinesKnown() : -1; }

// Walks `lines` line ends forward from `offset` (which starts line `from`);
// returns the lines walked, leaving `offset` at the start of the last one.
int64_t TViewFile::ScanLines(int64_t from, int64_t lines, int64_t& offset) {
  static thread_local std::string buffer;
  buffer.resize(64 * 1024);
  int64_t walked = 0;
  while (walked < lines) {
    const size_t n = file_.Read(offset, buffer.size(), buffer.data());
    if (n == 0) break;
    const char* p = buffer.data();
    const char* end = p + n;
    while (walked < lines) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
      if (!nl) {
        p = end;
        break;
      }
      p = nl + 1;
      ++walked;
    }
    offset += p - buffer.data();
  }
  if (walked == lines) cache_ = {from + walked, offset};
  return walked;
}

int64_t TViewFile::LineStart(int64_t line) {
  if (line < 0) return -1;
  while (!counted_ && line > newlines_) CountStep();
  if (line >= LinesKnown()) return -1;
  auto it = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), line,
                             [](int64_t l, const TCheckpoint& c) { return l < c.line; });
  TCheckpoint start = *(it - 1);
  if (cache_.line <= line && cache_.line >= start.line) start = cache_;
  int64_t offset = start.offset;
  if (ScanLines(start.line, line - start.line, offset) != line - start.line) return -1;
  return offset;
}

std::string TViewFile::LineBytes(int64_t line, size_t max) {
  const int64_t start = LineStart(line);
  if (start < 0) return "";
  std::string bytes(max + 1, '\0');
  bytes.resize(file_.Read(start, max + 1, bytes.data()));
  const size_t nl = bytes.find('\n');
  if (nl != std::string::npos) {
    bytes.resize(nl);
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
  } else if (bytes.size() > max) {
    bytes.resize(max);
  }
  return bytes;
}

int64_t TViewFile::LineOfOffset(int64_t offset) {
  offset = std::clamp<int64_t>(offset, 0, std::max<int64_t>(0, Size()));
  while (!counted_ && scanned_ <= offset) CountStep();
  auto it = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), offset,
                             [](int64_t o, const TCheckpoint& c) { return o < c.offset; });
  const TCheckpoint cp = *(it - 1);
  int64_t line = cp.line;
  std::string buffer(64 * 1024, '\0');
  for (int64_t at = cp.offset; at < offset;) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(offset - at, 64 * 1024));
    const size_t n = file_.Read(at, want, buffer.data());
    if (n == 0) break;
    line += std::count(buffer.data(), buffer.data() + n, '\n');
    at += static_cast<int64_t>(n);
  }
  return line;
}

int64_t TViewFile::HexLineCount() const {
  return (Size() + kHexBytesPerLine - 1) / kHexBytesPerLine;
}

std::string TViewFile::HexLine(int64_t line) {
  if (line < 0 || line >= HexLineCount()) return "";
  char bytes[kHexBytesPerLine];
  const int64_t offset = line * kHexBytesPerLine;
  const size_t n = file_.Read(offset, kHexBytesPerLine, bytes);
  return FormatHexLine(offset, bytes, static_cast<int>(n));
}

// --- search ------------------------------------------------------------------

int64_t TViewFile::Find(const std::string& pattern, int64_t from, bool backward, bool matchCase,
                        bool wholeWord) {
  const int64_t size = Size();
  const auto m = static_cast<int64_t>(pattern.size());
  if (m == 0 || m > size) return -1;
  std::string needle = pattern;
  if (!matchCase) Fold(needle);
  const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
  std::string chunk;
  // A match counts when its neighbours are not word bytes (whole words only).
  auto accept = [&](int64_t at) {
    if (!wholeWord) return true;
    char c;
    if (at > 0 && file_.Read(at - 1, 1, &c) == 1 && IsWordByte(c)) return false;
    if (at + m < size && file_.Read(at + m, 1, &c) == 1 && IsWordByte(c)) return false;
    return true;
  };
  auto load = [&](int64_t at, int64_t count) {
    chunk.resize(static_cast<size_t>(count));
    chunk.resize(file_.Read(at, chunk.size(), chunk.data()));
    if (!matchCase) Fold(chunk);
    return static_cast<int64_t>(chunk.size()) == count;
  };
  const auto step = static_cast<int64_t>(kChunk) * 4;
  if (!backward) {
    for (int64_t at = std::max<int64_t>(0, from); at + m <= size; at += step) {
      const int64_t count = std::min(size - at, step + m - 1);
      if (!load(at, count)) return -1;
      for (auto it = chunk.begin();;) {
        it = std::search(it, chunk.end(), searcher);
        if (it == chunk.end()) break;
        const int64_t found = at + (it - chunk.begin());
        if (accept(found)) return found;
        ++it;
      }
    }
    return -1;
  }
  // Backward: chunks from the end of the range down; the last match of a chunk wins.
  int64_t end = std::min(size, from - 1 + m);  // a match must start before `from`
  while (end - m >= 0) {
    const int64_t at = std::max<int64_t>(0, end - step - (m - 1));
    if (!load(at, end - at)) return -1;
    int64_t best = -1;
    for (auto it = chunk.begin();;) {
      it = std::search(it, chunk.end(), searcher);
      if (it == chunk.end()) break;
      const int64_t found = at + (it - chunk.begin());
      if (accept(found)) best = found;
      ++it;
    }
    if (best >= 0) return best;
    if (at == 0) break;
    end = at + m - 1;
  }
  return -1;
}

}  // namespace vesper
