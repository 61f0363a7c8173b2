// What FreeType reads of an installed face's own file: whether it can be
// read at all, what it holds (glyph count, format), and what tells it apart
// from another file of the same names (its 'head' table, or the advances of
// a few letters for faces without tables). Fontconfig's cache may name a
// file that has since been damaged or replaced; this is the file as it is.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "installed_faces.h"

namespace pellory::specimen {

struct FaceFile {
  std::string error;  // empty when FreeType read the face; else why not
  long glyphs = 0;
  std::string format;  // FreeType's name of it: "TrueType", "CFF", "Type 1"...
  QByteArray head;     // empty for a face without one (Type 1, bitmap formats)
  int unitsPerEm = 0;
  // Of a few letters, in font units, at the face's named instance.
  std::vector<std::pair<char32_t, long>> advances;
  // The characters its character map maps, in order, and their glyphs
  // (read only when asked for).
  std::vector<std::pair<char32_t, unsigned>> characters;
};

// Opens the face and loads the glyphs of `text`'s characters, as setting
// it will; with `characters`, lists its character map too (its Unicode
// map, else its symbol map).
FaceFile ReadFaceFile(const InstalledFace& face, const QString& text, bool characters = false);

// The faces' files as read once for the whole book: the second pass over
// the faces reads what the first did (but the character maps of --charset,
// which are read afresh so as not to be kept for every face).
class FaceFiles {
 public:
  const FaceFile& Read(const InstalledFace& face, const QString& text, bool characters);

 private:
  std::map<std::pair<std::string, int>, FaceFile> read_;
  FaceFile withCharacters_;
};

// Why the installed file cannot stand for the catalogue's record: it is
// damaged, or it holds another face than the description's "Glyphs:" and
// "Format:" lines say. Empty when it can.
QString FileProblem(const FaceFile& file, const std::string& description);

}  // namespace pellory::specimen
