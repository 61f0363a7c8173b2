#include "parted_book.h"

#include <stdexcept>

namespace pellory::specimen {

void SetUpWriter(QPdfWriter& writer, const QPageSize& paper) {
  writer.setResolution(kResolution);
  writer.setPageSize(paper);
  writer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
  writer.setCreator(QStringLiteral("pellory-specimen"));
}

// Qt places the paint area at its top left in whole points from the page's
// top left, y growing downwards, at 72 / resolution points to a unit.
QTransform PdfPageMatrix(const QPageLayout& layout) {
  const double scale = 72.0 / kResolution;
  const QRect paint = layout.paintRectPoints();
  const double height = layout.fullRectPoints().height();
  return QTransform(scale, 0, 0, -scale, paint.left(), height - paint.top());
}

PartedBook::PartedBook(const QPageSize& paper, const std::string& directory, int facesPerPart)
    : paper_(paper), directory_(directory), release_(facesPerPart) {}

void PartedBook::TurnPage() {
  if (!release_.Due()) {
    writer_->newPage();
    return;
  }
  EndPart();
  BeginPart();
}

void PartedBook::BeginPart() {
  const PartFile& part = parts_.emplace_back(directory_);
  if (!part.Error().empty())
    throw std::runtime_error("cannot make a temporary file in " + directory_ + ": " + part.Error());
  file_ = std::make_unique<DescriptorDevice>(part.Descriptor());
  writer_ = std::make_unique<QPdfWriter>(file_.get());
  SetUpWriter(*writer_, paper_);
  painter_.begin(writer_.get());
}

void PartedBook::EndPart() {
  painter_.end();
  writer_.reset();
  if (!file_->Failure().empty()) throw std::runtime_error(file_->Failure());
  file_.reset();
  spans_.push_back(canvas_.TakeSpans());
  release_.Release();
}

}  // namespace pellory::specimen
