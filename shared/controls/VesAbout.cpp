#include "shared/controls/VesAbout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

#include "platform/DateTime.h"
#include "platform/VersionInfo.h"
#include "shared/controls/VesLinkLabel.h"
#include "ui/Application.h"
#include "ui/QtText.h"

namespace vesper {

namespace {

// "01.02.03.04" from the four words of a version.
std::string FourWords(uint32_t ms, uint32_t ls) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u.%02u.%02u.%02u", ms >> 16, ms & 0xFFFF, ls >> 16,
                ls & 0xFFFF);
  return text;
}

// The packed date and time, or now when it is zero or not a valid date.
std::string DatedText(uint32_t fileDate) {
  TDateTime dated;
  if (fileDate == 0 || !TryFileDateToDateTime(int32_t(fileDate), dated)) dated = Now();
  return DateTimeToStr(dated);
}

// The product logo: the evening star over a dusk sky, on a button-face field.
QPixmap Logo(const QColor& face) {
  QPixmap logo(64, 64);
  logo.fill(face);
  QPainter p(&logo);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 4, 0, 60);
  sky.setColorAt(0, QColor(20, 24, 72));
  sky.setColorAt(1, QColor(236, 128, 60));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawRoundedRect(4, 4, 56, 56, 8, 8);
  QPainterPath star;
  const QPointF c(40, 22);
  for (int i = 0; i < 8; ++i) {
    double r = i % 2 ? 3.0 : 11.0;
    double a = i * 3.14159265 / 4;
    QPointF point(c.x() + r * std::sin(a), c.y() - r * std::cos(a));
    i ? star.lineTo(point) : star.moveTo(point);
  }
  star.closeSubpath();
  p.setBrush(QColor(255, 244, 200));
  p.drawPath(star);
  p.setBrush(QColor(30, 30, 40));
  p.drawRect(4, 50, 56, 10);
  return logo;
}

}  // namespace

void TVesAbout::GetVersions(const std::string& fileName, std::string& version,
                            std::string& release) {
  std::string data;
  TVSFixedFileInfo fixed;
  if (!GetFileVersionInfo(fileName, data) || !VerQueryFixed(data, fixed)) return;
  version = FourWords(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
  release = FourWords(fixed.dwFileVersionMS, fixed.dwFileVersionLS) + " Dated " +
            DatedText(fixed.dwFileDateMS);
}

TVesAbout::TVesAbout(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("TVesAbout"));
  setWindowTitle(QStringLiteral("About Vesper"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("Logo"));
  logo->setPixmap(Logo(palette().color(QPalette::Button)));
  auto* tagline = new QLabel(QStringLiteral("Vesper - A touch of magic for RAD IDE's"), this);
  tagline->setObjectName(QStringLiteral("Tagline"));
  QFont bold = tagline->font();
  bold.setBold(true);
  tagline->setFont(bold);
  versionLabel_ = new QLabel(this);
  versionLabel_->setObjectName(QStringLiteral("VersionLabel"));
  releaseLabel_ = new QLabel(this);
  releaseLabel_->setObjectName(QStringLiteral("ReleaseLabel"));

  auto* texts = new QVBoxLayout;
  texts->addWidget(tagline);
  texts->addWidget(versionLabel_);
  texts->addWidget(releaseLabel_);
  texts->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(logo, 0, Qt::AlignTop);
  top->addLayout(texts, 1);

  auto* heading = new QLabel(QStringLiteral("Vesper is built with:"), this);
  heading->setObjectName(QStringLiteral("CreditsLabel"));
  credits_ = new QGridLayout;
  credits_->setHorizontalSpacing(12);
  AddCredit("Qt", "application framework and widgets", "https://www.qt.io/");
  AddCredit("zlib", "compression library", "https://zlib.net/");

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 8);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(heading);
  layout->addLayout(credits_);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TVesAbout::~TVesAbout() = default;

void TVesAbout::AddCredit(const char* name, const char* what, const char* address) {
  int row = credits_->rowCount();
  auto* label = new QLabel(QStringLiteral("%1 - %2").arg(name, what), this);
  label->setObjectName(QStringLiteral("Credit%1").arg(row));
  auto* link = new TVesLinkLabel(this);
  link->setObjectName(QStringLiteral("CreditLink%1").arg(row));
  link->SetCaption(address);
  link->SetLinkTo(address);
  credits_->addWidget(label, row, 0);
  credits_->addWidget(link, row, 1);
}

void TVesAbout::SetCaption(const std::string& text) {
  setWindowTitle(ToQString(text));
  ProcessMessages();
}

std::string TVesAbout::Caption() const { return FromQString(windowTitle()); }

std::string TVesAbout::VersionText() const { return FromQString(versionLabel_->text()); }

std::string TVesAbout::ReleaseText() const { return FromQString(releaseLabel_->text()); }

void TVesAbout::LoadVersions() {
  std::string version, release;
  GetVersions(moduleFileName_, version, release);
  versionLabel_->setText(ToQString("Version : " + version));
  releaseLabel_->setText(ToQString("Release : " + release));
}

void TVesAbout::showEvent(QShowEvent* event) {
  LoadVersions();
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
}

}  // namespace vesper
