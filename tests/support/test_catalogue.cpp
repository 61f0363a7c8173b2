#include "test_catalogue.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <utility>

#include "pellory/data/catalogue.h"
#include "pellory/engine/table_writer.h"

namespace cataloguetest {

namespace fs = std::filesystem;
using pellory::writer::Column;
using pellory::writer::FieldType;

namespace {

void Put16(std::string& out, int v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, int v) {
  Put16(out, v & 0xFFFF);
  Put16(out, (v >> 16) & 0xFFFF);
}

}  // namespace

namespace {

void PutInfoHeader(std::string& out, int width, int height, int bits, int imageSize, int colours) {
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, bits);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, colours);
  Put32(out, 0);
}

}  // namespace

std::string BmpFile(int width, int height, const std::function<QRgb(int, int)>& colour) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string out = "BM";
  Put32(out, 54 + stride * height);
  Put32(out, 0);
  Put32(out, 54);
  PutInfoHeader(out, width, height, 24, stride * height, 0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      const QRgb c = colour(x, row);
      out += char(qBlue(c));
      out += char(qGreen(c));
      out += char(qRed(c));
    }
    out.append(std::size_t(stride - width * 3), '\0');
  }
  return out;
}

std::string GreyBmpFile(int width, int height, const std::function<int(int, int)>& level) {
  const int stride = (width + 3) / 4 * 4;
  const int offset = 54 + 256 * 4;
  std::string out = "BM";
  Put32(out, offset + stride * height);
  Put32(out, 0);
  Put32(out, offset);
  PutInfoHeader(out, width, height, 8, stride * height, 256);
  for (int i = 0; i < 256; ++i) out += {char(i), char(i), char(i), '\0'};
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) out += char(level(x, row));
    out.append(std::size_t(stride - width), '\0');
  }
  return out;
}

std::vector<Font> Numbered(int n) {
  std::vector<Font> fonts;
  for (int i = 1; i <= n; ++i) {
    const std::string number = std::to_string(i);
    std::string name = "Font ", file = "f", about = "About font ";
    name.append(number);
    file.append(number).append(".ttf");
    about.append(number);
    fonts.push_back({name, file, kCategories[(i - 1) % 8], about, {}});
  }
  return fonts;
}

TestCatalogue::TestCatalogue(const std::vector<Font>& fonts, bool withSample,
                             const std::string& password) {
  std::string leaf = "pellory-ui-";
  leaf.append(std::to_string(::getpid())).append("-");
  leaf.append(::testing::UnitTest::GetInstance()->current_test_info()->name());
  dir_ = fs::temp_directory_path() / leaf;
  fs::remove_all(dir_);
  fs::create_directories(dir_);
  {
    std::vector<Column> columns = {{"Font Name", FieldType::Alpha, 45},
                                   {"Description", FieldType::Memo, 20},
                                   {"Filename", FieldType::Alpha, 13},
                                   {"Category", FieldType::Alpha, 55}};
    if (withSample) columns.push_back({"Sample3", FieldType::Graphic, 10});
    pellory::writer::TableWriter table(dir_, std::string(pellory::data::kCatalogueTableName),
                                       columns, {.password = password});
    for (const Font& f : fonts) {
      pellory::writer::Row row;
      row.emplace_back(f.name);
      row.emplace_back(f.description);
      row.emplace_back(f.file);
      row.emplace_back(f.category);
      if (withSample && f.picture.empty()) row.emplace_back(pellory::writer::Blank{});
      if (withSample && !f.picture.empty()) row.emplace_back(f.picture);
      table.Append(row);
    }
    table.Finish();
  }
  const fs::path conf = dir_ / "engine.conf";
  std::ofstream(conf) << "[alias pellory]\npath = " << dir_.string() << "\n";
  ::setenv("PELLORY_ENGINE_CONFIG", conf.c_str(), 1);
}

TestCatalogue::~TestCatalogue() {
  ::unsetenv("PELLORY_ENGINE_CONFIG");
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

}  // namespace cataloguetest
