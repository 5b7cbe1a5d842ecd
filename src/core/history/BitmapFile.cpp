#include "core/history/BitmapFile.h"

#include "core/history/LittleEndian.h"
#include "core/platform/AtomicFile.h"

#include <limits>

namespace wattrix {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

}  // namespace

std::string EncodeBitmap(const RenderedImage& image) {
  if (image.width <= 0 || image.height <= 0) return {};
  const auto width = static_cast<std::uint64_t>(image.width);
  const auto height = static_cast<std::uint64_t>(image.height);
  if (image.pixels.size() < width * height) return {};
  const std::uint64_t rowBytes = ((width * 32 + 31) / 32) * 4;
  const std::uint64_t imageSize = rowBytes * height;
  const std::uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + imageSize;
  if (fileSize > std::numeric_limits<std::uint32_t>::max()) return {};

  std::string bytes(static_cast<std::size_t>(fileSize), '\0');
  auto* out = reinterpret_cast<std::uint8_t*>(bytes.data());
  out[0] = 'B';
  out[1] = 'M';
  le::StoreU32(out + 2, static_cast<std::uint32_t>(fileSize));
  le::StoreU32(out + 10, kFileHeaderSize + kInfoHeaderSize);
  std::uint8_t* info = out + kFileHeaderSize;
  le::StoreU32(info + 0, kInfoHeaderSize);
  le::StoreI32(info + 4, image.width);
  le::StoreI32(info + 8, image.height);
  le::StoreU16(info + 12, 1);   // planes
  le::StoreU16(info + 14, 32);  // bits per pixel; compression and the rest stay 0

  std::uint8_t* pixel = out + kFileHeaderSize + kInfoHeaderSize;
  for (std::uint64_t row = height; row-- > 0;) {
    const std::uint32_t* source = image.pixels.data() + row * width;
    // 0xAARRGGBB stored little-endian is the B, G, R, A byte order of the format.
    for (std::uint64_t x = 0; x < width; ++x, pixel += 4) le::StoreU32(pixel, source[x]);
  }
  return bytes;
}

bool WriteBitmapFile(const std::string& path, const RenderedImage& image) {
  const auto bytes = EncodeBitmap(image);
  return !bytes.empty() && WriteFileAtomically(path, bytes);
}

}  // namespace wattrix
