#include "platform/MappedFile.h"

#include <fcntl.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/Exception.h"

namespace vesper {

namespace {

// volatile: the stores around the copy must happen, the signal handler reads them.
thread_local sigjmp_buf* volatile tGuard = nullptr;
struct sigaction gPreviousBus;

void OnBusError(int signal, siginfo_t*, void*) {
  if (tGuard) siglongjmp(*tGuard, 1);
  sigaction(SIGBUS, &gPreviousBus, nullptr);  // not a guarded read: the default fate
  raise(signal);
}

void InstallGuard() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &gPreviousBus);
  });
}

// memcpy that returns false instead of dying when a mapped page is gone.
bool GuardedCopy(char* to, const char* from, size_t count) {
  sigjmp_buf buffer;
  sigjmp_buf* const previous = tGuard;
  if (sigsetjmp(buffer, 1) != 0) {
    tGuard = previous;
    return false;
  }
  tGuard = &buffer;
  std::memcpy(to, from, count);
  tGuard = previous;
  return true;
}

}  // namespace

TMappedFile::~TMappedFile() { Close(); }

void TMappedFile::Open(const std::string& path) {
  Close();
  InstallGuard();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw EFOpenError("Cannot open file " + path + ". " + std::strerror(errno));
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
    Close();
    throw EFOpenError("Cannot open file " + path + ". Not a file");
  }
  path_ = path;
  size_ = st.st_size;
  Map();
}

void TMappedFile::Map() {
  faulted_ = false;
  if (size_ <= 0) {
    size_ = 0;
    return;
  }
  void* p = ::mmap(nullptr, static_cast<size_t>(size_), PROT_READ, MAP_SHARED, fd_, 0);
  if (p == MAP_FAILED) {
    const int error = errno;
    const std::string path = path_;
    Close();
    throw EFOpenError("Cannot map file " + path + ". " + std::strerror(error));
  }
  ::madvise(p, static_cast<size_t>(size_), MADV_SEQUENTIAL);
  data_ = static_cast<const char*>(p);
}

void TMappedFile::Unmap() {
  if (data_) ::munmap(const_cast<char*>(data_), static_cast<size_t>(size_));
  data_ = nullptr;
}

void TMappedFile::Close() {
  Unmap();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  faulted_ = false;
  path_.clear();
}

size_t TMappedFile::Read(int64_t offset, size_t count, char* out) {
  if (!data_ || offset < 0 || offset >= size_ || count == 0) return 0;
  count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), size_ - offset));
  if (GuardedCopy(out, data_ + offset, count)) return count;
  faulted_ = true;
  return 0;
}

bool TMappedFile::Refresh() {
  if (fd_ < 0) return false;
  struct stat st {};
  const int64_t now = ::fstat(fd_, &st) == 0 ? st.st_size : 0;
  const bool changed = now != size_;
  if (!changed && !faulted_) return false;
  Unmap();
  size_ = now;
  Map();
  return changed;
}

}  // namespace vesper
