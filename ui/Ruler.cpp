#include "ui/Ruler.h"

#include <QPainter>

#include <cmath>

namespace vesper {

namespace {
constexpr const char* kPattern = "----+----";
}

std::string RulerText(int first, int visible) {
  if (first < 1) first = 1;
  if (visible < 0) visible = 0;
  std::string text;
  const int lead = first % 10;
  if (lead >= 1) text += std::string(kPattern).substr(lead - 1);
  int digit = ((first - 1) % 100) / 10 + 1;
  if (digit > 9) digit = 0;
  text += static_cast<char>('0' + digit);
  for (int i = 0; i < visible / 10 + 1; ++i) {
    digit = (digit + 1) % 10;
    text += kPattern;
    text += static_cast<char>('0' + digit);
  }
  return text;
}

int RulerBandHeight(const QFont& font, int logicalDpiY) {
  double points = std::fabs(font.pointSizeF());
  if (points <= 0) return font.pixelSize() + 5;
  return static_cast<int>(std::lround(points * logicalDpiY / 72.0 + 0.5)) + 5;
}

TRulerBand::TRulerBand(QWidget* parent) : QWidget(parent) {
  setObjectName("Ruler");
  setAutoFillBackground(false);
}

void TRulerBand::SetGeometryOfText(int textLeft, double charWidth) {
  if (textLeft == textLeft_ && charWidth == charWidth_) return;
  textLeft_ = textLeft;
  charWidth_ = charWidth > 0 ? charWidth : 1;
  update();
}

void TRulerBand::SetColumns(int first, int visible, int caret) {
  if (first == first_ && visible == visible_ && caret == caret_) return;
  first_ = first;
  visible_ = visible;
  caret_ = caret;
  update();
}

QSize TRulerBand::sizeHint() const { return {100, RulerBandHeight(font(), logicalDpiY())}; }

void TRulerBand::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Base));
  p.setPen(Qt::black);
  p.drawLine(0, height() - 1, width(), height() - 1);
  p.setFont(font());
  const std::string text = RulerText(first_, visible_);
  const int textHeight = height() - 1;
  p.setPen(palette().color(QPalette::Disabled, QPalette::Text));
  for (size_t i = 0; i < text.size(); ++i) {
    const double x = textLeft_ + i * charWidth_;
    if (x > width()) break;
    p.drawText(QRectF(x, 0, charWidth_, textHeight), Qt::AlignCenter, QString(QChar(text[i])));
  }
  const int at = caret_ - first_;  // 0-based position of the caret's column
  if (caret_ > 0 && at >= 0 && at < static_cast<int>(text.size())) {
    QRectF cell(textLeft_ + at * charWidth_, 0, charWidth_, textHeight);
    p.fillRect(cell, palette().color(QPalette::Highlight));
    p.setPen(palette().color(QPalette::HighlightedText));
    p.drawText(cell, Qt::AlignCenter, QString(QChar(text[at])));
  }
}

}  // namespace vesper
