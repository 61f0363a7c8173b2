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

}  // namespace pellory::bench
