#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QPainter>

#include "ui/BitmapFile.h"
#include "ui/Pictures.h"
#include "ui/tests/UiTest.h"

using namespace vesper;

namespace {

class PicturesTest : public test::UiTest {};

std::string Encode(const QImage& image, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format));
  return data.toStdString();
}

QImage Sample(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter p(&image);
  p.fillRect(1, 1, w / 2, h / 2, Qt::blue);
  return image;
}

}  // namespace

TEST_F(PicturesTest, BitmapDibIconAndCursorBytes) {
  const std::string bmp = Encode(Sample(20, 10), "BMP");
  TPicture picture;
  picture.LoadFromBytes(bmp);
  EXPECT_EQ(picture.Kind(), TPictureKind::Bitmap);
  EXPECT_EQ(picture.Width(), 20);
  EXPECT_EQ(picture.Image().pixelColor(2, 2), QColor(Qt::blue));
  // A bitmap resource: the same without the file header.
  picture.LoadFromBytes(std::string_view(bmp).substr(14));
  EXPECT_EQ(picture.Height(), 10);
  EXPECT_EQ(BitmapFileFromDib(std::string_view(bmp).substr(14)), bmp);

  std::string ico = Encode(Sample(32, 32), "ICO");
  picture.LoadFromBytes(ico);
  EXPECT_EQ(picture.Kind(), TPictureKind::Icon);
  EXPECT_EQ(picture.Width(), 32);
  std::string cur = ico;
  cur[2] = 2;
  cur[10] = 5;  // hot spot (5, 7)
  cur[11] = 0;
  cur[12] = 7;
  cur[13] = 0;
  picture.LoadFromBytes(cur);
  EXPECT_EQ(picture.Kind(), TPictureKind::Cursor);
  EXPECT_EQ(picture.HotSpot(), QPoint(5, 7));
  EXPECT_EQ(picture.Height(), 32);

  picture.CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(32, 32));
}

TEST_F(PicturesTest, DamagedPicturesRaiseAndShowAMessage) {
  const std::string bmp = Encode(Sample(8, 8), "BMP");
  for (std::string bad : {std::string(), std::string("BM"), bmp.substr(0, 30),
                          std::string("\0\0\1\0\5\0", 6), std::string(40, '\xff')}) {
    TPicture picture;
    EXPECT_THROW(picture.LoadFromBytes(bad), EInvalidGraphic) << bad.size();
  }
  TImageView view;
  EXPECT_FALSE(view.LoadFromBytes("BM junk"));
  EXPECT_EQ(view.Message(), "Bitmap image is not valid");
  EXPECT_TRUE(view.Picture().Empty());
  view.resize(50, 50);
  view.grab();  // paints the message
  EXPECT_TRUE(view.LoadFromBytes(bmp));
  EXPECT_EQ(view.Message(), "");
}

TEST_F(PicturesTest, ImageListFromAStripWithTransparentColour) {
  QImage strip(48, 16, QImage::Format_RGB32);
  strip.fill(Qt::magenta);
  strip.setPixelColor(17, 3, Qt::red);
  TImageList list(16, 16);
  EXPECT_EQ(list.AddStrip(strip), 0);  // bottom-left pixel: magenta
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Image(1).pixelColor(1, 3), QColor(Qt::red));
  EXPECT_EQ(qAlpha(list.Image(1).pixel(0, 0)), 0);
  EXPECT_FALSE(list.Icon(2).isNull());
  EXPECT_TRUE(list.Icon(3).isNull());
  EXPECT_TRUE(list.Image(-1).isNull());
  EXPECT_EQ(list.AddStripBytes(Encode(strip, "BMP"), Qt::red), 3);
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(qAlpha(list.Image(4).pixel(1, 3)), 0);
  EXPECT_EQ(qAlpha(list.Image(4).pixel(0, 0)), 255);
  EXPECT_THROW(list.AddStripBytes("nonsense"), EInvalidGraphic);
}
