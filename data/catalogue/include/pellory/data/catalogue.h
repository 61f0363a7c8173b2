// The font catalogue as the program knows it: where it lives, its password,
// the fields the main cursor declares and the categories the category
// buttons choose. The main window, the catalogue builder and the tests all
// read these facts from here.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace pellory::data {

// The database alias, the table and its password.
inline constexpr std::string_view kCatalogueAlias = "pellory";
inline constexpr std::string_view kCatalogueTableName = "pelloryfont";  // files .DB and .MB
inline constexpr std::string_view kCatalogueTable = "pelloryfont.DB";
inline constexpr std::string_view kCataloguePassword = "mirabo";

enum class CatalogueFieldClass { String, Memo, Graphic };

struct CatalogueField {
  std::string_view name;
  CatalogueFieldClass fieldClass;
  // As declared; a blob field's is replaced by its column's when opened.
  int size;
};

// In the order the main cursor declares them.
inline constexpr std::array<CatalogueField, 5> kCatalogueFields = {{
    {"Font Name", CatalogueFieldClass::String, 45},
    {"Description", CatalogueFieldClass::Memo, 10},
    {"Filename", CatalogueFieldClass::String, 13},
    {"Category", CatalogueFieldClass::String, 55},
    {"Sample3", CatalogueFieldClass::Graphic, 10},
}};

// The filter text the main cursor is declared with (its misspelling
// included): compiled when the cursor opens, applied by no one, replaced by
// the first category chosen.
inline constexpr std::string_view kMainCursorFilter = "category = 'Captial Sans Serif'";

// The field named `name` (exactly as above); nothing for others.
std::optional<CatalogueField> FindCatalogueField(std::string_view name);

struct CatalogueCategory {
  int button;                // the number of its button: ButtonN
  std::string_view stored;   // the text of the Category column
  std::string_view caption;  // the button's caption
  std::string_view filter;   // the filter text the button sets
  std::string_view status;   // the text of the status line
};

// Top to bottom as the buttons stand in the window (Button5 above Button4;
// there is no Button8). The texts differ on purpose from one another.
inline constexpr std::array<CatalogueCategory, 8> kCatalogueCategories = {{
    {1, "Capitals Serif", "CAPITAL SERIF", "Category ='Capitals Serif'", "Capital Serif"},
    {2, "Capitals Sans Serif", "CAPITAL SANS SERIF", "Category ='Capitals San*'",
     "Capital Sans Serif"},
    {3, "Handwriting", "Handwriting", "Category ='Handwriting'", "Handwriting"},
    {5, "Italic Sans Serif", "Italic Sans Serif", "Category ='Italic Sans *'", "Italic Sans Serif"},
    {4, "Italic Serif", "Italic Serif", "Category ='Italic Serif'", "Italic Serif"},
    {6, "Normal Serif", "Normal Serif", "Category ='Normal Serif'", "Normal Serif"},
    {7, "Normal Sans Serif", "Normal Sans Serif", "Category ='Normal Sans*'", "Normal Sans Serif"},
    {9, "Wingdings", "Wingdings", "Category ='Wing*'", "Wingdings"},
}};

// The ninth button shows every font: its number, and the text that is both
// its caption and the status line.
inline constexpr int kAllFontsButton = 10;
inline constexpr std::string_view kAllFontsText = "All fonts";

// The category of button `number`; nothing for the "All fonts" button and
// numbers without a category.
std::optional<CatalogueCategory> CategoryOfButton(int number);

}  // namespace pellory::data
