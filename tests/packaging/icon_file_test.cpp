#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "tests/packaging/ico_file.h"

namespace quenzart::ico {
namespace {

constexpr int kSides[] = {48, 32, 16};

const File& ProgramIcon() {
  static const File file = Read(QUENZART_ICON_DIRECTORY "/quenzartsrv-gui.ico");
  return file;
}

TEST(IconFile, IsAnIconDirectoryOfThreeImages) {
  const File& file = ProgramIcon();
  EXPECT_EQ(file.reserved, 0);
  EXPECT_EQ(file.type, 1);  // 2 would make it a cursor
  ASSERT_EQ(file.images.size(), std::size(kSides));
  for (const int side : kSides) EXPECT_NE(FindImage(file, side), nullptr) << side;
}

TEST(IconFile, ImagesLieInsideTheFileWithoutOverlapping) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
  const std::uint32_t directory_end = 6 + 16 * ProgramIcon().images.size();
  for (const Image& image : ProgramIcon().images) {
    EXPECT_GE(image.entry.offset, directory_end);
    ranges.emplace_back(image.entry.offset, image.entry.offset + image.entry.size);
  }
  std::ranges::sort(ranges);
  for (std::size_t i = 1; i < ranges.size(); ++i) EXPECT_LE(ranges[i - 1].second, ranges[i].first);
}

TEST(IconFile, EachSizeIs256ColoursWithAMask) {
  for (const int side : kSides) {
    SCOPED_TRACE(side);
    const Image* image = FindImage(ProgramIcon(), side);
    ASSERT_NE(image, nullptr);

    EXPECT_EQ(image->entry.height, side);
    EXPECT_EQ(image->entry.colour_count, 0);  // 0: 256 colours or more
    EXPECT_EQ(image->entry.reserved, 0);
    EXPECT_EQ(image->entry.planes, 1);
    EXPECT_EQ(image->entry.bits_per_pixel, 8);

    EXPECT_EQ(image->header.header_size, kBitmapHeaderSize);
    EXPECT_EQ(image->header.width, side);
    EXPECT_EQ(image->header.height, 2 * side);  // the colour rows, then as many mask rows
    EXPECT_EQ(image->header.planes, 1);
    EXPECT_EQ(image->header.bits_per_pixel, 8);
    EXPECT_EQ(image->header.compression, 0u);  // BI_RGB
    EXPECT_LE(image->header.colours_used, 256u);
    if (image->header.image_size != 0) {
      EXPECT_EQ(image->header.image_size,
                side * (image->ColourRowLength() + image->MaskRowLength()));
    }
    // Palette, colour rows and a 1-bit mask with rows padded to 4 bytes: the
    // 48-pixel mask row is 8 bytes, not 6.
    EXPECT_EQ(image->entry.size, image->ExpectedSize());
  }
}

TEST(IconFile, MaskClearsTheCornersAndKeepsTheMiddle) {
  for (const int side : kSides) {
    SCOPED_TRACE(side);
    const Image* image = FindImage(ProgramIcon(), side);
    ASSERT_NE(image, nullptr);
    const std::size_t last = side - 1;
    const std::pair<std::size_t, std::size_t> corners[] = {
        {0, 0}, {last, 0}, {0, last}, {last, last}};
    for (const auto& [x, y] : corners) {
      EXPECT_TRUE(image->Transparent(x, y)) << x << "," << y;
    }
    EXPECT_FALSE(image->Transparent(side / 2, side / 2));
  }
}

TEST(IconFile, ClearPixelsAreBlackSoTheScreenShowsThrough) {
  // Windows draws (screen AND mask) XOR colour: under a set mask bit any
  // colour but black would tint or invert the background.
  for (const int side : kSides) {
    SCOPED_TRACE(side);
    const Image* image = FindImage(ProgramIcon(), side);
    ASSERT_NE(image, nullptr);
    for (std::size_t y = 0; y < image->Side(); ++y) {
      for (std::size_t x = 0; x < image->Side(); ++x) {
        if (image->Transparent(x, y)) {
          ASSERT_EQ(image->PaletteColour(image->ColourIndex(x, y)), 0u) << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quenzart::ico
