#include "catalogue_faces.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "pellory/data/blob_field.h"
#include "pellory/data/catalogue.h"
#include "pellory/data/session.h"
#include "pellory/data/table.h"

namespace pellory::specimen {
namespace {

bool SameText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

void Declare(data::TTable& cursor, const data::CatalogueField& field) {
  const std::string name(field.name);
  switch (field.fieldClass) {
    case data::CatalogueFieldClass::String:
      cursor.AddField(std::make_unique<data::TStringField>(name, field.size));
      break;
    case data::CatalogueFieldClass::Memo:
      cursor.AddField(std::make_unique<data::TMemoField>(name, field.size));
      break;
    case data::CatalogueFieldClass::Graphic:
      cursor.AddField(std::make_unique<data::TGraphicField>(name, field.size));
      break;
  }
}

}  // namespace

std::optional<Selection> ChooseSelection(const Options& options, std::string* error) {
  if (!options.filter.empty())
    return Selection{options.filter, options.filter,
                     "The faces that pass the filter " + options.filter};
  if (options.category.empty() || SameText(options.category, data::kAllFontsText))
    return Selection{"", std::string(data::kAllFontsText), "Every face"};
  for (const data::CatalogueCategory& c : data::kCatalogueCategories)
    if (SameText(options.category, c.stored) || SameText(options.category, c.caption))
      return Selection{std::string(c.filter), std::string(c.stored),
                       "The category " + std::string(c.stored)};
  std::string known;
  for (const data::CatalogueCategory& c : data::kCatalogueCategories)
    known += std::string(known.empty() ? "" : ", ") + "\"" + std::string(c.stored) + "\"";
  *error = "no category \"" + options.category + "\"; the categories are " + known + " and \"" +
           std::string(data::kAllFontsText) + "\"";
  return std::nullopt;
}

CatalogueFaces::CatalogueFaces(const Options& options, const Selection& selection)
    : table_(std::make_unique<data::TTable>(data::Session)) {
  data::Session.AddPassword(std::string(data::kCataloguePassword));
  for (const std::string& password : options.passwords) data::Session.AddPassword(password);
  table_->SetName("Catalogue");
  table_->SetDatabaseName(options.database);
  table_->SetTableName(std::string(data::kCatalogueTable));
  table_->SetReadOnly(true);
  for (const data::CatalogueField& field : data::kCatalogueFields) Declare(*table_, field);
  table_->SetFilter(selection.filter);
  table_->SetFiltered(!selection.filter.empty());
  table_->Open();
}

CatalogueFaces::~CatalogueFaces() = default;

long CatalogueFaces::Count() {
  // The engine's count is the table's, filter or not; a walk reads no blob.
  long count = 0;
  for (table_->First(); !table_->Eof() && !table_->IsEmpty(); table_->Next()) ++count;
  table_->First();
  return count;
}

void CatalogueFaces::Rewind() {
  table_->First();
}

bool CatalogueFaces::Next(CatalogueFace& face, bool withPicture) {
  if (table_->Eof() || table_->IsEmpty()) return false;
  face = CatalogueFace{};
  face.fontName = table_->FieldByName("Font Name").AsString();
  face.fileName = table_->FieldByName("Filename").AsString();
  face.category = table_->FieldByName("Category").AsString();
  face.description = table_->FieldByName("Description").AsString();
  if (withPicture) {
    try {
      face.sample =
          static_cast<const data::TGraphicField&>(table_->FieldByName("Sample3")).LoadBitmap();
    } catch (const data::BitmapError& e) {
      face.sampleError = e.what();
    }
  }
  table_->Next();
  return true;
}

std::string DescribedValue(const std::string& description, const std::string& label) {
  const std::string key = label + ": ";
  std::size_t at = description.rfind(key, 0) == 0 ? 0 : description.find("\n" + key);
  if (at == std::string::npos) return {};
  at += at == 0 ? key.size() : key.size() + 1;
  return description.substr(at, description.find_first_of("\r\n", at) - at);
}

std::optional<DescribedFile> FileOfDescription(const std::string& description) {
  const std::string line = DescribedValue(description, "File");
  DescribedFile file{line, 0};
  const std::string marker = " (face ";
  const std::size_t face = line.rfind(marker);
  if (face != std::string::npos && line.back() == ')') {
    const std::string number =
        line.substr(face + marker.size(), line.size() - face - marker.size() - 1);
    int index = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), index);
    if (!number.empty() && ec == std::errc() && end == number.data() + number.size() &&
        index >= 0) {
      file.path = line.substr(0, face);
      file.index = index;
    }
  }
  if (file.path.empty()) return std::nullopt;
  return file;
}

}  // namespace pellory::specimen
