// Shows each control with sample content and saves a screenshot of it:
//   ui_controls_demo editor|hex|preview OUT.png [FILE]
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QTimer>

#include <cstdio>
#include <string>

#include "ui/FileViewer.h"
#include "ui/ReportEngine.h"
#include "ui/TextFileEditor.h"

using namespace vesper;

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

int Save(QWidget& w, const char* out) {
  w.show();
  Settle();
  return w.grab().save(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: ui_controls_demo editor|hex|preview OUT.png [FILE]\n");
    return 2;
  }
  const std::string what = argv[1];
  if (what == "editor") {
    TTextFileEditor editor;
    editor.resize(720, 360);
    editor.SetText(
        "program Hello;\n\n{ A column ruler marks the caret's column. }\nbegin\n"
        "\tWriteLn('Hello, world');\n  if ParamCount > 0 then\n    WriteLn(ParamStr(1));\nend.\n");
    editor.SetTabSize(4);
    editor.show();
    editor.SetCaret(5, 5);
    return Save(editor, argv[2]);
  }
  if (what == "hex" && argc > 3) {
    TRulerFileViewer viewer;
    viewer.resize(760, 360);
    viewer.Open(argv[3]);
    viewer.SetHexMode(true);
    viewer.SetCaret(3, 20);
    return Save(viewer, argv[2]);
  }
  if (what == "preview") {
    TReport report;
    report.title = "demo.pas";
    report.AddField("FileName", "Text Edit - /home/user/demo.pas").AddPageNumber().AddPrintedAt();
    report.AddColumn("Line Num.", 9, true).AddColumn("Text");
    int row = 0;
    auto fill = [&row](TReportData& d) {
      d.eof = row > 80;
      d.values = {std::to_string(row), "  WriteLn('detail line number " + std::to_string(row) + "');"};
    };
    report.onDataStart = [&](TReportData& d) { row = 1; fill(d); };
    report.onDataSkip = [&](TReportData& d) { ++row; fill(d); };
    auto preview = report.CreatePreview();
    preview->resize(800, 900);
    return Save(*preview, argv[2]);
  }
  return 2;
}
