#include "bench_table.h"

#include "pellory/engine/table_writer.h"

namespace pellory::bench {

std::vector<CatalogueRow> MakeCatalogueRows(std::uint32_t count, std::uint32_t wingTail) {
  static const char* kCategories[] = {"Capitals Serif",    "Capitals Sans Serif", "Handwriting",
                                      "Italic Sans Serif", "Italic Serif",        "Normal Serif",
                                      "Normal Sans Serif"};
  std::vector<CatalogueRow> rows;
  rows.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    rows.push_back({"Font number " + n, "A typeface for bench row " + n, "F" + n + ".TTF",
                    i + wingTail >= count ? "Wingdings and symbols" : kCategories[i % 7]});
  }
  return rows;
}

void WriteCatalogueTable(const std::string& directory, const std::string& name,
                         const std::vector<CatalogueRow>& rows) {
  using writer::FieldType;
  writer::TableWriter table(directory, name,
                            {{"Font Name", FieldType::Alpha, 45},
                             {"Description", FieldType::Memo, 11},
                             {"Filename", FieldType::Alpha, 13},
                             {"Category", FieldType::Alpha, 55},
                             {"Sample3", FieldType::Graphic, 10}},
                            {.password = kBenchPassword});
  for (const auto& row : rows)
    table.Append({row.fontName, row.description, row.fileName, row.category, writer::Blank{}});
  table.Finish();
}

std::vector<std::uint8_t> CategoryFilter(const std::string& text, bool prefix) {
  std::vector<std::uint8_t> nodes;
  auto u16 = [&](unsigned v) {
    nodes.push_back(static_cast<std::uint8_t>(v));
    nodes.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const std::string name = "Category";
  const unsigned top = prefix ? 16 : 12;  // a compare node, or a binary node
  if (prefix)
    u32(3), u32(3), u16(0), u16(static_cast<unsigned>(text.size()));
  else
    u32(2), u32(3);
  u16(top), u16(top + 12);
  u32(4), u32(13), u16(kCategoryField), u16(0);  // the field, its name at 0
  u32(5), u32(14), u16(1), u16(static_cast<unsigned>(text.size() + 1)),
      u16(static_cast<unsigned>(name.size() + 1));  // the text after the name
  const std::string literals = name + '\0' + text + '\0';
  std::vector<std::uint8_t> buffer;
  auto put = [&](unsigned v) {
    buffer.push_back(static_cast<std::uint8_t>(v));
    buffer.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  const auto nodeEnd = static_cast<unsigned>(10 + nodes.size());
  put(2), put(nodeEnd + static_cast<unsigned>(literals.size())), put(0xFFFF), put(10), put(nodeEnd);
  buffer.insert(buffer.end(), nodes.begin(), nodes.end());
  buffer.insert(buffer.end(), literals.begin(), literals.end());
  return buffer;
}

}  // namespace pellory::bench
