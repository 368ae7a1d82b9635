#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>

#include "tests/packaging/ico_file.h"

namespace quenzart::ico {
namespace {

struct ResourceCase {
  const char* path;
  int side;
};

// The program asks for the unnumbered one; the numbered ones let it offer
// every size.
constexpr ResourceCase kResources[] = {
    {":/icons/quenzartsrv-gui.png", 48},
    {":/icons/48/quenzartsrv-gui.png", 48},
    {":/icons/32/quenzartsrv-gui.png", 32},
    {":/icons/16/quenzartsrv-gui.png", 16},
};

TEST(IconResource, LinkingTheLibraryRegistersEverySize) {
  for (const auto& [path, side] : kResources) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(QFile::exists(QString::fromLatin1(path)));
    const QImage image(QString::fromLatin1(path));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), side);
    EXPECT_EQ(image.height(), side);
  }
}

// The Windows icon and the PNGs are two encodings of one picture; a palette
// written in the wrong byte order or a mask upside down shows up here.
TEST(IconResource, WindowsIconShowsTheSamePicturesAsThePngs) {
  const File icon = Read(QUENZART_ICON_DIRECTORY "/quenzartsrv-gui.ico");
  for (const int side : {48, 32, 16}) {
    SCOPED_TRACE(side);
    const Image* ico_image = FindImage(icon, side);
    ASSERT_NE(ico_image, nullptr);
    const QImage png = QImage(QStringLiteral(":/icons/%1/quenzartsrv-gui.png").arg(side))
                           .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(png.width(), side);
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const QRgb png_pixel = png.pixel(x, y);
        // A clear pixel is clear whatever colour it carries.
        const std::uint32_t expected = qAlpha(png_pixel) == 0 ? 0u : png_pixel;
        ASSERT_EQ(ico_image->Pixel(x, y), expected) << "at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace quenzart::ico
