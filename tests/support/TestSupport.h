// Helpers shared by the test programs: a fresh folder per test process, the
// build and source trees, and running programs with captured output.
#pragma once

#include <string>
#include <vector>

namespace vesper::test {

// A fresh temporary folder for this test process (removed at exit); the
// test main points VESPER_HOME at "<TempDir>/home".
const std::string& TempDir();
// A new empty sub-folder of TempDir().
std::string MakeTempSubdir(const std::string& name);
std::string BuildDir();   // the build tree (VESPER_BUILD_DIR overrides)
std::string SourceDir();  // the source tree (VESPER_SOURCE_DIR overrides)
std::string BinPath(const std::string& program);  // BuildDir()/bin/program

void WriteFile(const std::string& path, const std::string& data);
std::string ReadFile(const std::string& path);

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};
// Runs `argv` (no shell) with `input` on standard input; waits for it.
RunResult Run(const std::vector<std::string>& argv, const std::string& input = "");

}  // namespace vesper::test
