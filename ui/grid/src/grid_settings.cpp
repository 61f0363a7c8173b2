#include "grid_settings.h"

#include <charconv>

#include "pellory/data/dataset.h"
#include "pellory/data/field.h"

namespace pellory::ui::grid {

namespace {

constexpr std::size_t kMaxParameters = 255;

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// The part of an entry at the given index (0-based), reading parts in turn.
std::vector<std::string> SplitEntry(const std::string& line, char delimiter, int parts) {
  std::vector<std::string> out;
  int position = 1;
  for (int i = 0; i < parts; ++i) out.push_back(ReadPart(line, delimiter, position));
  return out;
}

data::TField* FieldNamed(const data::TDataSet& cursor, const std::string& name) {
  for (data::TField* field : cursor.Fields())
    if (SameNameIgnoringCase(field->FieldName(), name)) return field;
  return nullptr;
}

}  // namespace

std::string ReadPart(const std::string& line, char delimiter, int& position) {
  if (position < 1) return {};
  const auto start = std::size_t(position - 1);
  if (start >= line.size()) {
    position = kNoPosition;
    return {};
  }
  const std::size_t end = line.find(delimiter, start);
  if (end == std::string::npos) {
    position = kNoPosition;
    return line.substr(start);
  }
  position = int(end) + 2;
  return line.substr(start, end - start);
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

ControlType LookUpControlType(const std::vector<std::string>& list, const std::string& fieldName) {
  ControlType found;
  for (const std::string& entry : list) {
    int position = 1;
    if (ReadPart(entry, ';', position) != fieldName) continue;
    found.kind = ReadPart(entry, ';', position);
    found.parameters = position == kNoPosition
                           ? std::string()
                           : entry.substr(std::size_t(position - 1), kMaxParameters);
  }
  return found;
}

SizingMode SizingModeOf(const std::string& keyword) {
  if (keyword == "Original Size") return SizingMode::OriginalSize;
  if (keyword == "Stretch To Fit") return SizingMode::StretchToFit;
  if (keyword == "Fit Height") return SizingMode::FitHeight;
  if (keyword == "Fit Width") return SizingMode::FitWidth;
  return SizingMode::None;
}

std::uint32_t RasterOperationOf(const std::string& keyword) {
  static const std::pair<const char*, std::uint32_t> kOperations[] = {
      {"Source Copy", rop::kSourceCopy},
      {"Source Paint", rop::kSourcePaint},
      {"Source And", rop::kSourceAnd},
      {"Source Invert", rop::kSourceInvert},
      {"Source Erase", rop::kSourceErase},
      {"Not Source Copy", rop::kNotSourceCopy},
      {"Not Source Erase", rop::kNotSourceErase},
      {"Merge Paint", rop::kMergePaint},
  };
  for (const auto& [name, code] : kOperations)
    if (keyword == name) return code;
  return rop::kSourceCopy;
}

BitmapSettings ReadBitmapSettings(const std::string& parameters) {
  const std::vector<std::string> parts = SplitEntry(parameters, ';', 2);
  return {SizingModeOf(parts[0]), RasterOperationOf(parts[1])};
}

CheckBoxSettings ReadCheckBoxSettings(const std::string& parameters) {
  const std::vector<std::string> parts = SplitEntry(parameters, ';', 2);
  return {parts[0], parts[1]};
}

void PruneControlTypes(std::vector<std::string>& list, const data::TDataSet& cursor) {
  std::erase_if(list, [&cursor](const std::string& entry) {
    int position = 1;
    return FieldNamed(cursor, ReadPart(entry, ';', position)) == nullptr;
  });
}

bool HasCalculatedField(const data::TDataSet& cursor) {
  for (const data::TField* field : cursor.Fields())
    if (field->FieldKind() == data::fkCalculated) return true;
  return false;
}

void ApplyColumnList(const std::vector<std::string>& selected, data::TDataSet& cursor) {
  cursor.SuspendNotifications();
  for (data::TField* field : cursor.Fields()) field->SetVisible(false);
  int index = 0;
  for (const std::string& entry : selected) {
    const std::vector<std::string> parts = SplitEntry(entry, '\t', 3);
    if (data::TField* field = FieldNamed(cursor, parts[0])) {
      int width = 0;
      const char* end = parts[1].data() + parts[1].size();
      // A width that is no number leaves the field's own width.
      if (auto [ptr, ec] = std::from_chars(parts[1].data(), end, width);
          ec == std::errc() && ptr == end)
        field->SetDisplayWidth(width);
      field->SetDisplayLabel(parts[2]);
      field->SetIndex(index);
      field->SetVisible(true);
    }
    ++index;
  }
  cursor.ResumeNotifications();
}

bool ColumnMarkedReadOnly(const std::vector<std::string>& selected, const std::string& fieldName) {
  bool marked = false;
  for (const std::string& entry : selected) {
    const std::vector<std::string> parts = SplitEntry(entry, '\t', 4);
    if (SameNameIgnoringCase(parts[0], fieldName)) marked = parts[3] == "T";
  }
  return marked;
}

int ColumnPixelWidth(int displayWidth, int digitWidth) {
  return displayWidth * digitWidth + 4;
}

int CharactersForPixels(int pixels, int digitWidth) {
  if (digitWidth <= 0) return 0;
  return (pixels + digitWidth / 2 - 7) / digitWidth;
}

}  // namespace pellory::ui::grid
