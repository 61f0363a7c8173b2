// The OpenType features of a face, below its waterfall: the features it
// offers, named, then the user's text set once more for each feature asked
// for (--features), shaped by HarfBuzz with the feature on (or off) and
// drawn in the face itself, labelled with the feature. A feature the face
// does not offer gets a line saying so.
#pragma once

#include <QRawFont>
#include <QString>
#include <vector>

#include "block_section.h"
#include "book_style.h"
#include "opentype_face.h"
#include "set_lines.h"
#include "specimen_options.h"

namespace pellory::specimen {

class FeatureSection : public BlockSection {
 public:
  // `face` is the face as Qt sets it, `shaper` the same face for HarfBuzz;
  // the lines are set at `points`.
  FeatureSection(const OpenTypeFace& shaper, const QRawFont& face, const QString& text,
                 const std::vector<FeatureRequest>& features, double points,
                 const BookStyle& style);

  std::size_t RowCount() const override { return rows_.size(); }
  double RowHeight(std::size_t row) const override;
  void PaintRow(BookCanvas& canvas, std::size_t row, double top) const override;

 private:
  struct Row {
    QString label;  // the feature as asked for, on its first line
    QString note;   // a row of words of the book's own (the list, a feature not offered)
    SetLine line;
  };
  double NoteHeight(const QString& note) const;

  QRawFont face_;
  const BookStyle& style_;
  std::vector<Row> rows_;
};

// The face's features as a list: "c2sc Small Capitals From Capitals, case
// Case-Sensitive Forms, ...".
QString OfferedFeatures(const OpenTypeFace& face);

}  // namespace pellory::specimen
