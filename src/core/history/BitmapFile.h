#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace wattrix {

// A rendered 32-bit image: pixels 0xAARRGGBB, rows top-down.
struct RenderedImage {
  int width = 0;
  int height = 0;
  std::span<const std::uint32_t> pixels;
};

// The bytes of a Windows bitmap file of the image: 14-byte file header,
// 40-byte information header, 32 bits per pixel without compression, rows
// bottom-up. Empty when the image is empty, its pixels are fewer than
// width × height, or the file would exceed the format's 32-bit sizes.
std::string EncodeBitmap(const RenderedImage& image);

// Writes EncodeBitmap(image) to path; the file is replaced only when all of
// it was written.
bool WriteBitmapFile(const std::string& path, const RenderedImage& image);

}  // namespace wattrix
