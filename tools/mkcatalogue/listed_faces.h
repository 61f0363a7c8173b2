// Every listed face's reading: kept from the face store when its file is
// unchanged, else read from the file on every core. Warnings and progress
// lines come in the order of the list, whatever thread read each face.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "face_reading.h"
#include "face_store.h"

namespace pellory::mkcatalogue {

struct ListedFace {
  FaceRef face;
  std::optional<FileStamp> stamp;  // none: the file could not be looked at
  // Its reading of the last build, for a file unchanged since; each stored
  // face serves one listed face at most.
  StoredFace* stored = nullptr;
};

struct ReadingInputs {
  FontFiles* files = nullptr;
  std::filesystem::path plainFile;
  const std::set<std::string>* cursiveFamilies = nullptr;
  unsigned threads = 1;
  bool quiet = false;
};

// One reading a listed face, in the list's order: a stored one moved out of
// the store (its picture packed only), the others read with their pictures.
// Every unreadable face is warned of; faces opened are counted in progress
// lines ("50 of 2246 faces opened: 49 read, 1 skipped").
std::vector<FaceReading> ReadListedFaces(const std::vector<ListedFace>& faces,
                                         const ReadingInputs& inputs, std::ostream& log);

}  // namespace pellory::mkcatalogue
