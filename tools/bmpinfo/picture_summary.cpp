#include "picture_summary.h"

#include <openssl/evp.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

namespace pellory::tools {

std::string PixelDigest(const data::BitmapImage& image) {
  const std::vector<std::uint32_t> pixels = data::ArgbPixels(image);
  std::vector<std::uint8_t> rgba(pixels.size() * 4);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t p = pixels[i];
    rgba[4 * i] = static_cast<std::uint8_t>(p >> 16);
    rgba[4 * i + 1] = static_cast<std::uint8_t>(p >> 8);
    rgba[4 * i + 2] = static_cast<std::uint8_t>(p);
    rgba[4 * i + 3] = static_cast<std::uint8_t>(p >> 24);
  }
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int length = 0;
  if (EVP_Digest(rgba.data(), rgba.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 is not available");
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 0x0F];
  }
  return hex;
}

PictureSummary Summarise(std::span<const std::uint8_t> value) {
  try {
    const data::BitmapImage image = data::DecodeStoredPicture(value);
    return {true, std::to_string(image.width) + " " + std::to_string(image.height) + " " +
                      PixelDigest(image)};
  } catch (const data::BitmapError& error) {
    return {false, error.what()};
  }
}

}  // namespace pellory::tools
