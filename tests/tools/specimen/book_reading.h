// Books read back with libqpdf: whether a book opens with recovery off and
// without a warning (every object, stream and page content parsed), and its
// navigation: outline entries and links with the pages they go to.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pellory::testkit {

// Empty when qpdf reads the whole book cleanly; else what it said.
std::string QpdfProblems(const std::filesystem::path& pdf);

struct OutlineItem {
  std::string title;
  int page = 0;  // counted from 1
  std::vector<OutlineItem> kids;
};

struct BookLink {
  int page = 0;    // the page it is on
  int target = 0;  // the page it goes to
  double top = 0;  // of its box, in PDF units
};

struct BookNavigation {
  std::vector<OutlineItem> outline;
  std::vector<BookLink> links;
  std::map<std::string, std::string> info;  // /Title, /Subject...
  std::string version;                      // of the header
  bool hasId = false;                       // the trailer's /ID, two strings
};

BookNavigation ReadNavigation(const std::filesystem::path& pdf);

// The operands of every text matrix (Tm) the book's pages set, in order.
std::vector<std::vector<double>> TextMatrices(const std::filesystem::path& pdf);

}  // namespace pellory::testkit
