// bench_grid: the grid window's full repaint, every visible picture read
// and decoded again, beside Qt decoding and drawing the same pictures into
// the same cells of a widget of the client's size, on the machine's
// catalogue and on synthetic catalogues of 150 and 100,000 records; and
// the cost of one scroll-bar thumb jump.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTextStream>
#include <QWidget>
#include <cstdlib>
#include <map>

#include "grid_bench_catalogues.h"
#include "pellory/data/bitmap_image.h"
#include "pellory/data/blob_field.h"
#include "pellory/data/blob_stream.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"
#include "pellory/shell/error_presenter.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/grid/tform3.h"
#include "pellory/ui/grid/twwdbgrid.h"
#include "scratch_dir.h"

namespace {

using pellory::bench::GridCatalogue;

class PrintingPresenter : public pellory::shell::ErrorPresenter {
 public:
  void Present(const pellory::shell::ErrorBox& box) override {
    QTextStream(stderr) << "bench_grid: error box: " << box.text << "\n";
  }
};

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// The grid window open on one catalogue, shown and focused.
struct OpenGrid {
  explicit OpenGrid(const GridCatalogue& catalogue) {
    ::setenv("PELLORY_ENGINE_CONFIG", catalogue.engineConfig.c_str(), 1);
    app.SetErrorPresenter(std::make_unique<PrintingPresenter>());
    form = app.CreateForm<pellory::ui::TForm3>();
    form->show();
    form->activateWindow();
    Settle();
  }
  ~OpenGrid() {
    app.Shutdown();
    pellory::data::Session.Stop();
  }
  pellory::ui::TwwDBGrid& Grid() const { return *form->wwDBGrid1(); }
  pellory::data::TwwTable& Table() const { return *form->wwTable1(); }

  pellory::shell::TApplication app;
  pellory::ui::TForm3* form = nullptr;
};

struct VisiblePicture {
  QByteArray bitmap;  // the stored bytes without the graphic header
  QRect cell;
  QString name;  // the font name of the same row
  QRect nameCell;
};

QByteArray StoredBitmap(const pellory::data::TBlobField& field) {
  pellory::data::TBlobStream stream(field);
  const std::string bytes = stream.Read(std::size_t(stream.Size()));
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t offset = pellory::data::StoredPictureOffset({data, bytes.size()}, bytes.size());
  return QByteArray(bytes.data() + offset, qsizetype(bytes.size() - offset));
}

// The pictures of the rows shown at opening, read through the cursor.
std::vector<VisiblePicture> VisiblePictures(OpenGrid& open) {
  pellory::data::TwwTable& table = open.Table();
  const auto& field = dynamic_cast<const pellory::data::TBlobField&>(table.FieldByName("Sample3"));
  std::vector<VisiblePicture> pictures;
  table.First();
  for (int row = 1; row < open.Grid().RowCount(); ++row, table.Next())
    pictures.push_back({StoredBitmap(field), open.Grid().CellRect(2, row),
                        QString::fromStdString(table.FieldByName("Font Name").AsString()),
                        open.Grid().CellRect(1, row)});
  table.First();
  Settle();
  return pictures;
}

// Qt on its own: each picture decoded by QImage and drawn into its cell,
// cut as the grid cuts it, on the window's white.
class QtPictures : public QWidget {
 public:
  QtPictures(std::vector<VisiblePicture> pictures, QSize size) : pictures_(std::move(pictures)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(size);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    for (const VisiblePicture& picture : pictures_) {
      QImage image;
      image.loadFromData(picture.bitmap, "BMP");
      const QRect part(0, 0, std::min(image.width(), picture.cell.width() - 1),
                       std::min(image.height(), picture.cell.height() - 1));
      p.drawImage(picture.cell.topLeft() + QPoint(1, 1), image, part);
    }
  }

 private:
  std::vector<VisiblePicture> pictures_;
};

// Qt drawing the whole client as the grid shows it, with nothing of the
// program's own: lines, titles, the names wrapped in their cells, the first
// one highlighted, and the pictures decoded by QImage.
class QtWindow : public QtPictures {
 public:
  QtWindow(std::vector<VisiblePicture> pictures, QSize size, int titleHeight)
      : QtPictures(pictures, size), rows_(std::move(pictures)), titleHeight_(titleHeight) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QtPictures::paintEvent(event);
    QPainter p(this);
    const QColor face(192, 192, 192), silver(192, 192, 192);
    p.fillRect(QRect(0, 0, width(), titleHeight_), face);
    p.fillRect(QRect(0, 0, 11, height()), face);
    p.fillRect(QRect(0, titleHeight_, width(), 1), Qt::black);
    p.fillRect(QRect(11, 0, 1, height()), Qt::black);
    p.setFont(font());
    p.drawText(QRect(15, 2, 160, titleHeight_ - 3), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Font Name"));
    p.drawText(QRect(180, 2, 160, titleHeight_ - 3), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Sample"));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      const QRect& cell = rows_[i].nameCell;
      p.fillRect(QRect(0, cell.bottom() + 1, width(), 1), silver);
      p.fillRect(QRect(cell.right() + 1, cell.top(), 1, cell.height()), silver);
      if (i == 0) p.fillRect(cell, QColor(0, 0, 128));
      p.setPen(i == 0 ? Qt::white : Qt::black);
      p.drawText(cell.adjusted(3, 2, 0, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                 rows_[i].name);
    }
  }

 private:
  std::vector<VisiblePicture> rows_;
  int titleHeight_;
};

void GridRepaint(benchmark::State& state, const GridCatalogue& catalogue) {
  OpenGrid open(catalogue);
  QWidget* client = open.Grid().viewport();
  const int rows = open.Grid().RowCount() - 1;
  for (auto _ : state) client->repaint();
  state.counters["rows"] = rows;
  state.counters["per_row"] = benchmark::Counter(
      rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void QtDecodeAndDraw(benchmark::State& state, const GridCatalogue& catalogue) {
  std::vector<VisiblePicture> pictures;
  QSize size;
  {
    OpenGrid open(catalogue);
    pictures = VisiblePictures(open);
    size = open.Grid().viewport()->size();
  }
  QtPictures widget(std::move(pictures), size);
  widget.show();
  Settle();
  for (auto _ : state) widget.repaint();
}

// The decoding alone: the program's decoder and conversion to an image,
// and Qt's BMP reader, over the same visible pictures.
void DecodeOnly(benchmark::State& state, const GridCatalogue& catalogue, bool withQt) {
  std::vector<VisiblePicture> pictures;
  {
    OpenGrid open(catalogue);
    pictures = VisiblePictures(open);
  }
  for (auto _ : state)
    for (const VisiblePicture& picture : pictures) {
      QImage image;
      if (withQt) {
        image.loadFromData(picture.bitmap, "BMP");
      } else {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(picture.bitmap.constData());
        image = pellory::data::ImageFromBitmap(
            pellory::data::DecodeBitmap({bytes, std::size_t(picture.bitmap.size())}));
      }
      benchmark::DoNotOptimize(image.constBits());
    }
}

void QtWindowPaint(benchmark::State& state, const GridCatalogue& catalogue) {
  std::vector<VisiblePicture> pictures;
  QSize size;
  QFont font;
  int titleHeight = 0;
  {
    OpenGrid open(catalogue);
    pictures = VisiblePictures(open);
    size = open.Grid().viewport()->size();
    font = open.Grid().font();
    titleHeight = open.Grid().TitleRowHeight();
  }
  QtWindow widget(std::move(pictures), size, titleHeight);
  widget.setFont(font);
  widget.show();
  Settle();
  for (auto _ : state) widget.repaint();
}

// Releasing the vertical thumb at a random position, as the mouse does:
// the record number set, the window read around it, and, with `repaint`,
// the grid painted (its pictures read and decoded).
void ThumbJump(benchmark::State& state, const GridCatalogue& catalogue, bool repaint) {
  OpenGrid open(catalogue);
  pellory::data::TwwTable& table = open.Table();
  const long count = table.RecordCount();
  QScrollBar* bar = open.Grid().verticalScrollBar();
  // The bar moves nothing while the grid cannot take the focus.
  for (int i = 0; i < 100 && !open.Grid().hasFocus(); ++i) QCoreApplication::processEvents();
  if (!open.Grid().hasFocus()) {
    state.SkipWithError("the grid has no focus");
    return;
  }
  QRandomGenerator random(7);
  long moved = 0;
  for (auto _ : state) {
    const long before = table.RecNo();
    bar->setSliderDown(true);
    bar->setSliderPosition(1 + int(random.bounded(199u)));
    bar->setSliderDown(false);
    if (repaint) open.Grid().viewport()->repaint();
    moved += table.RecNo() != before ? 1 : 0;
  }
  state.counters["moved"] = double(moved);
  state.counters["records"] = double(count);
}

// Prints the ratios the goals are stated in after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Medians when the runs are repeated, else the single run; CPU time,
  // because on a busy machine the wall clock also counts other programs.
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Iteration && !times_.count(name))
        times_[name] = run.GetAdjustedCPUTime();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        times_[name] = run.GetAdjustedCPUTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [name, time] : times_) {
      if (name.rfind("repaint/", 0) != 0) continue;
      const std::string catalogue = name.substr(8);
      for (const char* other : {"qt_decode_draw/", "qt_window/"})
        if (auto qt = times_.find(other + catalogue); qt != times_.end())
          GetOutputStream() << "ratio of CPU times, repaint / " << other << catalogue << ": "
                            << time / qt->second << "\n";
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  benchmark::Initialize(&argc, argv);
  pellory::testkit::ScratchDir scratch("pellory-grid-bench");
  const std::vector<GridCatalogue> catalogues =
      pellory::bench::PrepareCatalogues(scratch.path(), {150, 100000});
  for (const GridCatalogue& c : catalogues) {
    benchmark::RegisterBenchmark(("repaint/" + c.name).c_str(), GridRepaint, c)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("qt_decode_draw/" + c.name).c_str(), QtDecodeAndDraw, c)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("qt_window/" + c.name).c_str(), QtWindowPaint, c)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("decode/pellory/" + c.name).c_str(), DecodeOnly, c, false)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("decode/qt/" + c.name).c_str(), DecodeOnly, c, true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("thumb_jump/" + c.name).c_str(), ThumbJump, c, true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("thumb_jump_unpainted/" + c.name).c_str(), ThumbJump, c, false)
        ->Unit(benchmark::kMicrosecond);
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
