// The column ruler band of the editor and viewer controls.
#pragma once

#include <QWidget>

#include <string>

namespace vesper {

// The ruler text for the first visible column `first` (1-based) and
// `visible` columns: column 10k carries the digit k mod 10, column 10k + 5 a
// "+", the others "-".
std::string RulerText(int first, int visible);

// Height of the band for a font: the font's pixel height plus 5.
int RulerBandHeight(const QFont& font, int logicalDpiY);

// The band: frame line, the ruler text in the fixed font in the grey-text
// colour, and the caret's column drawn in the highlight colours.
class TRulerBand : public QWidget {
 public:
  explicit TRulerBand(QWidget* parent);
  // `textLeft`: x of the first visible column; `charWidth`: a column's width.
  void SetGeometryOfText(int textLeft, double charWidth);
  // Columns are 1-based; caret 0 hides the mark.
  void SetColumns(int first, int visible, int caret);
  int First() const { return first_; }
  int Caret() const { return caret_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int textLeft_ = 16;
  double charWidth_ = 8;
  int first_ = 1;
  int visible_ = 80;
  int caret_ = 0;
};

}  // namespace vesper
