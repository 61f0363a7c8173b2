#include "span_marks.h"

namespace pellory::specimen {
namespace {

constexpr QRgb kFirst = 0xFF50454C;   // "PEL"
constexpr QRgb kSecond = 0xFF4C4F52;  // "LOR"

QImage TwoPixels(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setPixel(0, 0, kFirst);
  image.setPixel(width - 1, height - 1, kSecond);
  return image;
}

}  // namespace

const QImage& SpanMarkImage(SpanMark mark) {
  static const QImage start = TwoPixels(2, 1);
  static const QImage end = TwoPixels(1, 2);
  return mark == SpanMark::Start ? start : end;
}

SpanMark SpanMarkOf(long width, long height, const std::string& rgb) {
  const std::string pixels = "PELLOR";
  if (rgb != pixels) return SpanMark::None;
  if (width == 2 && height == 1) return SpanMark::Start;
  if (width == 1 && height == 2) return SpanMark::End;
  return SpanMark::None;
}

void SpanList::Add(const QString& text) {
  static const char kHex[] = "0123456789ABCDEF";
  text_ += "<FEFF";
  for (const QChar c : text)
    for (const int shift : {12, 8, 4, 0}) text_ += kHex[(c.unicode() >> shift) & 0xF];
  text_ += '>';
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

std::string_view SpanList::operator[](std::size_t i) const {
  const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
  return std::string_view(text_).substr(begin, ends_[i] - begin);
}

}  // namespace pellory::specimen
