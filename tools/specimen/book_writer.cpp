#include "book_writer.h"

#include <QBuffer>
#include <QPdfWriter>
#include <algorithm>

#include "axes_section.h"
#include "charset_section.h"
#include "face_charset.h"
#include "feature_section.h"
#include "live_face.h"
#include "parted_book.h"
#include "pdf_join.h"
#include "pellory/data/catalogue.h"

namespace pellory::specimen {
namespace {

constexpr double kBlockGap = 10;  // points after each block

// The text at one size for the feature lines: the largest of the
// waterfall's sizes up to 24 points, else its smallest.
double FeaturePoints(const std::vector<double>& sizes) {
  double points = 0;
  for (const double size : sizes)
    if (size <= 24) points = std::max(points, size);
  return points > 0 ? points : *std::min_element(sizes.begin(), sizes.end());
}

// What the options add below a face's waterfall: its feature lines, its
// axes' lines, then its character set.
void AddSections(FaceBlock& block, const InstalledFace& installed, const FaceFile& file,
                 const LiveFace& live, const BookRequest& request, const BookStyle& style) {
  const QString& text = request.specimen.text;
  const bool shaped = !text.isEmpty() && (!request.features.empty() || request.axes);
  const OpenTypeFace shaper(shaped ? installed.path : std::string(), installed.index);
  const double points = FeaturePoints(request.specimen.sizes);
  if (shaper.Valid() && !request.features.empty())
    block.AddSection(
        std::make_unique<FeatureSection>(shaper, live.raw, text, request.features, points, style));
  if (shaper.Valid() && request.axes && !shaper.Axes().empty())
    block.AddSection(std::make_unique<AxesSection>(shaper, text, points, style));
  if (request.charsetPages > 0)
    block.AddSection(std::make_unique<CharsetSection>(CharsetOf(file.characters), live.raw, style,
                                                      request.charsetPages));
}

// Runs `place(face, installed, block)` on each selected face in catalogue
// order, the block null for a face --covering leaves out, and answers how
// many were left out. Each face is matched, laid out and dropped in turn.
template <typename Place>
int RunFaces(CatalogueFaces& faces, const InstalledFaces& installed, FaceFiles& files,
             const BookRequest& request, const BookStyle& style, QPaintDevice& device,
             ProgressBar& progress, const std::string& stage, long total, Place place) {
  faces.Rewind();
  progress.Start(stage, total);
  CatalogueFace face;
  long done = 0;
  int leftOut = 0;
  while (faces.Next(face)) {
    const auto found = installed.Find(face.fileName, face.description);
    // The file as it is now, which fontconfig's cache may no longer describe.
    const bool charset = request.charsetPages > 0;
    const FaceFile none;
    const FaceFile& file = found ? files.Read(*found, request.specimen.text, charset) : none;
    const QString problem = found ? FileProblem(file, face.description) : QString();
    const bool setLive =
        found && problem.isEmpty() && (!request.specimen.text.isEmpty() || charset);
    const LiveFace live = setLive ? MatchLiveFace(*found, file, device) : LiveFace{};
    FaceBlock block(face, found, problem, setLive ? &live : nullptr, request.specimen, style);
    if (setLive && live.refusal.isEmpty()) AddSections(block, *found, file, live, request, style);
    const bool inBook = !request.covering || block.Covers();
    if (!inBook) ++leftOut;
    place(face, found, inBook ? &block : nullptr);
    progress.Advance(++done);
  }
  progress.Finish();
  return leftOut;
}

struct Placed {
  int page = 0;
  double top = 0;
};

// Places the block's head and rows, painting them when there is a canvas,
// and answers where its head went.
Placed PlaceBlock(PageFlow& flow, const FaceBlock& block, const BookStyle& style,
                  BookCanvas* canvas) {
  // A block goes whole onto one page where it can, so that every row of the
  // waterfall stands under its face's name.
  double height = block.HeadHeight();
  for (std::size_t row = 0; row < block.RowCount(); ++row) height += block.RowHeight(row);
  flow.KeepTogether(height);
  const double top = flow.Place(block.HeadHeight());
  const Placed placed{flow.Page(), top};
  if (canvas) block.PaintHead(*canvas, top);
  for (std::size_t row = 0; row < block.RowCount(); ++row) {
    const double rowTop = flow.Place(block.RowHeight(row));
    if (canvas) block.PaintRow(*canvas, row, rowTop);
  }
  for (const auto& section : block.Sections())
    for (std::size_t row = 0; row < section->RowCount(); ++row) {
      const double rowTop = flow.Place(section->RowHeight(row));
      if (canvas) section->PaintRow(*canvas, row, rowTop);
    }
  flow.Skip(style.Pt(kBlockGap));
  return placed;
}

std::string InstalledPath(const std::optional<InstalledFace>& face) {
  return face ? face->path : std::string();
}

// The outline: the contents, then each face under its category, the
// categories in the catalogue's order.
BookNavigation Outline(const std::vector<ContentsEntry>& entries,
                       const std::vector<std::string>& categories, const BookStyle& style,
                       const QTransform& toPdf) {
  BookNavigation navigation;
  for (const data::CatalogueCategory& category : data::kCatalogueCategories)
    navigation.groupOrder.emplace_back(category.stored);
  navigation.outline.push_back({"Contents", "", PlaceOnPage(2, style.body.topLeft(), toPdf)});
  for (std::size_t i = 0; i < entries.size(); ++i)
    navigation.outline.push_back(
        {entries[i].name.toStdString(), categories[i].empty() ? "(no category)" : categories[i],
         PlaceOnPage(entries[i].page, QPointF(style.body.left(), entries[i].top), toPdf)});
  return navigation;
}

}  // namespace

BookFacts WriteBook(int out, const std::string& partsDirectory, CatalogueFaces& faces,
                    const InstalledFaces& installed, const BookRequest& request,
                    ProgressBar& progress) {
  // Faces are matched and measured against a writer of the parts' kind that
  // never paints.
  QBuffer nowhere;
  QPdfWriter layout(&nowhere);
  SetUpWriter(layout, request.paper);
  const BookStyle style = MakeBookStyle(
      layout, QRectF(QPointF(0, 0), layout.pageLayout().paintRectPixels(kResolution).size()));
  const QTransform toPdf = PdfPageMatrix(layout.pageLayout());
  BookFacts facts = request.facts;
  const long total = faces.Count();

  // First pass: where each face begins, counting the faces' pages from 0.
  std::vector<ContentsEntry> entries;
  std::vector<std::string> categories;
  PageFlow counting(style, facts, nullptr, {}, 0);
  FontRelease measured(request.facesPerPart);
  FaceFiles files;
  facts.leftOut = RunFaces(
      faces, installed, files, request, style, layout, progress, "reading", total,
      [&](const CatalogueFace& face, const std::optional<InstalledFace>& found,
          const FaceBlock* block) {
        if (block) {
          const Placed placed = PlaceBlock(counting, *block, style, nullptr);
          entries.push_back({QString::fromStdString(face.fontName), placed.page, placed.top});
          categories.push_back(face.category);
          if (!found) ++facts.notInstalled;
          if (block->FileUnusable()) ++facts.unusable;
        }
        measured.Seen(InstalledPath(found));
        if (measured.Due()) measured.Release();
      });
  measured.Release();
  const int contentsPages = ContentsPageCount(style, entries.size());
  const int firstFacePage = 2 + contentsPages;
  for (ContentsEntry& entry : entries) entry.page += firstFacePage;
  facts.faces = static_cast<int>(entries.size());
  facts.totalPages = 1 + contentsPages + (entries.empty() ? 0 : counting.Page() + 1);

  // Second pass: the pages themselves, part by part.
  BookDocument document;
  document.title = "Specimen book: " + request.facts.selection.toStdString();
  document.subject = request.subject.toStdString();
  document.pageCount = facts.totalPages;
  document.navigation = Outline(entries, categories, style, toPdf);
  PartedBook book(request.paper, partsDirectory, request.facesPerPart);
  book.BeginPart();
  BookCanvas& canvas = book.Canvas();
  PageFlow flow(
      style, facts, &canvas, [&] { book.TurnPage(); }, 1);
  PaintTitlePage(canvas, style, facts);
  flow.NextPage();
  PaintContents(flow, canvas, style, entries, toPdf, document.navigation.links);
  if (!entries.empty()) flow.NextPage();
  RunFaces(
      faces, installed, files, request, style, layout, progress, "writing",
      facts.faces + facts.leftOut,
      [&](const CatalogueFace&, const std::optional<InstalledFace>& found, const FaceBlock* block) {
        book.Seen(InstalledPath(found));
        if (block) PlaceBlock(flow, *block, style, &canvas);
      });
  flow.Finish();
  book.EndPart();
  document.spans = book.Spans();
  JoinParts(book.Parts(), document, out);
  return facts;
}

}  // namespace pellory::specimen
