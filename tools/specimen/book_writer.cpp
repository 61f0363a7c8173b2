#include "book_writer.h"

#include <QBuffer>
#include <QPdfWriter>
#include <memory>
#include <stdexcept>

#include "descriptor_device.h"
#include "font_cache.h"
#include "live_face.h"
#include "part_file.h"
#include "pdf_join.h"

namespace pellory::specimen {
namespace {

constexpr double kBlockGap = 10;  // points after each block
constexpr int kResolution = 720;  // dots per inch: ten to the point

void SetUp(QPdfWriter& writer, const BookRequest& request) {
  writer.setResolution(kResolution);
  writer.setPageSize(request.paper);
  writer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
  writer.setTitle(QStringLiteral("Specimen book: ") + request.facts.selection);
  writer.setCreator(QStringLiteral("pellory-specimen"));
}

// Runs `place(face, installed, block)` on each selected face in catalogue
// order, the block null for a face --covering leaves out, and answers how
// many were left out. Each face is matched, laid out and dropped in turn.
template <typename Place>
int RunFaces(CatalogueFaces& faces, const InstalledFaces& installed, const BookRequest& request,
             const BookStyle& style, QPaintDevice& device, ProgressBar& progress,
             const std::string& stage, long total, Place place) {
  faces.Rewind();
  progress.Start(stage, total);
  CatalogueFace face;
  long done = 0;
  int leftOut = 0;
  while (faces.Next(face)) {
    const auto found = installed.Find(face.fileName, face.description);
    // The file as it is now, which fontconfig's cache may no longer describe.
    const FaceFile file = found ? ReadFaceFile(*found, request.specimen.text) : FaceFile{};
    const QString problem = found ? FileProblem(file, face.description) : QString();
    const bool setLive = found && problem.isEmpty() && !request.specimen.text.isEmpty();
    const LiveFace live = setLive ? MatchLiveFace(*found, file, device) : LiveFace{};
    const FaceBlock block(face, found, problem, setLive ? &live : nullptr, request.specimen, style);
    const bool inBook = !request.covering || block.Covers();
    if (!inBook) ++leftOut;
    place(face, found, inBook ? &block : nullptr);
    progress.Advance(++done);
  }
  progress.Finish();
  return leftOut;
}

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

// Counts the faces gone by and lets Qt go of their fonts every so many.
class FontRelease {
 public:
  explicit FontRelease(int every) : every_(every) {}
  void Seen(const std::optional<InstalledFace>& face) {
    if (face) lastFile_ = face->path;
    ++faces_;
  }
  bool Due() const { return faces_ >= every_; }
  void Release() {
    if (!lastFile_.empty()) ReleaseUnusedFonts(lastFile_);
    lastFile_.clear();
    faces_ = 0;
  }

 private:
  int every_;
  int faces_ = 0;
  std::string lastFile_;
};

// The pages painted into one part after another: a page turn after the
// part's share of faces ends the part (Qt embeds its faces and lets them go)
// and starts the next.
class PartedBook {
 public:
  PartedBook(const BookRequest& request, const std::string& directory)
      : request_(request), directory_(directory), release_(request.facesPerPart) {}

  QPainter& Painter() { return painter_; }
  void Seen(const std::optional<InstalledFace>& face) { release_.Seen(face); }

  void TurnPage() {
    if (!release_.Due()) {
      writer_->newPage();
      return;
    }
    EndPart();
    BeginPart();
  }

  void BeginPart() {
    const PartFile& part = parts_.emplace_back(directory_);
    if (!part.Error().empty())
      throw std::runtime_error("cannot make a temporary file in " + directory_ + ": " +
                               part.Error());
    file_ = std::make_unique<DescriptorDevice>(part.Descriptor());
    writer_ = std::make_unique<QPdfWriter>(file_.get());
    SetUp(*writer_, request_);
    painter_.begin(writer_.get());
  }

  void EndPart() {
    painter_.end();
    writer_.reset();
    if (!file_->Failure().empty()) throw std::runtime_error(file_->Failure());
    file_.reset();
    release_.Release();
  }

  const std::vector<PartFile>& Parts() const { return parts_; }

 private:
  const BookRequest& request_;
  std::string directory_;
  FontRelease release_;
  std::vector<PartFile> parts_;
  std::unique_ptr<DescriptorDevice> file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
};

}  // namespace

BookFacts WriteBook(int out, const std::string& partsDirectory, CatalogueFaces& faces,
                    const InstalledFaces& installed, const BookRequest& request,
                    ProgressBar& progress) {
  // Faces are matched and measured against a writer of the parts' kind that
  // never paints.
  QBuffer nowhere;
  QPdfWriter layout(&nowhere);
  SetUp(layout, request);
  const BookStyle style = MakeBookStyle(
      layout, QRectF(QPointF(0, 0), layout.pageLayout().paintRectPixels(kResolution).size()));
  BookFacts facts = request.facts;
  const long total = faces.Count();

  // First pass: the page each face begins on, counting the faces' pages from 0.
  std::vector<ContentsEntry> entries;
  PageFlow counting(style, facts, nullptr, {}, 0);
  FontRelease measured(request.facesPerPart);
  facts.leftOut = RunFaces(faces, installed, request, style, layout, progress, "reading", total,
                           [&](const CatalogueFace& face, const std::optional<InstalledFace>& found,
                               const FaceBlock* block) {
                             if (block) {
                               entries.push_back({QString::fromStdString(face.fontName),
                                                  PlaceBlock(counting, *block, style, nullptr)});
                               if (!found) ++facts.notInstalled;
                               if (block->FileUnusable()) ++facts.unusable;
                             }
                             measured.Seen(found);
                             if (measured.Due()) measured.Release();
                           });
  measured.Release();
  const int contentsPages = ContentsPageCount(style, entries.size());
  const int firstFacePage = 2 + contentsPages;
  for (ContentsEntry& entry : entries) entry.page += firstFacePage;
  facts.faces = static_cast<int>(entries.size());
  facts.totalPages = 1 + contentsPages + (entries.empty() ? 0 : counting.Page() + 1);

  // Second pass: the pages themselves, part by part.
  PartedBook book(request, partsDirectory);
  book.BeginPart();
  QPainter& painter = book.Painter();
  PageFlow flow(
      style, facts, &painter, [&] { book.TurnPage(); }, 1);
  PaintTitlePage(painter, style, facts);
  flow.NextPage();
  PaintContents(flow, painter, style, entries);
  if (!entries.empty()) flow.NextPage();
  RunFaces(
      faces, installed, request, style, layout, progress, "writing", facts.faces + facts.leftOut,
      [&](const CatalogueFace&, const std::optional<InstalledFace>& found, const FaceBlock* block) {
        book.Seen(found);
        if (block) PlaceBlock(flow, *block, style, &painter);
      });
  flow.Finish();
  book.EndPart();
  JoinParts(book.Parts(), out);
  return facts;
}

}  // namespace pellory::specimen
