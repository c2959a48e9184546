#include <gtest/gtest.h>

#include <QPrintPreviewDialog>
#include <QPrinter>

#include <cstdlib>

#include "platform/Files.h"
#include "ui/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"
#include "ui/ReportEngine.h"
#include "ui/tests/UiTest.h"

using namespace vesper;

namespace {

class ReportEngineTest : public test::UiTest {};

std::string PdfText(const std::string& pdf) {
  test::RunResult r = test::Run({"/usr/bin/pdftotext", "-layout", pdf, "-"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

// A report of `rows` lines "row N" fed through the data callbacks.
TReport LineReport(int rows, int* cursor) {
  TReport report;
  report.title = "lines.txt";
  report.AddField("FileName", "Text Edit - /tmp/lines.txt").AddPageNumber().AddPrintedAt();
  report.AddColumn("Line Num.", 9, true).AddColumn("Text");
  report.onDataStart = [=](TReportData& d) {
    *cursor = 1;
    d.eof = rows < 1;
    d.values = {"1", "row 1"};
  };
  report.onDataSkip = [=](TReportData& d) {
    ++*cursor;
    d.eof = *cursor > rows;
    d.values = {std::to_string(*cursor), "row " + std::to_string(*cursor)};
  };
  return report;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

}  // namespace

TEST_F(ReportEngineTest, PdfHoldsHeaderFieldsHeadingsAndRowsInOrder) {
  int cursor = 0;
  TReport report = LineReport(150, &cursor);
  const std::string pdf = test::MakeTempSubdir("report") + "/out.pdf";
  const int pages = report.PrintToPdf(pdf);
  EXPECT_GE(pages, 2);
  const std::string text = PdfText(pdf);
  EXPECT_EQ(Count(text, "FileName: Text Edit - /tmp/lines.txt"), static_cast<size_t>(pages));
  EXPECT_EQ(Count(text, "Printed at: "), static_cast<size_t>(pages));
  EXPECT_EQ(Count(text, "Line Num."), static_cast<size_t>(pages));
  EXPECT_NE(text.find("Page #: 1"), std::string::npos);
  EXPECT_NE(text.find("Page #: " + std::to_string(pages)), std::string::npos);
  size_t at = 0;
  for (int i = 1; i <= 150; ++i) {
    size_t next = text.find("row " + std::to_string(i) + "\n", at);
    ASSERT_NE(next, std::string::npos) << "row " << i;
    at = next;
  }
  EXPECT_EQ(Count(text, "row "), 150u);
}

TEST_F(ReportEngineTest, CopiesRepeatTheReportInOneJob) {
  int cursor = 0;
  TReport report = LineReport(3, &cursor);
  const std::string pdf = test::MakeTempSubdir("copies") + "/out.pdf";
  EXPECT_EQ(report.PrintToPdf(pdf, 3), 1);
  const std::string text = PdfText(pdf);
  EXPECT_EQ(Count(text, "row 3"), 3u);
  EXPECT_EQ(Count(text, "Page #: 1"), 3u);
}

TEST_F(ReportEngineTest, EmptyDataPrintsTheHeaderPage) {
  int cursor = 0;
  TReport report = LineReport(0, &cursor);
  const std::string pdf = test::MakeTempSubdir("empty") + "/out.pdf";
  EXPECT_EQ(report.PrintToPdf(pdf), 1);
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Text"), std::string::npos);
  EXPECT_EQ(Count(text, "row"), 0u);
}

TEST_F(ReportEngineTest, PdfPrinterFromTheEnvironment) {
  const std::string pdf = test::MakeTempSubdir("env") + "/env.pdf";
  setenv("VESPER_PRINTER", ("pdf:" + pdf).c_str(), 1);
  EXPECT_TRUE(PrinterExists());
  int cursor = 0;
  TReport report = LineReport(2, &cursor);
  report.Print();
  unsetenv("VESPER_PRINTER");
  EXPECT_NE(PdfText(pdf).find("row 2"), std::string::npos);
}

TEST_F(ReportEngineTest, UnwritablePdfRaises) {
  int cursor = 0;
  TReport report = LineReport(1, &cursor);
  EXPECT_ANY_THROW(report.PrintToPdf("/nonexistent-folder/x.pdf"));
}

TEST_F(ReportEngineTest, PreviewRendersPages) {
  int cursor = 0;
  TReport report = LineReport(5, &cursor);
  auto preview = report.CreatePreview();
  int renders = 0;
  QObject::connect(preview.get(), &QPrintPreviewDialog::paintRequested, [&] { ++renders; });
  preview->open();
  QApplication::processEvents();
  EXPECT_GE(renders, 1);
  EXPECT_EQ(cursor, 6);  // the data were walked to the end
  preview->close();
}

TEST_F(ReportEngineTest, PrintDialogCopiesAndCancel) {
  const std::string pdf = test::MakeTempSubdir("dialog") + "/dialog.pdf";
  setenv("VESPER_PRINTER", ("pdf:" + pdf).c_str(), 1);
  int cursor = 0;
  TReport report = LineReport(2, &cursor);
  TScriptedDialogs dialogs;
  dialogs.ExpectPrint(std::nullopt);
  EXPECT_FALSE(report.PrintWithDialog());
  EXPECT_FALSE(FileExists(pdf));
  dialogs.ExpectPrint(std::string(), 2);
  EXPECT_TRUE(report.PrintWithDialog());
  unsetenv("VESPER_PRINTER");
  EXPECT_EQ(Count(PdfText(pdf), "row 2"), 2u);
  EXPECT_EQ(dialogs.PendingCount(), 0u);
}
