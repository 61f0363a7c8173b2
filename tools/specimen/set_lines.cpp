#include "set_lines.h"

#include <QRegularExpression>
#include <algorithm>

namespace pellory::specimen {

std::vector<SetLine> SetInLines(const QString& text, double width, double space,
                                const std::function<ShapedWord(const QString&)>& shape) {
  std::vector<SetLine> lines(1);
  double used = 0;
  for (const QString& word :
       text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
    PlacedWord placed{word, shape(word), 0};
    if (!lines.back().empty() && used + space + placed.shaped.width > width) {
      lines.emplace_back();
      used = 0;
    }
    if (!lines.back().empty()) used += space;
    placed.x = used;
    used += placed.shaped.width;
    lines.back().push_back(std::move(placed));
  }
  // A right-to-left text runs from the right edge: its first word is rightmost.
  if (text.isRightToLeft())
    for (SetLine& line : lines)
      for (PlacedWord& word : line) word.x = width - (word.x + word.shaped.width);
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

void DrawSetLine(BookCanvas& canvas, const SetLine& line, QPointF baseline,
                 const std::function<void(const PlacedWord&, QPointF)>& draw) {
  for (const PlacedWord& word : line) {
    QString shown = word.text;
    // As BookCanvas::DrawLine: a right-to-left word's span lists its
    // characters as they stand, right to left.
    if (word.shaped.rightToLeft) std::reverse(shown.begin(), shown.end());
    canvas.Spanned(shown, [&] { draw(word, baseline + QPointF(word.x, 0)); });
  }
}

}  // namespace pellory::specimen
