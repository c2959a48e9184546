#include "ui/Pictures.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImageReader>
#include <QPainter>

#include "platform/Files.h"
#include "ui/BitmapFile.h"
#include "ui/QtText.h"

namespace vesper {

namespace {

bool StartsWith(std::string_view bytes, std::string_view head) {
  return bytes.size() >= head.size() && bytes.substr(0, head.size()) == head;
}

std::vector<QImage> ReadImages(std::string_view bytes, const char* format) {
  QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoTransform(false);
  std::vector<QImage> images;
  const int count = std::max(1, reader.imageCount());
  for (int i = 0; i < count && i < 256; ++i) {
    if (i > 0 && !reader.jumpToNextImage()) break;
    QImage image = reader.read();
    if (image.isNull()) break;
    images.push_back(std::move(image));
  }
  return images;
}

}  // namespace

void TPicture::LoadFromBytes(std::string_view bytes) {
  TPictureKind kind = TPictureKind::Bitmap;
  const char* format = nullptr;
  std::string file;
  QPoint hotSpot;
  if (StartsWith(bytes, std::string_view("\0\0\1\0", 4))) {
    kind = TPictureKind::Icon;
    format = "ico";
  } else if (StartsWith(bytes, std::string_view("\0\0\2\0", 4))) {
    kind = TPictureKind::Cursor;
    format = "cur";
    if (bytes.size() >= 14)
      hotSpot = QPoint(static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11]) << 8,
                       static_cast<unsigned char>(bytes[12]) | static_cast<unsigned char>(bytes[13]) << 8);
  } else if (StartsWith(bytes, "BM")) {
    format = "bmp";
  } else if (!(file = BitmapFileFromDib(bytes)).empty()) {
    bytes = file;
    format = "bmp";
  }
  std::vector<QImage> images = ReadImages(bytes, format);
  if (images.empty()) throw EInvalidGraphic("Bitmap image is not valid");
  // The largest image of an icon is the one shown.
  size_t best = 0;
  for (size_t i = 1; i < images.size(); ++i)
    if (images[i].width() * images[i].height() > images[best].width() * images[best].height())
      best = i;
  image_ = images[best];
  images_ = std::move(images);
  kind_ = kind;
  hotSpot_ = hotSpot;
}

void TPicture::LoadFromFile(const std::string& path) { LoadFromBytes(ReadFileBytes(path)); }

void TPicture::Assign(QImage image, TPictureKind kind) {
  image_ = std::move(image);
  images_ = {image_};
  kind_ = image_.isNull() ? TPictureKind::None : kind;
  hotSpot_ = {};
}

void TPicture::CopyToClipboard() const {
  if (!Empty()) QApplication::clipboard()->setImage(image_);
}

// --- TImageView ----------------------------------------------------------------

TImageView::TImageView(QWidget* parent) : QWidget(parent) { setObjectName("ImageViewer"); }

void TImageView::SetPicture(const TPicture& picture) {
  picture_ = picture;
  message_.clear();
  updateGeometry();
  update();
}

bool TImageView::LoadFromBytes(std::string_view bytes) {
  try {
    TPicture picture;
    picture.LoadFromBytes(bytes);
    SetPicture(picture);
    return true;
  } catch (const Exception& e) {
    picture_.Clear();
    SetMessage(e.what());
    return false;
  }
}

void TImageView::SetMessage(const std::string& message) {
  message_ = message;
  update();
}

void TImageView::SetStretch(bool stretch) {
  stretch_ = stretch;
  update();
}

QSize TImageView::sizeHint() const {
  return picture_.Empty() ? QSize(100, 100) : picture_.Image().size();
}

void TImageView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (picture_.Empty()) {
    if (!message_.empty()) p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, ToQString(message_));
    return;
  }
  QSizeF size = picture_.Image().size();
  if (stretch_ || size.width() > width() || size.height() > height())
    size = size.scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
  const QRectF target(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  p.drawImage(target, picture_.Image());
}

// --- TImageList ------------------------------------------------------------------

int TImageList::AddStrip(const QImage& strip, QColor transparent) {
  const int first = Count();
  if (strip.isNull() || width_ <= 0) return first;
  QImage source = strip.convertToFormat(QImage::Format_ARGB32);
  if (!transparent.isValid()) transparent = source.pixelColor(0, source.height() - 1);
  const QRgb clear = transparent.rgb() & 0xFFFFFF;
  for (int y = 0; y < source.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
    for (int x = 0; x < source.width(); ++x)
      if ((line[x] & 0xFFFFFF) == clear) line[x] = 0;
  }
  if (height_ <= 0) height_ = source.height();
  for (int x = 0; x + width_ <= source.width(); x += width_)
    Add(source.copy(x, 0, width_, std::min(height_, source.height())));
  return first;
}

int TImageList::AddStripBytes(std::string_view bytes, QColor transparent) {
  TPicture picture;
  picture.LoadFromBytes(bytes);
  return AddStrip(picture.Image(), transparent);
}

int TImageList::Add(const QImage& image) {
  QImage sized = image.size() == QSize(width_, height_)
                     ? image
                     : image.scaled(width_, height_, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  images_.push_back(sized);
  return Count() - 1;
}

QImage TImageList::Image(int index) const {
  return index >= 0 && index < Count() ? images_[index] : QImage();
}

QPixmap TImageList::Pixmap(int index) const { return QPixmap::fromImage(Image(index)); }

QIcon TImageList::Icon(int index) const {
  const QImage image = Image(index);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace vesper
