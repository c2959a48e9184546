#include "ui/ReportEngine.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cstdlib>

#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "ui/Dialogs.h"
#include "ui/QtText.h"

namespace vesper {

namespace {

constexpr const char* kPdfPrefix = "pdf:";

std::string PdfPrinterPath() {
  const char* env = std::getenv("VESPER_PRINTER");
  std::string value = env ? env : "";
  if (value.rfind(kPdfPrefix, 0) != 0) return "";
  return value.substr(4);
}

std::string& ChosenPrinter() {
  static std::string name;
  return name;
}

}  // namespace

// Positions on the page in device pixels.
struct TReport::TLayout {
  QRectF page;       // the printable area inside the margins
  QFont detailFont;
  QFont boldFont;
  QFont headingFont;
  double lineHeight = 0;
  double charWidth = 0;
  std::vector<std::pair<double, double>> columns;  // x and width of each column
  double bodyTop = 0;                               // below headings
};

TReport::TReport() { font = QFont("Monospace", 9); font.setStyleHint(QFont::TypeWriter); }

TReport& TReport::AddField(std::string label, std::string value) {
  fields.push_back({std::move(label), std::move(value), TReportFieldKind::Text});
  return *this;
}

TReport& TReport::AddPageNumber(std::string label) {
  fields.push_back({std::move(label), "", TReportFieldKind::PageNumber});
  return *this;
}

TReport& TReport::AddPrintedAt(std::string label) {
  fields.push_back({std::move(label), "", TReportFieldKind::PrintedAt});
  return *this;
}

TReport& TReport::AddColumn(std::string headingText, int width, bool alignRight) {
  columns.push_back({std::move(headingText), width, alignRight});
  return *this;
}

void TReport::SetUp(QPrinter& printer) const {
  QPageLayout layout(QPageSize(paper), orientation, margins, QPageLayout::Millimeter);
  printer.setPageLayout(layout);
  printer.setDocName(ToQString(title));
  printer.setFullPage(false);
}

std::string TReport::FieldValue(const TReportField& field, int page) const {
  switch (field.kind) {
    case TReportFieldKind::PageNumber: return std::to_string(page);
    case TReportFieldKind::PrintedAt: return FormatDateTime(dateFormat, Now());
    case TReportFieldKind::Text: break;
  }
  return field.value;
}

// Header: the heading, then the fields two to a row (left half, right half),
// a rule, the column headings in bold and a second rule.
void TReport::DrawPageHeader(QPainter& painter, const TLayout& layout, int page) const {
  double y = layout.page.top();
  const double half = layout.page.width() / 2;
  if (!heading.empty()) {
    painter.setFont(layout.headingFont);
    QFontMetricsF fm(layout.headingFont, painter.device());
    painter.drawText(QRectF(layout.page.left(), y, layout.page.width(), fm.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, ToQString(heading));
    y += fm.height() * 1.4;
  }
  for (size_t i = 0; i < fields.size(); ++i) {
    const double x = layout.page.left() + (i % 2 ? half : 0);
    QRectF cell(x, y, half, layout.lineHeight);
    painter.setFont(layout.boldFont);
    QString label = ToQString(fields[i].label) + ": ";
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, label);
    const double labelWidth = QFontMetricsF(layout.boldFont, painter.device()).horizontalAdvance(label);
    painter.setFont(layout.detailFont);
    painter.drawText(cell.adjusted(labelWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     ToQString(FieldValue(fields[i], page)));
    if (i % 2 || i + 1 == fields.size()) y += layout.lineHeight;
  }
  if (!fields.empty() || !heading.empty()) y += layout.lineHeight / 2;
  if (columns.empty()) return;
  painter.drawLine(QPointF(layout.page.left(), y), QPointF(layout.page.right(), y));
  painter.setFont(layout.boldFont);
  for (size_t c = 0; c < columns.size(); ++c) {
    QRectF cell(layout.columns[c].first, y, layout.columns[c].second, layout.lineHeight);
    painter.drawText(cell, (columns[c].alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                     ToQString(columns[c].heading));
  }
  y += layout.lineHeight;
  painter.drawLine(QPointF(layout.page.left(), y), QPointF(layout.page.right(), y));
  painter.setFont(layout.detailFont);
}

int TReport::Render(QPrinter& printer, QPainter& painter, int copies) const {
  TLayout layout;
  layout.page = QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
  layout.detailFont = QFont(font, &printer);
  layout.boldFont = layout.detailFont;
  layout.boldFont.setBold(true);
  layout.headingFont = layout.boldFont;
  layout.headingFont.setPointSizeF(font.pointSizeF() * 1.4);
  QFontMetricsF fm(layout.detailFont, &printer);
  layout.lineHeight = fm.height() * 1.15;
  layout.charWidth = fm.averageCharWidth();
  const double gap = layout.charWidth;
  double x = layout.page.left();
  for (const TReportColumn& c : columns) {
    double w = c.width > 0 ? c.width * layout.charWidth : layout.page.right() - x;
    w = std::max(0.0, std::min(w, layout.page.right() - x));
    layout.columns.push_back({x, w});
    x += w + gap;
  }
  // The header height is found by drawing it once off the page's content.
  double headerBottom = layout.page.top();
  headerBottom += heading.empty() ? 0 : QFontMetricsF(layout.headingFont, &printer).height() * 1.4;
  headerBottom += ((fields.size() + 1) / 2) * layout.lineHeight;
  if (!fields.empty() || !heading.empty()) headerBottom += layout.lineHeight / 2;
  if (!columns.empty()) headerBottom += layout.lineHeight + layout.lineHeight / 4;
  layout.bodyTop = headerBottom;
  const double bottom = layout.page.bottom();

  int pages = 0;
  for (int copy = 0; copy < std::max(1, copies); ++copy) {
    if (copy > 0) printer.newPage();
    int page = 1;
    DrawPageHeader(painter, layout, page);
    double y = layout.bodyTop;
    if (!picture.isNull()) {
      QSizeF room(layout.page.width(), bottom - y);
      QSizeF size = QSizeF(picture.size()).scaled(room, Qt::KeepAspectRatio);
      if (size.width() > picture.width() * 4) size = QSizeF(picture.size()) * 4;
      painter.drawImage(QRectF(QPointF(layout.page.left(), y), size), picture);
      y += size.height();
    }
    TReportData data;
    if (onDataStart) onDataStart(data); else data.eof = true;
    while (!data.eof) {
      if (y + layout.lineHeight > bottom && y > layout.bodyTop) {
        printer.newPage();
        ++page;
        DrawPageHeader(painter, layout, page);
        y = layout.bodyTop;
      }
      for (size_t c = 0; c < columns.size() && c < data.values.size(); ++c) {
        QRectF cell(layout.columns[c].first, y, layout.columns[c].second, layout.lineHeight);
        painter.drawText(cell, (columns[c].alignRight ? Qt::AlignRight : Qt::AlignLeft) |
                                   Qt::AlignVCenter | Qt::TextSingleLine,
                         ToQString(data.values[c]));
      }
      y += layout.lineHeight;
      if (!onDataSkip) break;
      onDataSkip(data);
    }
    pages = page;
  }
  return pages;
}

int TReport::PrintTo(QPrinter& printer, int copies) const {
  SetUp(printer);
  QPainter painter;
  if (!painter.begin(&printer))
    throw Exception("Cannot print to " + FileNameFromQString(printer.outputFileName().isEmpty()
                                                                 ? printer.printerName()
                                                                 : printer.outputFileName()));
  const int pages = Render(printer, painter, copies);
  painter.end();
  return pages;
}

int TReport::PrintToPdf(const std::string& path, int copies) const {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(FileNameToQString(path));
  return PrintTo(printer, copies);
}

int TReport::Print(int copies) const {
  std::unique_ptr<QPrinter> printer = CreatePrinter();
  return PrintTo(*printer, copies);
}

std::unique_ptr<QPrintPreviewDialog> TReport::CreatePreview(QWidget* owner) const {
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  SetUp(*printer);
  auto dialog = std::make_unique<QPrintPreviewDialog>(printer.get(), owner);
  dialog->setWindowTitle(ToQString("Print Preview - " + title));
  QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(),
                   [this, printer](QPrinter* target) {
                     QPainter painter(target);
                     Render(*target, painter, 1);
                   });
  // The printer lives as long as the dialog.
  QObject::connect(dialog.get(), &QObject::destroyed, [printer] {});
  return dialog;
}

bool TReport::PrintWithDialog(QWidget* owner) const {
  std::unique_ptr<QPrinter> printer = CreatePrinter();
  TPrintRequest request;
  request.printer = printer.get();
  request.printerName = ChosenPrinter();
  request.owner = owner;
  if (!Dialogs().PrintDialog(request)) return false;
  const int copies = std::max(1, request.copies);
  printer->setCopyCount(1);  // the copies are rendered, not multiplied by the driver
  PrintTo(*printer, copies);
  return true;
}

void TReport::Preview(QWidget* owner) const {
  std::unique_ptr<QPrintPreviewDialog> preview = CreatePreview(owner);
  Dialogs().ShowModal(*preview);
}

bool PrinterSetup(QWidget* owner) {
  std::unique_ptr<QPrinter> printer = CreatePrinter();
  TPrintRequest request;
  request.printer = printer.get();
  request.printerName = ChosenPrinter();
  request.owner = owner;
  if (!Dialogs().PrinterSetupDialog(request)) return false;
  if (PdfPrinterPath().empty()) ChosenPrinter() = request.printerName;
  return true;
}

const std::string& ChosenPrinterName() { return ChosenPrinter(); }

bool PrinterExists() {
  if (!PdfPrinterPath().empty()) return true;
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

std::unique_ptr<QPrinter> CreatePrinter(const std::string& chosen) {
  const std::string& name = chosen.empty() ? ChosenPrinter() : chosen;
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const std::string pdf = PdfPrinterPath();
  if (!pdf.empty()) {
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(FileNameToQString(pdf));
  } else if (!name.empty()) {
    printer->setPrinterName(ToQString(name));
  }
  return printer;
}

}  // namespace vesper
