#include "pellory/ui/fonts/font_lists.h"

#include <algorithm>

namespace pellory::ui {

namespace {

bool EqualIgnoringCase(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

bool LessIgnoringCase(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) < 0;
}

QStringList ScreenOnly(const QStringList& screen, const QStringList& printer) {
  QStringList names;
  for (const QString& name : screen) {
    const bool printerHasIt = std::any_of(printer.begin(), printer.end(), [&](const QString& p) {
      return EqualIgnoringCase(p, name);
    });
    if (!printerHasIt) names.append(name);
  }
  return names;
}

QStringList PrinterOnly(const QStringList& printer, const QStringList& sortedScreen) {
  QStringList names;
  for (const QString& name : printer)
    if (!std::binary_search(sortedScreen.begin(), sortedScreen.end(), name, LessIgnoringCase))
      names.append(name);
  return names;
}

QStringList BothSorted(const QStringList& printer, const QStringList& screen) {
  QStringList sorted;
  sorted.reserve(printer.size() + screen.size());
  const auto take = [&sorted](const QString& name) {
    const auto at = std::lower_bound(sorted.begin(), sorted.end(), name, LessIgnoringCase);
    if (at == sorted.end() || !EqualIgnoringCase(*at, name)) sorted.insert(at, name);
  };
  for (const QString& name : printer) take(name);
  for (const QString& name : screen) take(name);
  return sorted;
}

}  // namespace pellory::ui
