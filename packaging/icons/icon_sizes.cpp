#include "icon_sizes.h"

namespace pellory::packaging {

QImage WithTransparentKey(const QImage& bitmap) {
  if (bitmap.isNull()) return {};
  QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = image.pixel(0, image.height() - 1);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (row[x] == key) row[x] = 0;
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage DrawnAtSize(const QImage& icon, int size) {
  if (icon.isNull() || icon.width() != icon.height() || size < 1) return {};
  const int side = icon.width();
  const int factor = (size + side - 1) / side;
  QImage blownUp = factor == 1 ? icon
                               : icon.scaled(side * factor, side * factor, Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
  if (blownUp.width() == size) return blownUp;
  return blownUp.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace pellory::packaging
