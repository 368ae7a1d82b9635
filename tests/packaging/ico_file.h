#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <vector>

namespace quenzart::ico {

// A reader of .ico files as Windows lays them out: an icon directory, then per
// image a BITMAPINFOHEADER, a palette, the colour pixels and the AND mask, both
// stored bottom row first with rows padded to 4 bytes. Reads out of the file's
// bounds throw, so a truncated file fails the test that reads it.

inline std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::uint32_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset,
                                      std::size_t length) {
  if (offset + length > bytes.size()) throw std::out_of_range("read past the end of the file");
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < length; ++i) value |= std::uint32_t{bytes[offset + i]} << (8 * i);
  return value;
}

struct DirectoryEntry {
  int width = 0;   // 0 stands for 256
  int height = 0;  // 0 stands for 256
  int colour_count = 0;
  int reserved = 0;
  int planes = 0;
  int bits_per_pixel = 0;
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
};

struct BitmapHeader {
  std::uint32_t header_size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // colour rows and mask rows together
  int planes = 0;
  int bits_per_pixel = 0;
  std::uint32_t compression = 0;
  std::uint32_t image_size = 0;
  std::uint32_t colours_used = 0;
};

constexpr std::size_t kBitmapHeaderSize = 40;

constexpr std::size_t PaddedRowLength(std::size_t bits) {
  return (bits + 31) / 32 * 4;
}

// One 8-bit image of the file.
struct Image {
  DirectoryEntry entry;
  BitmapHeader header;
  std::vector<std::uint8_t> data;  // the image's bytes as the entry gives them

  std::size_t Side() const { return static_cast<std::size_t>(header.width); }
  std::size_t PaletteLength() const { return header.colours_used == 0 ? 256 : header.colours_used; }
  std::size_t ColourRowLength() const { return PaddedRowLength(Side() * 8); }
  std::size_t MaskRowLength() const { return PaddedRowLength(Side()); }
  std::size_t ExpectedSize() const {
    return kBitmapHeaderSize + 4 * PaletteLength() + Side() * (ColourRowLength() + MaskRowLength());
  }

  // x and y count from the top left, as on screen.
  bool Transparent(std::size_t x, std::size_t y) const {
    const std::size_t mask_start =
        kBitmapHeaderSize + 4 * PaletteLength() + Side() * ColourRowLength();
    const std::size_t row = Side() - 1 - y;
    const auto byte = ReadLittleEndian(data, mask_start + row * MaskRowLength() + x / 8, 1);
    return (byte & (0x80u >> (x % 8))) != 0;
  }
  std::uint8_t ColourIndex(std::size_t x, std::size_t y) const {
    const std::size_t colours_start = kBitmapHeaderSize + 4 * PaletteLength();
    const std::size_t row = Side() - 1 - y;
    return static_cast<std::uint8_t>(
        ReadLittleEndian(data, colours_start + row * ColourRowLength() + x, 1));
  }
  // 0xRRGGBB of a palette entry, which the file stores as blue, green, red, 0.
  std::uint32_t PaletteColour(std::size_t index) const {
    return ReadLittleEndian(data, kBitmapHeaderSize + 4 * index, 3);
  }
  // 0xAARRGGBB as it shows: the mask decides between opaque and clear.
  std::uint32_t Pixel(std::size_t x, std::size_t y) const {
    if (Transparent(x, y)) return 0;
    return 0xFF000000u | PaletteColour(ColourIndex(x, y));
  }
};

struct File {
  std::size_t size = 0;
  int reserved = 0;
  int type = 0;
  std::vector<Image> images;
};

inline File Read(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> contents = ReadFile(path);
  const std::span<const std::uint8_t> bytes(contents);
  File file;
  file.size = contents.size();
  file.reserved = static_cast<int>(ReadLittleEndian(bytes, 0, 2));
  file.type = static_cast<int>(ReadLittleEndian(bytes, 2, 2));
  const auto count = ReadLittleEndian(bytes, 4, 2);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * i;
    Image image;
    image.entry = {
        .width = static_cast<int>(ReadLittleEndian(bytes, at, 1)),
        .height = static_cast<int>(ReadLittleEndian(bytes, at + 1, 1)),
        .colour_count = static_cast<int>(ReadLittleEndian(bytes, at + 2, 1)),
        .reserved = static_cast<int>(ReadLittleEndian(bytes, at + 3, 1)),
        .planes = static_cast<int>(ReadLittleEndian(bytes, at + 4, 2)),
        .bits_per_pixel = static_cast<int>(ReadLittleEndian(bytes, at + 6, 2)),
        .size = ReadLittleEndian(bytes, at + 8, 4),
        .offset = ReadLittleEndian(bytes, at + 12, 4),
    };
    if (std::size_t{image.entry.offset} + image.entry.size > bytes.size()) {
      throw std::out_of_range("an image reaches past the end of the file");
    }
    const auto image_bytes = bytes.subspan(image.entry.offset, image.entry.size);
    image.data.assign(image_bytes.begin(), image_bytes.end());
    image.header = {
        .header_size = ReadLittleEndian(image.data, 0, 4),
        .width = static_cast<std::int32_t>(ReadLittleEndian(image.data, 4, 4)),
        .height = static_cast<std::int32_t>(ReadLittleEndian(image.data, 8, 4)),
        .planes = static_cast<int>(ReadLittleEndian(image.data, 12, 2)),
        .bits_per_pixel = static_cast<int>(ReadLittleEndian(image.data, 14, 2)),
        .compression = ReadLittleEndian(image.data, 16, 4),
        .image_size = ReadLittleEndian(image.data, 20, 4),
        .colours_used = ReadLittleEndian(image.data, 32, 4),
    };
    file.images.push_back(image);
  }
  return file;
}

inline const Image* FindImage(const File& file, int side) {
  for (const Image& image : file.images) {
    if (image.entry.width == side % 256) return &image;
  }
  return nullptr;
}

}  // namespace quenzart::ico
