// Lays the book out into a PDF: a first pass over the selected faces learns
// where each begins (for the contents) and how many pages there are, a
// second paints title page, contents and blocks, page by page, so that no
// more than one face's block is held at a time.
#pragma once

#include <QIODevice>
#include <QPageSize>

#include "book_pages.h"
#include "catalogue_faces.h"
#include "face_block.h"
#include "installed_faces.h"
#include "progress_bar.h"
#include "specimen_options.h"

namespace pellory::specimen {

struct BookRequest {
  SpecimenText specimen;
  bool covering = false;
  QPageSize paper;
  BookFacts facts;  // catalogue, selection, text and date; the rest is counted
};

// Writes the book to `out`; the data layer's errors go up.
BookFacts WriteBook(QIODevice& out, CatalogueFaces& faces, const InstalledFaces& installed,
                    const BookRequest& request, ProgressBar& progress);

}  // namespace pellory::specimen
