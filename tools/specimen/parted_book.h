// The pages painted into one part after another. Qt's PDF writer holds
// every face it has set until its document ends, when it embeds their
// subsets; so a page turn after the part's share of faces ends the part
// (Qt embeds its faces and lets them go) and starts the next, each its own
// PDF document in a PartFile, with the texts of its spans kept for the join.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>
#include <memory>
#include <string>
#include <vector>

#include "book_canvas.h"
#include "descriptor_device.h"
#include "font_cache.h"
#include "part_file.h"

namespace pellory::specimen {

inline constexpr int kResolution = 720;  // dots per inch: ten to the point

// A writer set up as every part of the book is (and the one the layout measures with).
void SetUpWriter(QPdfWriter& writer, const QPageSize& paper);

// From the painter's units on a page (the paint area's top left at 0, 0)
// to PDF units on it, as Qt's PDF writer places the paint area.
QTransform PdfPageMatrix(const QPageLayout& layout);

class PartedBook {
 public:
  PartedBook(const QPageSize& paper, const std::string& directory, int facesPerPart);

  BookCanvas& Canvas() { return canvas_; }
  QPainter& Painter() { return painter_; }
  void Seen(const std::string& file) { release_.Seen(file); }

  void TurnPage();
  void BeginPart();
  // Ends the part; its write errors go up as std::exception.
  void EndPart();

  const std::vector<PartFile>& Parts() const { return parts_; }
  const std::vector<SpanList>& Spans() const { return spans_; }

 private:
  QPageSize paper_;
  std::string directory_;
  FontRelease release_;
  std::vector<PartFile> parts_;
  std::vector<SpanList> spans_;
  std::unique_ptr<DescriptorDevice> file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  BookCanvas canvas_{painter_};
};

}  // namespace pellory::specimen
