#include "book_writer.h"

#include <QPdfWriter>

namespace pellory::specimen {
namespace {

constexpr double kBlockGap = 10;  // points after each block
constexpr int kResolution = 720;  // dots per inch: ten to the point

// The faces as Qt sets them, matched once in the first pass and handed to
// the second: a match costs a font engine, and the engine lives on in Qt's
// font cache only while something holds it.
using LiveFaces = std::vector<LiveFace>;

class BookPass {
 public:
  enum class Stage { Measure, Paint };

  BookPass(Stage stage, CatalogueFaces& faces, const InstalledFaces& installed,
           const BookRequest& request, const BookStyle& style, QPaintDevice& device,
           LiveFaces& live)
      : stage_(stage),
        faces_(faces),
        installed_(installed),
        request_(request),
        style_(style),
        device_(device),
        live_(live) {}

  // Runs `place` on each face that goes into the book, in catalogue order.
  template <typename Place>
  void Run(ProgressBar& progress, const std::string& stage, long total, Place place) {
    faces_.Rewind();
    progress.Start(stage, total);
    CatalogueFace face;
    std::size_t done = 0;
    while (faces_.Next(face)) {
      const auto found = installed_.Find(face.fileName, face.description);
      const LiveFace* live = Match(done, found);
      const FaceBlock block(face, found, live, request_.specimen, style_);
      if (!request_.covering || block.Covers())
        place(face, found.has_value(), block);
      else
        ++leftOut;
      if (stage_ == Stage::Paint && done < live_.size()) live_[done] = LiveFace{};
      progress.Advance(static_cast<long>(++done));
    }
    progress.Finish();
  }

  int leftOut = 0;

 private:
  const LiveFace* Match(std::size_t record, const std::optional<InstalledFace>& found) {
    if (!found || request_.specimen.text.isEmpty()) return nullptr;
    if (stage_ == Stage::Measure) {
      live_.resize(record + 1);
      live_[record] = MatchLiveFace(*found, device_);
    }
    return record < live_.size() ? &live_[record] : nullptr;
  }

  Stage stage_;
  CatalogueFaces& faces_;
  const InstalledFaces& installed_;
  const BookRequest& request_;
  const BookStyle& style_;
  QPaintDevice& device_;
  LiveFaces& live_;
};

// Places the block's head and rows, painting them when there is a painter,
// and answers the page its head went to.
int PlaceBlock(PageFlow& flow, const FaceBlock& block, const BookStyle& style, QPainter* painter) {
  // A block goes whole onto one page where it can, so that every row of the
  // waterfall stands under its face's name.
  double height = block.HeadHeight();
  for (std::size_t row = 0; row < block.RowCount(); ++row) height += block.RowHeight(row);
  flow.KeepTogether(height);
  const double top = flow.Place(block.HeadHeight());
  const int page = flow.Page();
  if (painter) block.PaintHead(*painter, top);
  for (std::size_t row = 0; row < block.RowCount(); ++row) {
    const double rowTop = flow.Place(block.RowHeight(row));
    if (painter) block.PaintRow(*painter, row, rowTop);
  }
  flow.Skip(style.Pt(kBlockGap));
  return page;
}

}  // namespace

BookFacts WriteBook(QIODevice& out, CatalogueFaces& faces, const InstalledFaces& installed,
                    const BookRequest& request, ProgressBar& progress) {
  QPdfWriter writer(&out);
  writer.setResolution(kResolution);
  writer.setPageSize(request.paper);
  writer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
  writer.setTitle(QStringLiteral("Specimen book: ") + request.facts.selection);
  writer.setCreator(QStringLiteral("pellory-specimen"));
  const BookStyle style = MakeBookStyle(
      writer, QRectF(QPointF(0, 0), writer.pageLayout().paintRectPixels(kResolution).size()));
  BookFacts facts = request.facts;
  const long total = faces.Count();

  // First pass: the page each face begins on, counting the faces' pages from 0.
  std::vector<ContentsEntry> entries;
  PageFlow counting(style, facts, nullptr, nullptr, 0);
  LiveFaces live;
  BookPass first(BookPass::Stage::Measure, faces, installed, request, style, writer, live);
  first.Run(progress, "reading", total,
            [&](const CatalogueFace& face, bool isInstalled, const FaceBlock& block) {
              entries.push_back({QString::fromStdString(face.fontName),
                                 PlaceBlock(counting, block, style, nullptr)});
              if (!isInstalled) ++facts.notInstalled;
            });
  const int contentsPages = ContentsPageCount(style, entries.size());
  const int firstFacePage = 2 + contentsPages;
  for (ContentsEntry& entry : entries) entry.page += firstFacePage;
  facts.faces = static_cast<int>(entries.size());
  facts.leftOut = first.leftOut;
  facts.totalPages = 1 + contentsPages + (entries.empty() ? 0 : counting.Page() + 1);

  // Second pass: the pages themselves.
  QPainter painter(&writer);
  PageFlow flow(style, facts, &painter, &writer, 1);
  PaintTitlePage(painter, style, facts);
  flow.NextPage();
  PaintContents(flow, painter, style, entries);
  if (!entries.empty()) flow.NextPage();
  BookPass second(BookPass::Stage::Paint, faces, installed, request, style, writer, live);
  second.Run(progress, "writing", facts.faces + facts.leftOut,
             [&](const CatalogueFace&, bool, const FaceBlock& block) {
               PlaceBlock(flow, block, style, &painter);
             });
  flow.Finish();
  painter.end();
  return facts;
}

}  // namespace pellory::specimen
