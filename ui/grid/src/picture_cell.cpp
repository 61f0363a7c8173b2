// Picture cells: the stored picture read and decoded on every paint, then
// drawn by the entry's sizing mode and raster operation.
#include <QPainter>

#include "cell_paint.h"
#include "pellory/data/bitmap_image.h"
#include "pellory/data/blob_field.h"

namespace pellory::ui::grid {

namespace {

QPainter::CompositionMode ModeFor(std::uint32_t operation) {
  switch (operation) {
    case rop::kSourcePaint:
      return QPainter::RasterOp_SourceOrDestination;
    case rop::kSourceAnd:
      return QPainter::RasterOp_SourceAndDestination;
    case rop::kSourceInvert:
      return QPainter::RasterOp_SourceXorDestination;
    case rop::kSourceErase:
      return QPainter::RasterOp_SourceAndNotDestination;
    case rop::kNotSourceCopy:
      return QPainter::RasterOp_NotSource;
    case rop::kNotSourceErase:
      return QPainter::RasterOp_NotSourceAndNotDestination;
    case rop::kMergePaint:
      return QPainter::RasterOp_NotSourceOrDestination;
    default:
      return QPainter::CompositionMode_SourceOver;  // pictures are opaque: a copy
  }
}

// Where the picture goes and which part of it, in the cell (L, T, W, H);
// nothing when the mode draws nothing. Divisions truncate.
struct Placement {
  QRect target;
  QRect source;
};

std::optional<Placement> Place(SizingMode mode, const QRect& cell, QSize picture) {
  const int L = cell.left(), T = cell.top(), W = cell.width(), H = cell.height();
  const int bw = picture.width(), bh = picture.height();
  switch (mode) {
    case SizingMode::OriginalSize: {
      const QSize part(std::min(bw, W - 1), std::min(bh, H - 1));
      return Placement{QRect(QPoint(L + 1, T + 1), part), QRect(QPoint(), part)};
    }
    case SizingMode::StretchToFit:
      return Placement{cell, QRect(QPoint(), picture)};
    case SizingMode::FitHeight: {
      int sw = bw * H / bh;
      int sourceWidth = bw;
      if (sw > W) {
        sourceWidth = bw * W / sw;
        sw = W;
      }
      if (sw <= 2 || H <= 2) return std::nullopt;
      return Placement{QRect(L + 1, T, sw - 1, H - 1), QRect(0, 0, sourceWidth, bh)};
    }
    case SizingMode::FitWidth: {
      int sh = bh * W / bw;
      int sourceHeight = bh;
      if (sh > H) {
        sourceHeight = bh * H / sh;
        sh = H;
      }
      if (W <= 2 || sh <= 2) return std::nullopt;
      return Placement{QRect(L + 1, T, W - 1, sh - 1), QRect(0, 0, bw, sourceHeight)};
    }
    case SizingMode::None:
      break;
  }
  return std::nullopt;
}

}  // namespace

QImage LoadCellPicture(const data::TField& field) {
  const auto* blob = dynamic_cast<const data::TBlobField*>(&field);
  if (!blob) return {};
  try {
    return data::ImageFromBitmap(data::LoadStoredBitmap(*blob));
  } catch (const std::exception&) {
    return {};  // The cell shows its background; nothing is reported.
  }
}

void DrawCellPicture(CellPaint& cell, const QImage& picture, const BitmapSettings& settings) {
  const std::optional<Placement> placement = Place(settings.sizing, cell.rect, picture.size());
  if (!placement || placement->target.isEmpty() || placement->source.isEmpty()) return;
  cell.p.save();
  cell.p.setCompositionMode(ModeFor(settings.rasterOperation));
  cell.p.drawImage(placement->target, picture, placement->source);
  cell.p.restore();
}

}  // namespace pellory::ui::grid
