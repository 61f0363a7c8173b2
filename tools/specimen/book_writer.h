// Lays the book out into a PDF: a first pass over the selected faces learns
// where each begins (for the contents and the outline) and how many pages
// there are, a second paints title page, contents and blocks, page by page,
// so that no more than one face's block is held at a time, into parts of a
// bounded number of faces (parted_book.h) joined at the end (pdf_join.h).
#pragma once

#include <QPageSize>
#include <string>

#include "book_pages.h"
#include "catalogue_faces.h"
#include "face_block.h"
#include "installed_faces.h"
#include "progress_bar.h"
#include "specimen_options.h"

namespace pellory::specimen {

// Faces a part of the book holds: each costs a few hundred kilobytes (the
// large CJK collections megabytes) until its part is written out and Qt lets
// its fonts go, which costs Qt a new reading of the installed fonts.
inline constexpr int kFacesPerPart = 50;

struct BookRequest {
  SpecimenText specimen;
  bool covering = false;
  int charsetPages = 0;                  // 0: no character sets; else a table's page limit
  std::vector<FeatureRequest> features;  // to set the text with once more each
  bool axes = false;                     // the text at each variation axis's ends
  QPageSize paper;
  BookFacts facts;  // catalogue, selection, text and date; the rest is counted
  QString subject;  // the document's
  int facesPerPart = kFacesPerPart;
};

// Writes the book to `out` (a descriptor open for writing), its parts to
// unnamed files in `partsDirectory`. The data layer's errors go up, and so
// do the errors of writing (as std::exception).
BookFacts WriteBook(int out, const std::string& partsDirectory, CatalogueFaces& faces,
                    const InstalledFaces& installed, const BookRequest& request,
                    ProgressBar& progress);

}  // namespace pellory::specimen
