// The parts of the book joined into one PDF: qpdf reads one part at a time,
// and its objects are written out at once under new numbers, so that joining
// holds no more than one part (qpdf's own page copying would hold every
// object of the book until the end). The pages go in order under one page
// tree; the first part's document information (title, creator) is kept;
// streams are copied as they are. The book says the highest version of its
// parts and gets an identifier.
#pragma once

#include <vector>

#include "part_file.h"

namespace pellory::specimen {

// Writes the joined book to `out` (a descriptor open for writing, left
// open); qpdf's and the system's errors go up as std::exception.
void JoinParts(const std::vector<PartFile>& parts, int out);

}  // namespace pellory::specimen
