#include "shared/controls/VesLinkLabel.h"

#include <QMouseEvent>
#include <QProcess>

#include "ui/QtText.h"

namespace vesper {

namespace {

void OpenWithDesktop(const std::string& address) {
  if (!address.empty())
    QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(address)});
}

TVesLinkLabel::TOpener& Opener() {
  static TVesLinkLabel::TOpener opener = OpenWithDesktop;
  return opener;
}

}  // namespace

TVesLinkLabel::TVesLinkLabel(QWidget* parent) : QLabel(parent) {
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  setCursor(Qt::PointingHandCursor);
  SetLinkColor(linkColor_);
}

TVesLinkLabel::~TVesLinkLabel() = default;

std::string TVesLinkLabel::Caption() const { return FromQString(text()); }

void TVesLinkLabel::SetCaption(const std::string& caption) { setText(ToQString(caption)); }

void TVesLinkLabel::SetLinkColor(const QColor& color) {
  linkColor_ = color;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
  update();
}

TVesLinkLabel::TOpener TVesLinkLabel::SetOpener(TOpener opener) {
  TOpener previous = std::move(Opener());
  Opener() = opener ? std::move(opener) : TOpener(OpenWithDesktop);
  return previous;
}

void TVesLinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Opener()(linkTo_);
  event->accept();
}

}  // namespace vesper
