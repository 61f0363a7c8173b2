// Which names each font type lists, in the order they are added to the
// list control. Names are compared ignoring case throughout.
#pragma once

#include <QStringList>

namespace pellory::ui {

// Ordering of the list control and of the screen font list.
bool LessIgnoringCase(const QString& a, const QString& b);

// The screen names the printer does not have, in screen order; each is
// looked for in the whole printer list.
QStringList ScreenOnly(const QStringList& screen, const QStringList& printer);

// The printer names the screen does not have, in printer order, looked up
// by binary search in `sortedScreen` (sorted by LessIgnoringCase).
QStringList PrinterOnly(const QStringList& printer, const QStringList& sortedScreen);

// Every printer name, then every screen name, each once: sorted ignoring
// case, a name equal to one already taken dropped, so the printer's
// spelling of a shared name stands.
QStringList BothSorted(const QStringList& printer, const QStringList& screen);

}  // namespace pellory::ui
