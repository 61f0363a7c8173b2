// The page and the book's own type: sizes in points turned into the paint
// device's units, the area the pages lay out into and the fonts of names,
// labels and notes (any installed face will do for them; only the user's
// text is bound to the catalogue's faces).
#pragma once

#include <QColor>
#include <QFont>
#include <QPageSize>
#include <QRectF>
#include <optional>
#include <string>

class QPaintDevice;

namespace pellory::specimen {

// Points: the column of the labels before a block's lines (sizes, features,
// axes).
inline constexpr double kLabelColumn = 44;
// The grey of labels and notes.
inline const QColor kLabelGrey(90, 90, 90);

struct BookStyle {
  double unit = 1;  // device units per point
  QRectF body;      // where blocks go, above the footer
  double footerTop = 0;
  QFont title, facts, heading, name, label, note;
  QFont section;  // the headings inside a face's block
  QFont code;     // code points under the glyphs of a character table

  double Pt(double points) const { return points * unit; }
};

// The distance from one line of text in font to the next.
double LineHeight(const QFont& font);

// Fonts resolved for the device, whose paint area is `paintArea` (units).
BookStyle MakeBookStyle(QPaintDevice& device, const QRectF& paintArea);

// A paper name ("A4", "letter"), or nothing.
std::optional<QPageSize> PaperNamed(const std::string& name);
// The paper of the user's locale (LC_PAPER), A4 when it says nothing.
QPageSize LocalePaper();

}  // namespace pellory::specimen
