// Drives a fuzz entry point over files and folders named on the command line,
// so that the seed corpus runs as an ordinary test in non-fuzz builds.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static void RunFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

int main(int argc, char** argv) {
  size_t count = 0;
  LLVMFuzzerTestOneInput(nullptr, 0);
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (auto& e : std::filesystem::recursive_directory_iterator(arg))
        if (e.is_regular_file()) { RunFile(e.path()); ++count; }
    } else if (std::filesystem::exists(arg)) {
      RunFile(arg);
      ++count;
    }
  }
  std::printf("ran %zu inputs\n", count);
  return 0;
}
