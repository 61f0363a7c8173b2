// Where the book's reader can jump: an outline of the faces under their
// categories, and links from the contents to the faces' pages. Places are
// in PDF units (points from the page's lower left corner); pages count
// from 1 in the whole book.
#pragma once

#include <string>
#include <vector>

namespace pellory::specimen {

struct PdfPlace {
  int page = 0;
  double x = 0;
  double y = 0;
};

struct OutlineEntry {
  std::string title;  // UTF-8
  std::string group;  // the entry it goes under; empty: the outline's top
  PdfPlace target;
};

struct PageLink {
  int page = 0;
  double left = 0, bottom = 0, right = 0, top = 0;
  PdfPlace target;
};

struct BookNavigation {
  std::vector<OutlineEntry> outline;    // in order; a group's entries need not be adjacent
  std::vector<std::string> groupOrder;  // groups listed first in this order, the rest as met
  std::vector<PageLink> links;
};

}  // namespace pellory::specimen
