#include "pellory/data/catalogue.h"

namespace pellory::data {

std::optional<CatalogueField> FindCatalogueField(std::string_view name) {
  for (const CatalogueField& field : kCatalogueFields)
    if (field.name == name) return field;
  return std::nullopt;
}

std::optional<CatalogueCategory> CategoryOfButton(int number) {
  for (const CatalogueCategory& category : kCatalogueCategories)
    if (category.button == number) return category;
  return std::nullopt;
}

}  // namespace pellory::data
