// Decoded bitmaps as Qt images, for the windows and the specimen book.
#pragma once

#include <QImage>

#include "pellory/data/bitmap.h"

namespace pellory::data {

// A bitmap with a colour table stays indexed (8 bits a pixel, its palette
// as the colour table), so its palette travels with it; deeper bitmaps
// become 32-bit images. An empty bitmap gives a null image.
QImage ImageFromBitmap(const BitmapImage& bitmap);

}  // namespace pellory::data
