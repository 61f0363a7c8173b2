// The picture grid's two settings lists, read as plain text: the column
// list (TAB-separated entries naming a field, its width in characters, its
// title and an optional read-only mark) and the control-type list
// (";"-separated entries naming a field, a kind such as "Bitmap", and the
// kind's parameters).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellory::data {
class TDataSet;
}  // namespace pellory::data

namespace pellory::ui::grid {

// A part position past the end of its line.
inline constexpr int kNoPosition = -1;

// The part of `line` from the 1-based `position` up to the next
// `delimiter`. The position moves past the delimiter, or becomes
// kNoPosition when the line ends; a position below 1 gives an empty part
// and stays. Parts are not trimmed.
std::string ReadPart(const std::string& line, char delimiter, int& position);

// Field names in the lists compare without regard to ASCII case.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

struct ControlType {
  std::string kind;        // "Bitmap", "CheckBox", ... or empty
  std::string parameters;  // the text after the second ";", at most 255 characters
};

// The entry for `fieldName`, compared exactly (case included); a later
// matching entry replaces an earlier one. Both parts are empty without one.
ControlType LookUpControlType(const std::vector<std::string>& list, const std::string& fieldName);

enum class SizingMode { None, OriginalSize, StretchToFit, FitHeight, FitWidth };

// Raster operation codes of the pictures' copies: how picture pixels (S)
// combine with cell pixels (D).
namespace rop {
inline constexpr std::uint32_t kSourceCopy = 0x00CC0020;      // S
inline constexpr std::uint32_t kSourcePaint = 0x00EE0086;     // S | D
inline constexpr std::uint32_t kSourceAnd = 0x008800C6;       // S & D
inline constexpr std::uint32_t kSourceInvert = 0x00660046;    // S ^ D
inline constexpr std::uint32_t kSourceErase = 0x00440328;     // S & ~D
inline constexpr std::uint32_t kNotSourceCopy = 0x00330008;   // ~S
inline constexpr std::uint32_t kNotSourceErase = 0x001100A6;  // ~(S | D)
inline constexpr std::uint32_t kMergePaint = 0x00BB0226;      // ~S | D
}  // namespace rop

// Keywords compare exactly, case included: an unknown sizing mode draws
// nothing, an unknown raster operation copies.
SizingMode SizingModeOf(const std::string& keyword);
std::uint32_t RasterOperationOf(const std::string& keyword);

struct BitmapSettings {
  SizingMode sizing = SizingMode::None;
  std::uint32_t rasterOperation = rop::kSourceCopy;
};
BitmapSettings ReadBitmapSettings(const std::string& parameters);

struct CheckBoxSettings {
  std::string checkedValue;
  std::string uncheckedValue;
};
CheckBoxSettings ReadCheckBoxSettings(const std::string& parameters);

// Deletes every entry whose field name names no field of `cursor`; the
// others keep their order.
void PruneControlTypes(std::vector<std::string>& list, const data::TDataSet& cursor);

bool HasCalculatedField(const data::TDataSet& cursor);

// Hides every field, then shows each field an entry names, with the
// entry's width and title, at the entry's position in the list (every
// entry counts, also one that names no field). Notifications are held
// back meanwhile.
void ApplyColumnList(const std::vector<std::string>& selected, data::TDataSet& cursor);

// Whether the last entry naming `fieldName` carries the read-only mark "T".
bool ColumnMarkedReadOnly(const std::vector<std::string>& selected, const std::string& fieldName);

// Width conversions, with w0 the pixel width of the digit "0".
int ColumnPixelWidth(int displayWidth, int digitWidth);
// The width in characters a dragged column keeps: rounded to the nearest
// digit after the 4 pixels of margin.
int CharactersForPixels(int pixels, int digitWidth);

}  // namespace pellory::ui::grid
