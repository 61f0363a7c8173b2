// The program's icon at the sizes of the desktop's icon theme, drawn from
// the one bitmap the program carries.
#pragma once

#include <QImage>

namespace pellory::packaging {

// The bitmap with every pixel of its bottom-left pixel's colour made
// transparent, as the program draws its resource bitmaps; premultiplied, so
// that scaling blends no hidden colour into the edges. Null for a null image.
QImage WithTransparentKey(const QImage& bitmap);

// `icon` drawn `size` pixels square: pixel art is first blown up by whole
// pixels, which keeps its edges hard, and only then smoothed down to the
// size. Null for a null or non-square icon or a size below 1.
QImage DrawnAtSize(const QImage& icon, int size);

}  // namespace pellory::packaging
