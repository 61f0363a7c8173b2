// The catalogue of fonts: every face listed, its reading kept from the
// face store or read anew on every core, the copies of one face merged, the
// records named and written in the catalogue's order, and the face store
// written beside the table for the next update.
#pragma once

#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "build_options.h"

namespace pellory::mkcatalogue {

// Thrown for "nothing to catalogue", which has its own exit code.
struct NoFonts : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Writes the table and the face store into `directory` (the staging
// directory); with options.update, reads the face store of
// options.output.
void WriteFontRecords(const std::filesystem::path& directory, const BuildOptions& options,
                      std::ostream& log, std::ostream& report);

}  // namespace pellory::mkcatalogue
