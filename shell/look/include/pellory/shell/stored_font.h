// A font as the window descriptions store it (a Windows face name and a
// height) and its translation to a concrete installed font.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace pellory::shell {

struct StoredFont {
  enum Style { Regular = 0, Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

  QString name = QStringLiteral("System");
  // Negative: character height without internal leading (the em size);
  // positive: full cell height (ascent plus descent). Pixels at 96 dpi.
  int height = -13;
  QColor color = Qt::black;
  int style = Regular;

  // The installed font that stands in for `name`, sized in pixels so that
  // layouts do not depend on the screen's resolution or the machine's fonts.
  QFont ToQFont() const;

  bool operator==(const StoredFont&) const = default;
};

// The full character height of `font` (ascent plus descent, rounded up as
// a whole), the height that labels and text boxes size themselves by.
int TextHeight(const QFont& font);

// The installed family used for a stored face name; unknown names map to
// the family used for "System".
QString InstalledFamilyFor(const QString& storedName);

}  // namespace pellory::shell
