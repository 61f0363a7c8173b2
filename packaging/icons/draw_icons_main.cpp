// draw-icons BITMAP NAME OUTPUT_DIRECTORY SIZE...: writes the icon at each
// size as OUTPUT_DIRECTORY/SIZExSIZE/apps/NAME.png, the layout of the
// hicolor icon theme.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "icon_sizes.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: draw-icons BITMAP NAME OUTPUT_DIRECTORY SIZE...\n");
    return 2;
  }
  const QImage bitmap(QString::fromLocal8Bit(argv[1]));
  if (bitmap.isNull()) {
    std::fprintf(stderr, "draw-icons: %s is not a picture Qt can read\n", argv[1]);
    return 1;
  }
  const QImage icon = pellory::packaging::WithTransparentKey(bitmap);
  const QString name = QString::fromLocal8Bit(argv[2]);
  const QDir output(QString::fromLocal8Bit(argv[3]));
  for (int i = 4; i < argc; ++i) {
    bool number = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&number);
    const QImage drawn = number ? pellory::packaging::DrawnAtSize(icon, size) : QImage();
    if (drawn.isNull()) {
      std::fprintf(stderr, "draw-icons: cannot draw the icon at size %s\n", argv[i]);
      return 1;
    }
    const QString dir = QStringLiteral("%1x%1/apps").arg(size);
    const QString file = output.filePath(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (!output.mkpath(dir) || !drawn.save(file, "PNG")) {
      std::fprintf(stderr, "draw-icons: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
