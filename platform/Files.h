// Files, folders, masks, temporary files and atomic saves. Paths use '/';
// their case is never changed. Masks match names ignoring case.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace vesper {

constexpr char PathDelim = '/';

// File-name helpers.
std::string ExtractFileName(std::string_view path);   // after the last '/'
std::string ExtractFilePath(std::string_view path);   // up to and including the last '/'
std::string ExtractFileDir(std::string_view path);    // without the trailing '/' (keeps "/")
std::string ExtractFileExt(std::string_view path);    // ".ext" or ""
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);
std::string ExpandFileName(std::string_view path);    // absolute, "." and ".." resolved
std::string JoinPath(std::string_view folder, std::string_view name);

// Attributes of FindFirst: read-only, hidden (name starts with '.'),
// system, volume, directory, archive (every regular file).
enum : unsigned {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faAnyFile = 0x3F,
};

bool FileExists(const std::string& path);       // an existing non-folder
bool DirectoryExists(const std::string& path);
int64_t FileSizeOf(const std::string& path);    // -1 when it cannot be read
// Attribute bits, or -1 when the file does not exist.
int FileGetAttr(const std::string& path);
// Modification time in seconds since the epoch, -1 when missing.
int64_t FileAgeUnix(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
bool CreateDir(const std::string& path);
bool ForceDirectories(const std::string& path);
bool RemoveDir(const std::string& path);

// True when `name` matches one of the ';'-separated masks ('*' and '?',
// ignoring case). "*.*" matches every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view masks);

struct TSearchRec {
  std::string Name;  // name inside the folder
  int64_t Size = 0;
  unsigned Attr = 0;
  int64_t Time = 0;  // modification time, seconds since the epoch
};

// The entries of `folder` whose names match `masks` and whose attributes are
// allowed by `attr` in FindFirst's way: folders need faDirectory, hidden
// entries need faHidden; "." and ".." are never listed. Sorted by name.
std::vector<TSearchRec> FindFiles(const std::string& folder, std::string_view masks, unsigned attr);

// The whole file; raises EFOpenError "Cannot open file %s" when unreadable.
std::string ReadFileBytes(const std::string& path);
// Writes a temporary file in the same folder, flushes it and renames it over
// `path`; on failure the previous file is untouched and EFCreateError or
// EWriteError is raised.
void SaveFileAtomic(const std::string& path, std::string_view data);

// The system temporary folder with a trailing '/' ($TMPDIR, else /tmp/).
std::string GetTempDir();
// Creates an empty new file "<prefix>XXXXXX" in `folder` (the temporary
// folder when empty) and returns its path.
std::string CreateTempFile(std::string_view prefix, const std::string& folder = "");

}  // namespace vesper
