#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Exception.h"
#include "platform/StrUtils.h"

namespace vesper {

std::string ExtractFileName(std::string_view path) {
  size_t p = path.rfind('/');
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFilePath(std::string_view path) {
  size_t p = path.rfind('/');
  return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string ExtractFileDir(std::string_view path) {
  size_t p = path.rfind('/');
  if (p == std::string_view::npos) return {};
  if (p == 0) return "/";
  return std::string(path.substr(0, p));
}

std::string ExtractFileExt(std::string_view path) {
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::string old = ExtractFileExt(path);
  return std::string(path.substr(0, path.size() - old.size())) + std::string(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string r(path);
  if (r.empty() || r.back() != '/') r += '/';
  return r;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
  std::string r(path);
  while (r.size() > 1 && r.back() == '/') r.pop_back();
  return r;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return IncludeTrailingPathDelimiter(folder) + std::string(name);
}

std::string ExpandFileName(std::string_view path) {
  std::string full(path);
  if (full.empty() || full[0] != '/') {
    char buf[4096];
    std::string cwd = getcwd(buf, sizeof buf) ? buf : "/";
    full = JoinPath(cwd, full);
  }
  std::vector<std::string> parts;
  for (auto& part : SplitString(full, '/')) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string r;
  for (auto& p : parts) r += "/" + p;
  if (r.empty()) r = "/";
  if (path.size() > 1 && path.back() == '/' && r != "/") r += '/';
  return r;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t FileSizeOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return -1;
  return st.st_size;
}

namespace {
unsigned AttrOf(const std::string& name, const struct stat& st) {
  unsigned a = 0;
  if (S_ISDIR(st.st_mode)) a |= faDirectory;
  else a |= faArchive;
  if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) a |= faReadOnly;
  if (!name.empty() && name[0] == '.') a |= faHidden;
  if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) a |= faSysFile;
  return a;
}
}  // namespace

int FileGetAttr(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return -1;
  return int(AttrOf(ExtractFileName(ExcludeTrailingPathDelimiter(path)), st));
}

int64_t FileAgeUnix(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return st.st_mtime;
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }
bool RenameFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}
bool CreateDir(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }
bool RemoveDir(const std::string& path) { return ::rmdir(path.c_str()) == 0; }

bool ForceDirectories(const std::string& path) {
  std::string p = ExcludeTrailingPathDelimiter(path);
  if (p.empty()) return false;
  if (DirectoryExists(p)) return true;
  std::string parent = ExtractFileDir(p);
  if (!parent.empty() && parent != p && !ForceDirectories(parent)) return false;
  return CreateDir(p) || DirectoryExists(p);
}

namespace {
bool MatchOne(std::string_view name, std::string_view mask) {
  // Iterative wildcard match with backtracking to the last '*'.
  size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || UpCase(mask[m]) == UpCase(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (starM != std::string_view::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  // "name.*" also matches "name" without an extension, as FindFirst does.
  if (m + 2 == mask.size() && mask[m] == '.' && mask[m + 1] == '*') return true;
  return m == mask.size();
}
}  // namespace

bool MatchesMask(std::string_view name, std::string_view masks) {
  for (auto& mask : SplitString(masks, ';')) {
    std::string t = Trim(mask);
    if (t.empty()) continue;
    if (t == "*.*" || t == "*") return true;
    if (MatchOne(name, t)) return true;
  }
  return false;
}

std::vector<TSearchRec> FindFiles(const std::string& folder, std::string_view masks, unsigned attr) {
  std::vector<TSearchRec> out;
  DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!d) return out;
  while (struct dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    if (::stat(JoinPath(folder, name).c_str(), &st) != 0) continue;
    unsigned a = AttrOf(name, st);
    if ((a & faDirectory) && !(attr & faDirectory)) continue;
    if ((a & faHidden) && !(attr & faHidden)) continue;
    if ((a & faSysFile) && !(attr & faSysFile)) continue;
    if (!MatchesMask(name, masks)) continue;
    out.push_back({name, st.st_size, a, st.st_mtime});
  }
  ::closedir(d);
  std::sort(out.begin(), out.end(), [](const TSearchRec& x, const TSearchRec& y) { return x.Name < y.Name; });
  return out;
}

std::string ReadFileBytes(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError("Cannot open file " + path);
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    throw EFOpenError("Cannot open file " + path);
  }
  std::string data;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      throw EReadError("Stream read error");
    }
    if (n == 0) break;
    data.append(buf, size_t(n));
  }
  ::close(fd);
  return data;
}

void SaveFileAtomic(const std::string& path, std::string_view data) {
  std::string folder = ExtractFilePath(path);
  std::string tmpl = folder + "." + ExtractFileName(path) + ".tmpXXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) throw EFCreateError("Cannot create file " + path);
  std::string tmp(name.data());
  // Keep the mode of the file being replaced, else the usual 0666 & ~umask.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  size_t done = 0;
  bool ok = true;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) { ok = false; break; }
    done += size_t(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (!ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    throw EWriteError("Cannot write file " + path);
  }
  // Make the rename itself durable.
  int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

std::string GetTempDir() {
  const char* t = std::getenv("TMPDIR");
  std::string dir = (t && *t) ? t : "/tmp";
  return IncludeTrailingPathDelimiter(dir);
}

std::string CreateTempFile(std::string_view prefix, const std::string& folder) {
  std::string dir = folder.empty() ? GetTempDir() : IncludeTrailingPathDelimiter(folder);
  std::string tmpl = dir + std::string(prefix) + "XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) throw EFCreateError("Cannot create file " + tmpl);
  ::close(fd);
  return name.data();
}

}  // namespace vesper
