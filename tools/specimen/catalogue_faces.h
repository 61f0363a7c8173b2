// The faces of the book, read from the catalogue through the data layer as
// the main window reads them: a read-only cursor on the catalogue table with
// the catalogue's declared fields, narrowed by a category's filter text or
// the user's filter expression.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "pellory/data/bitmap.h"
#include "specimen_options.h"

namespace pellory::data {
class TTable;
}

namespace pellory::specimen {

// What the book lays out and names: the filter handed to the cursor (empty:
// every record) and the selection's name for the title page and footers.
struct Selection {
  std::string filter;
  std::string name;
  std::string description;  // "The category Handwriting", for the document's subject
};

// The selection the options ask for, or nothing with *error set (a category
// the catalogue does not have; the error lists those it has).
std::optional<Selection> ChooseSelection(const Options& options, std::string* error);

struct CatalogueFace {
  std::string fontName;
  std::string fileName;
  std::string category;
  std::string description;
  data::BitmapImage sample;
  std::string sampleError;  // the decoder's message when the picture cannot be drawn
};

class CatalogueFaces {
 public:
  // Opens the catalogue; the data layer's errors (EDatabaseError) go up.
  CatalogueFaces(const Options& options, const Selection& selection);
  ~CatalogueFaces();
  CatalogueFaces(const CatalogueFaces&) = delete;
  CatalogueFaces& operator=(const CatalogueFaces&) = delete;

  // How many records pass the selection.
  long Count();
  // Back to the first record of the selection.
  void Rewind();
  // The current record, then a step on; false past the last one. With
  // withPicture false the picture is left unread.
  bool Next(CatalogueFace& face, bool withPicture = true);

 private:
  std::unique_ptr<data::TTable> table_;
};

// The path and face number of the "File:" line the catalogue builder writes
// into a description ("File: /usr/share/fonts/x.ttc (face 2)").
struct DescribedFile {
  std::string path;
  int index = 0;
};
std::optional<DescribedFile> FileOfDescription(const std::string& description);

// The value of a description's line "LABEL: value"; empty when it has none.
std::string DescribedValue(const std::string& description, const std::string& label);

}  // namespace pellory::specimen
