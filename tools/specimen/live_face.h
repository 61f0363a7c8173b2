// A catalogue face set live by Qt: the font Qt matches to the installed face,
// checked to be that very face, so that no character of the user's text is
// ever drawn in another one.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QRawFont>
#include <QString>
#include <string>
#include <vector>

#include "installed_faces.h"

namespace pellory::specimen {

// The one size the face is laid out at; the waterfall's sizes are this one
// scaled, so that Qt makes a single font engine for the face (making one
// costs a fontconfig match against every installed font).
inline constexpr double kLayoutPoints = 12;

struct LiveFace {
  QFont font;       // no font merging: a character the face lacks is not taken from another
  QRawFont raw;     // the face Qt draws with, at an arbitrary size
  QString refusal;  // empty when the face can be used; else why not
};

// The face as Qt sets it. Qt matches by family and style name; the match is
// accepted only when its font tables (or, for faces without any, its names)
// are those of the installed file.
LiveFace MatchLiveFace(const InstalledFace& face, QPaintDevice& device);

// Lets Qt go of every font engine nothing holds any more. Qt keeps the
// engines it has made in a cache that, without an event loop, is never
// trimmed; removing an application font is the one public way to empty it,
// so `anyFontFile` (an installed face) is added and removed again.
void ReleaseUnusedFonts(const std::string& anyFontFile);

// Which characters of a text a face draws itself. White space is not
// counted; a face may leave it to the layout.
struct Coverage {
  int covered = 0;
  int counted = 0;
  // UTF-16 ranges [start, end) of the characters the face lacks.
  std::vector<std::pair<int, int>> missing;
  bool Whole() const { return covered == counted; }
};
Coverage CoverageOf(const QRawFont& face, const QString& text);

}  // namespace pellory::specimen
