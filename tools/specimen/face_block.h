// One face's block in the book: a head (name, category, file, sample picture
// and a note: coverage of the text, or why the text is not set live) and,
// with a text, one row per line of the waterfall. The page flow places the
// head and each row; a block is laid out once per pass and then dropped.
#pragma once

#include <QImage>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <optional>
#include <vector>

#include "block_section.h"
#include "book_canvas.h"
#include "book_style.h"
#include "catalogue_faces.h"
#include "coverage.h"
#include "installed_faces.h"
#include "live_face.h"

class QPainter;

namespace pellory::specimen {

struct SpecimenText {
  QString text;               // empty: pictures only
  std::vector<double> sizes;  // points
};

class FaceBlock {
 public:
  // `live` is the face as Qt sets it (MatchLiveFace), null when the face is
  // not installed, its file cannot stand for it (`fileProblem` says why) or
  // there is no text.
  FaceBlock(const CatalogueFace& face, const std::optional<InstalledFace>& installed,
            const QString& fileProblem, const LiveFace* live, const SpecimenText& specimen,
            const BookStyle& style);
  ~FaceBlock();

  // Whether the face sets the whole text itself (false when it is not set
  // live at all).
  bool Covers() const { return live_ && coverage_.Whole(); }
  // Installed, but its file is damaged or another face than the catalogue's.
  bool FileUnusable() const { return !fileProblem_.isEmpty(); }

  // What goes below the waterfall (the character set, feature lines), in order.
  void AddSection(std::unique_ptr<BlockSection> section);
  const std::vector<std::unique_ptr<BlockSection>>& Sections() const { return sections_; }

  double HeadHeight() const;
  void PaintHead(BookCanvas& canvas, double top) const;
  std::size_t RowCount() const { return rows_.size(); }
  double RowHeight(std::size_t row) const;
  void PaintRow(BookCanvas& canvas, std::size_t row, double top) const;

 private:
  struct Row {
    std::size_t layout;  // index into layouts_
    int line;
    bool firstOfSize;
  };
  void LayOutWaterfall(const SpecimenText& specimen, const QFont& face);
  double Scale(std::size_t layout) const;
  QString Note() const;
  double NoteHeight() const;
  double PictureHeight() const;

  const BookStyle& style_;
  QString name_, category_, file_, path_;
  QImage picture_;
  QString pictureError_;
  bool installed_ = false;
  QString fileProblem_;
  bool live_ = false;
  QString refusal_;
  QString text_;
  bool hasText_ = false;
  Coverage coverage_;
  std::vector<double> sizes_;
  std::vector<std::unique_ptr<QTextLayout>> layouts_;
  std::vector<Row> rows_;
  std::vector<std::unique_ptr<BlockSection>> sections_;
};

// The picture as Qt draws it.
QImage ToImage(const data::BitmapImage& bitmap);

}  // namespace pellory::specimen
