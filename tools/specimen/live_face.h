// A catalogue face set live by Qt: the font Qt matches to the installed face,
// checked to be that very face, so that no character of the user's text is
// ever drawn in another one.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QRawFont>
#include <QString>

#include "face_file.h"
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

// The face as Qt sets it. Qt matches by family and style name (a named
// instance of a variable font by its instance's); the match is accepted
// only when its 'head' table is the file's own (for faces without tables,
// its names) and a few letters advance as they do in the file's face.
LiveFace MatchLiveFace(const InstalledFace& face, const FaceFile& file, QPaintDevice& device);

}  // namespace pellory::specimen
