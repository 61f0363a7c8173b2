// The pages of the book: their flow (rows placed top to bottom, a new page
// when one does not fit), the footer on every page, the title page and the
// contents. The same flow runs twice: once without a painter to learn where
// each face begins and how many pages there are, once painting.
#pragma once

#include <QPainter>
#include <QString>
#include <functional>
#include <vector>

#include "book_canvas.h"
#include "book_navigation.h"
#include "book_style.h"

namespace pellory::specimen {

struct BookFacts {
  QString catalogue;  // alias or directory
  QString selection;
  QString text;  // empty: none
  QString date;
  int faces = 0;    // in the book
  int leftOut = 0;  // by --covering
  int notInstalled = 0;
  int unusable = 0;  // installed files damaged or holding another face
  int totalPages = 0;
};

class PageFlow {
 public:
  // canvas null: counting only. `turnPage` starts the next page on the
  // device (empty: counting only).
  PageFlow(const BookStyle& style, const BookFacts& facts, BookCanvas* canvas,
           std::function<void()> turnPage, int firstPage);

  int Page() const { return page_; }
  // The top of a row of that height: here when it fits, else on a new page.
  double Place(double height);
  // Starts a new page unless `height` fits below, or would not fit on any page.
  void KeepTogether(double height);
  // Space below the last row that never starts a page of its own.
  void Skip(double height) { y_ += height; }
  // Ends the current page (its footer) and starts the next.
  void NextPage();
  // Ends the last page.
  void Finish();

 private:
  void PaintFooter();

  const BookStyle& style_;
  const BookFacts& facts_;
  BookCanvas* canvas_;
  std::function<void()> turnPage_;
  int page_;
  double y_;
  bool pageUsed_ = false;
};

struct ContentsEntry {
  QString name;
  int page = 0;
  double top = 0;  // of the face's block on its page
};

// Contents lines that fit one page.
int ContentsLinesPerPage(const BookStyle& style);
int ContentsPageCount(const BookStyle& style, std::size_t entries);

void PaintTitlePage(BookCanvas& canvas, const BookStyle& style, const BookFacts& facts);
// The contents, from the flow's current page; the flow ends on its last page.
// Each entry's line links to its face: the links go to `links`, in PDF
// units by `toPdf`.
void PaintContents(PageFlow& flow, BookCanvas& canvas, const BookStyle& style,
                   const std::vector<ContentsEntry>& entries, const QTransform& toPdf,
                   std::vector<PageLink>& links);

// A place on a page of the book in PDF units.
PdfPlace PlaceOnPage(int page, const QPointF& point, const QTransform& toPdf);

}  // namespace pellory::specimen
