// The span marks of a part's pages (span_marks.h) made marked-content
// spans: each span's text objects enclosed in "/Span <</ActualText ...>>
// BDC" and "EMC", the texts taken in painting order; the mark pictures
// leave the pages' resources. Qt's own emboldening and slanting of faces it
// takes for light or upright ones are undone on the way. Pages are
// rewritten in the part's memory before its objects are copied into the
// book.
#pragma once

#include <qpdf/QPDF.hh>
#include <string>
#include <string_view>
#include <vector>

#include "span_marks.h"

namespace pellory::specimen {

// The texts of one part's spans, in painting order.
class SpanTexts {
 public:
  explicit SpanTexts(const SpanList& texts) : texts_(texts) {}
  // The next span's text; an error when the pages hold more spans than were painted.
  std::string_view Next();
  bool AllTaken() const { return next_ == texts_.size(); }

 private:
  const SpanList& texts_;
  std::size_t next_ = 0;
};

// Rewrites every page of `part` that shows span marks, and answers the
// mark pictures' objects, which nothing refers to any more. Errors (marks
// out of order, more spans than texts) go up as std::exception.
std::vector<QPDFObjGen> SpanPages(QPDF& part, SpanTexts& texts);

}  // namespace pellory::specimen
