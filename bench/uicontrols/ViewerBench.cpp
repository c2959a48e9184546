// The file viewer on a large file, one measurement per process so that the
// peak memory is the viewer's own:
//   bench_uicontrols generate FILE MB     text lines, a unique last line
//   bench_uicontrols paint FILE [hex]     open and paint the first screen
//   bench_uicontrols search FILE TEXT     search from the top (whole file)
//   bench_uicontrols count FILE           count every line
// Prints "<what> ms=<elapsed> peak_kb=<max resident>".
#include <QApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/FileViewer.h"

using namespace vesper;

namespace {

long PeakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int Generate(const char* path, long megabytes) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return 1;
  const long long total = megabytes * 1024LL * 1024LL;
  long long written = 0;
  char line[128];
  for (long long n = 1; written < total; ++n) {
    const int len = std::snprintf(line, sizeof line,
                                  "%010lld procedure TForm1.Button%lldClick(Sender: TObject);\n",
                                  n, n % 97);
    std::fwrite(line, 1, len, f);
    written += len;
  }
  std::fputs("NEEDLE-AT-THE-END\n", f);
  return std::fclose(f) == 0 ? 0 : 1;
}

void Report(const char* what, const QElapsedTimer& t) {
  std::printf("%s ms=%lld peak_kb=%ld\n", what, static_cast<long long>(t.elapsed()), PeakKb());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::string(argv[1]) == "generate") return Generate(argv[2], std::atol(argv[3]));
  if (argc < 3) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string what = argv[1];
  TRulerFileViewer viewer;
  viewer.resize(800, 600);
  QElapsedTimer t;
  t.start();
  viewer.Open(argv[2]);
  if (what == "paint") {
    if (argc > 3) viewer.SetHexMode(true);
    viewer.grab();
    Report(argc > 3 ? "paint-hex" : "paint-text", t);
    return 0;
  }
  if (what == "search" && argc > 3) {
    const bool found = viewer.Search(argv[3], soMatchCase);
    Report(found ? "search" : "search-not-found", t);
    return found ? 0 : 1;
  }
  if (what == "count") {
    viewer.CountAllLines();
    Report("count", t);
    std::printf("lines=%lld\n", static_cast<long long>(viewer.LineCount()));
    return 0;
  }
  return 2;
}
