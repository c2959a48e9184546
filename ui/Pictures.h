// Pictures: bitmaps, icons and cursors given as file bytes (the forms the
// image readers produce), a control that shows one, and image lists cut
// from the suite's bitmap strips.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"

namespace vesper {

VESPER_EXCEPTION(EInvalidGraphic, Exception)

enum class TPictureKind { None, Bitmap, Icon, Cursor };

class TPicture {
 public:
  TPicture() = default;
  // Raises EInvalidGraphic for data that is not a readable picture. A DIB
  // without its file header is read as a bitmap.
  void LoadFromBytes(std::string_view bytes);
  void LoadFromFile(const std::string& path);
  void Assign(QImage image, TPictureKind kind = TPictureKind::Bitmap);
  void Clear() { *this = TPicture(); }

  bool Empty() const { return image_.isNull(); }
  TPictureKind Kind() const { return kind_; }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  const QImage& Image() const { return image_; }
  // Every image of an icon or cursor file (one for a bitmap).
  const std::vector<QImage>& Images() const { return images_; }
  QPoint HotSpot() const { return hotSpot_; }  // cursors
  void CopyToClipboard() const;

 private:
  QImage image_;
  std::vector<QImage> images_;
  TPictureKind kind_ = TPictureKind::None;
  QPoint hotSpot_;
};

// Shows a picture centred (scaled down to fit when `Stretch` is set), or a
// message in place of a picture that could not be read.
class TImageView : public QWidget {
 public:
  explicit TImageView(QWidget* parent = nullptr);
  void SetPicture(const TPicture& picture);
  // Reads `bytes`; a damaged picture shows `message` with the reason.
  bool LoadFromBytes(std::string_view bytes);
  void SetMessage(const std::string& message);
  const std::string& Message() const { return message_; }
  const TPicture& Picture() const { return picture_; }
  void SetStretch(bool stretch);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TPicture picture_;
  std::string message_;
  bool stretch_ = false;
};

// An image list: images of one size, from a strip of them side by side.
class TImageList {
 public:
  TImageList(int width = 16, int height = 16) : width_(width), height_(height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }
  // Cuts `strip` into images of the list's width (its height taken from the
  // strip when the list has none); pixels of `transparent` become clear. An
  // invalid colour means the strip's bottom-left pixel. Returns the index of
  // the first image added.
  int AddStrip(const QImage& strip, QColor transparent = QColor());
  // The same for bitmap file bytes (or a DIB); raises EInvalidGraphic.
  int AddStripBytes(std::string_view bytes, QColor transparent = QColor());
  int Add(const QImage& image);
  void Clear() { images_.clear(); }
  // "" images for indexes out of range.
  QImage Image(int index) const;
  QPixmap Pixmap(int index) const;
  QIcon Icon(int index) const;

 private:
  int width_;
  int height_;
  std::vector<QImage> images_;
};

}  // namespace vesper
