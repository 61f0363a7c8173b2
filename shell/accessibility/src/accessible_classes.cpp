#include "pellory/shell/accessible_classes.h"

#include <algorithm>
#include <vector>

namespace pellory::shell {

namespace {

std::vector<AccessibleClass>& Rows() {
  static std::vector<AccessibleClass> rows;
  return rows;
}

// Qt asks for each class of the object's chain in turn; the rows answer
// for the most derived one already.
QAccessibleInterface* ProgramFactory(const QString&, QObject* object) {
  for (const AccessibleClass& row : Rows())
    if (row.type->cast(object)) return row.make(object);
  return nullptr;
}

}  // namespace

void RegisterAccessibleClasses(std::initializer_list<AccessibleClass> rows) {
  static const bool installed = (QAccessible::installFactory(&ProgramFactory), true);
  (void)installed;
  for (const AccessibleClass& row : rows) {
    const auto same = [&row](const AccessibleClass& r) { return r.type == row.type; };
    if (std::none_of(Rows().begin(), Rows().end(), same)) Rows().push_back(row);
  }
}

}  // namespace pellory::shell
