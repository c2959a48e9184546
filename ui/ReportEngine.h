// The report engine: a report is a page set-up, page header fields, column
// headings and detail rows that a data-start callback and data-skip callbacks
// produce until the data ends. It draws with QPainter into a QPrinter (a real
// printer or a PDF file) or into a print preview.
#pragma once

#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace vesper {

// What a header field shows after its label.
enum class TReportFieldKind { Text, PageNumber, PrintedAt };

struct TReportField {
  std::string label;  // "File Name", "Page #", ...
  std::string value;  // Text fields only
  TReportFieldKind kind = TReportFieldKind::Text;
};

struct TReportColumn {
  std::string heading;
  int width = 0;             // in average characters of the report font; 0: the rest of the line
  bool alignRight = false;
};

// The current record: the callbacks fill `values` (one text per column) and
// set `eof` when there is no record.
struct TReportData {
  std::vector<std::string> values;
  bool eof = false;
};

class TReport {
 public:
  using TDataEvent = std::function<void(TReportData& data)>;

  std::string title;  // the print job's title
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  QPageSize::PageSizeId paper = QPageSize::A4;
  QMarginsF margins{12.7, 12.7, 12.7, 12.7};  // millimetres
  QFont font;                                  // detail font; headers derive from it
  std::string heading;                         // optional bold line above the header fields
  std::vector<TReportField> fields;
  std::vector<TReportColumn> columns;
  QImage picture;            // drawn after the headings, scaled down to fit the page
  TDataEvent onDataStart;    // moves to the first record (or sets eof)
  TDataEvent onDataSkip;     // moves to the next record (or sets eof)
  std::string dateFormat = "dd mmm yyyy @ hh:nn";

  TReport();

  TReport& AddField(std::string label, std::string value);
  TReport& AddPageNumber(std::string label = "Page #");
  TReport& AddPrintedAt(std::string label = "Printed at");
  TReport& AddColumn(std::string heading, int width = 0, bool alignRight = false);

  // Applies the page set-up to `printer`.
  void SetUp(QPrinter& printer) const;
  // Draws every page on an open painter of `printer`, `copies` times over;
  // returns the number of pages of one copy.
  int Render(QPrinter& printer, QPainter& painter, int copies = 1) const;
  // Sets up `printer`, prints `copies` copies as one job titled `title`;
  // returns the pages of one copy. Raises Exception when the printer cannot
  // be opened.
  int PrintTo(QPrinter& printer, int copies = 1) const;
  // Prints to a PDF file.
  int PrintToPdf(const std::string& path, int copies = 1) const;
  // Prints to the default printer (see CreatePrinter).
  int Print(int copies = 1) const;
  // The print dialog (through the dialogs service) on the chosen printer,
  // then the report once per requested copy. False when cancelled.
  bool PrintWithDialog(QWidget* owner = nullptr) const;
  // A preview window of this report; the report must outlive it.
  std::unique_ptr<QPrintPreviewDialog> CreatePreview(QWidget* owner = nullptr) const;
  // Shows the preview modally through the dialogs service.
  void Preview(QWidget* owner = nullptr) const;

 private:
  struct TLayout;
  void DrawPageHeader(QPainter& painter, const TLayout& layout, int page) const;
  std::string FieldValue(const TReportField& field, int page) const;
};

// True when a printer can be used: VESPER_PRINTER names a PDF file, or Qt
// lists a printer.
bool PrinterExists();
// The printer to print to: a PDF printer when VESPER_PRINTER is
// "pdf:PATH", else the system's default printer (or `name` when given).
std::unique_ptr<QPrinter> CreatePrinter(const std::string& name = "");
// The printer set-up dialog (through the dialogs service); the printer chosen
// there is the one CreatePrinter() and PrintWithDialog use from then on.
bool PrinterSetup(QWidget* owner = nullptr);
// The printer chosen in the set-up dialog ("" for the default).
const std::string& ChosenPrinterName();

}  // namespace vesper
