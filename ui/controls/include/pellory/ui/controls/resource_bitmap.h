// Bitmaps among the program's resources, decoded by the program's own bitmap
// decoder. Like the stock glyphs they stand in for, they keep no mask: the
// colour of the bottom-left pixel is drawn transparent.
#pragma once

#include <QImage>
#include <QString>

namespace pellory::ui {

// The resource at `path` (":/..."), its transparent colour cleared; null
// when the resource is missing or is not a bitmap the decoder reads.
QImage LoadResourceBitmap(const QString& path);

// Image `index` of a glyph holding `count` images of equal width side by
// side.
QImage GlyphPart(const QImage& glyph, int index, int count);

// One of the program's icons by name; null for a name it does not have.
QImage ResourceIcon(const QString& name);

// The program's icon "PROGRAM_ICON", 32 by 32 pixels in 16 colours; the
// windows' icon too.
QImage ProgramIcon();

}  // namespace pellory::ui
