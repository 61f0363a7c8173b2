// The parts of the book joined into one PDF: qpdf reads one part at a time,
// and its objects are written out at once under new numbers, so that joining
// holds no more than one part (qpdf's own page copying would hold every
// object of the book until the end). The pages go in order under one page
// tree; the parts' span marks become ActualText spans (content_spans.h);
// the book gets its outline, the contents' links, its document information,
// an identifier, and the highest version of its parts (1.5 at least where
// it has spans). Streams are otherwise copied as they are.
#pragma once

#include <string>
#include <vector>

#include "book_navigation.h"
#include "part_file.h"
#include "span_marks.h"

namespace pellory::specimen {

struct BookDocument {
  std::string title;  // UTF-8
  std::string subject;
  int pageCount = 0;            // of all the parts
  std::vector<SpanList> spans;  // each part's span texts, in painting order
  BookNavigation navigation;
};

// Writes the joined book to `out` (a descriptor open for writing, left
// open); qpdf's and the system's errors go up as std::exception.
void JoinParts(const std::vector<PartFile>& parts, const BookDocument& document, int out);

}  // namespace pellory::specimen
