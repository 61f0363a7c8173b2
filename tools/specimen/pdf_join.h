// The parts of the book joined into one PDF by qpdf: the pages in order,
// the first part's document information (title, creator), the parts'
// streams copied as they are.
#pragma once

#include <vector>

#include "part_file.h"

namespace pellory::specimen {

// Writes the joined book to `out` (a descriptor open for writing, left
// open); qpdf's and the system's errors go up as std::exception.
void JoinParts(const std::vector<PartFile>& parts, int out);

}  // namespace pellory::specimen
