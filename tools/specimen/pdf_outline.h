// The book's navigation as PDF objects: the outline (an item per group,
// each face's entry under its group) and the link annotations' bodies.
#pragma once

#include <functional>
#include <string>

#include "book_navigation.h"
#include "pdf_book_file.h"

namespace pellory::specimen {

// The book's object of each page, counted from 1.
using PageObjects = std::function<int(int page)>;

// An explicit destination: the page, with that point at its top left.
std::string DestinationArray(const PdfPlace& place, const PageObjects& pages);

// Writes the outline; answers its root object's number, 0 for an empty one.
int WriteOutline(BookFile& book, const BookNavigation& navigation, const PageObjects& pages);

// A link annotation's body: an invisible box that goes to its target.
std::string LinkAnnotation(const PageLink& link, const PageObjects& pages);

}  // namespace pellory::specimen
