// The fonts installed on this machine as fontconfig lists them (`fc-list`),
// one entry per face: the list the catalogue builder, the specimen book, the
// screen's font list and the installed fonts window all read.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pellory::platform {

// One of a face's family names with the language fontconfig gives it
// ("en"; empty when it gives none).
struct FamilyName {
  std::string name;
  std::string language;
  bool operator==(const FamilyName&) const = default;
};

struct InstalledFace {
  std::string file;
  // FreeType's face_index as fontconfig gives it: the face of a collection
  // in bits 0-15, the number of a variable font's named instance (from 1)
  // in bits 16 and up.
  long index = 0;
  std::vector<FamilyName> families;  // fontconfig's order: the first is the family
  std::string style;                 // fontconfig's first style name
  std::string fullName;
  std::string foundry;
  std::string postscriptName;
  std::string format;  // fontconfig's font format: "TrueType", "CFF", "Type 1", "PCF", ...
  // A variable font's named instance (not its default instance, which is
  // listed as the file's plain face).
  bool namedInstance = false;
  // fontconfig's scales: weight 80 regular, 200 bold; slant 0 roman,
  // 100 italic, 110 oblique; width 100 normal; spacing 0 proportional,
  // 90 dual, 100 monospaced, 110 character cell.
  double weight = 80;
  int slant = 0;
  double width = 100;
  int spacing = 0;
  bool color = false;  // colour glyphs (emoji)

  // The first family name, or "".
  const std::string& Family() const;
  int FaceNumber() const { return static_cast<int>(index & 0xFFFF); }
  int InstanceNumber() const { return static_cast<int>(index >> 16); }
};

// Every face of fontconfig's current configuration, in the order fontconfig
// lists them. The entry fontconfig adds for a variable font as a whole
// (its axes' ranges, no style) is no face of its own and is left out: its
// default instance is listed as the file's face. Throws std::runtime_error
// when fontconfig cannot start or list.
std::vector<InstalledFace> ListInstalledFaces();

// The same from the configuration in `configFile` alone (a private folder
// of fonts, for tests), without touching the process's configuration.
std::vector<InstalledFace> ListInstalledFaces(const std::filesystem::path& configFile);

// ListInstalledFaces(), asked once a process and kept; empty when
// fontconfig failed. Safe to call from any thread.
const std::vector<InstalledFace>& InstalledFaces();

// Every family name of the faces, each once as it is spelt, in order of
// first appearance: the families `fc-list : family` prints.
std::vector<std::string> FamilyNames(const std::vector<InstalledFace>& faces);

}  // namespace pellory::platform
