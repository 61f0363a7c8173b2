#include "pellory/data/bitmap_image.h"

#include <algorithm>

namespace pellory::data {

QImage ImageFromBitmap(const BitmapImage& bitmap) {
  if (bitmap.IsEmpty()) return {};
  if (bitmap.IsIndexed() && !bitmap.palette.empty()) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(bitmap.palette.begin(), bitmap.palette.end()));
    for (int y = 0; y < bitmap.height; ++y)
      std::copy_n(bitmap.indices.begin() + std::ptrdiff_t(y) * bitmap.width, bitmap.width,
                  image.scanLine(y));
    return image;
  }
  const std::vector<std::uint32_t> argb = ArgbPixels(bitmap);
  QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
  for (int y = 0; y < bitmap.height; ++y)
    std::copy_n(argb.begin() + std::ptrdiff_t(y) * bitmap.width, bitmap.width,
                reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
  return image;
}

}  // namespace pellory::data
