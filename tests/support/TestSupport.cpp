#include "tests/support/TestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace vesper::test {

namespace {
struct TempRoot {
  std::string path;
  TempRoot() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vesper-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path = tmpl;
  }
  ~TempRoot() {
    std::error_code ec;
    if (!std::getenv("VESPER_KEEP_TEMP")) std::filesystem::remove_all(path, ec);
  }
};
}  // namespace

const std::string& TempDir() {
  static TempRoot root;
  return root.path;
}

std::string MakeTempSubdir(const std::string& name) {
  std::string p = TempDir() + "/" + name;
  std::filesystem::create_directories(p);
  return p;
}

std::string BuildDir() {
  const char* v = std::getenv("VESPER_BUILD_DIR");
  return v ? v : VESPER_BUILD_TREE;
}

std::string SourceDir() {
  const char* v = std::getenv("VESPER_SOURCE_DIR");
  return v ? v : VESPER_SOURCE_TREE;
}

std::string BinPath(const std::string& program) { return BuildDir() + "/bin/" + program; }

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), std::streamsize(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

RunResult Run(const std::vector<std::string>& argv, const std::string& input) {
  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe2(inPipe, O_CLOEXEC) || pipe2(outPipe, O_CLOEXEC) || pipe2(errPipe, O_CLOEXEC))
    throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&fa, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&fa, errPipe[1], 2);
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  int rc = posix_spawn(&pid, args[0], &fa, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  RunResult r;
  if (rc != 0) {
    close(inPipe[1]);
    close(outPipe[0]);
    close(errPipe[0]);
    r.err = "spawn failed: " + argv[0];
    return r;
  }
  size_t written = 0;
  if (input.empty()) {
    close(inPipe[1]);
    inPipe[1] = -1;
  }
  pollfd fds[3] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}, {inPipe[1], POLLOUT, 0}};
  int open = 2;
  while (open > 0) {
    int nfds = inPipe[1] >= 0 ? 3 : 2;
    if (poll(fds, nfds, -1) < 0) break;
    char buf[65536];
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n > 0) (i == 0 ? r.out : r.err).append(buf, size_t(n));
      else { close(fds[i].fd); fds[i].fd = -1; --open; }
    }
    if (inPipe[1] >= 0 && (fds[2].revents & (POLLOUT | POLLERR))) {
      ssize_t n = write(inPipe[1], input.data() + written, input.size() - written);
      if (n > 0) written += size_t(n);
      if (n <= 0 || written == input.size()) { close(inPipe[1]); inPipe[1] = -1; }
    }
  }
  if (inPipe[1] >= 0) close(inPipe[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

}  // namespace vesper::test
