// Marks of a text span in a part's pages. Qt's PDF writer cannot say which
// characters a run of glyphs stands for (a ligature, a conjunct, a mark
// moved by shaping), so the book paints two tiny pictures around every
// text it sets, and the joiner (content_spans.h) replaces them with a
// marked-content span whose ActualText is the text, which readers copy and
// search instead of the glyphs. The pictures are ones no catalogue holds:
// two pixels of fixed colours, side by side or one above the other.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pellory::specimen {

enum class SpanMark { None, Start, End };

// The picture painted for a mark.
const QImage& SpanMarkImage(SpanMark mark);
// Which mark a picture is, from its size and its pixels' bytes as the PDF
// holds them (8-bit RGB, row by row).
SpanMark SpanMarkOf(long width, long height, const std::string& rgb);

// The texts of a part's spans in painting order, as PDF text strings, kept
// in one block of memory: a book paints hundreds of thousands, and as many
// small strings would stay scattered over the heap between Qt's large
// buffers of each page.
class SpanList {
 public:
  void Add(const QString& text);
  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const;

 private:
  std::string text_;
  std::vector<std::uint32_t> ends_;
};

}  // namespace pellory::specimen
