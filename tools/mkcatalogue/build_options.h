// The command line of pellory-mkcatalogue.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "synthetic_records.h"

namespace pellory::mkcatalogue {

// Exit codes, documented in README.md.
enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitNoFonts = 3 };

inline constexpr std::uint32_t kMaxSyntheticRecords = 1'000'000;

struct BuildOptions {
  std::filesystem::path output;
  std::optional<std::filesystem::path> fontsDir;  // none: fontconfig's fonts
  std::string password = "mirabo";                // empty: a plain table
  std::optional<std::uint32_t> synthetic;
  CategoryMix mix = EvenMix();
  bool quiet = false;
  bool report = false;  // each font record's category and the rule behind it
  // Keep the readings of unchanged faces from the face store of `output`.
  bool update = false;
  unsigned threads = 0;  // faces read side by side; 0: one a processor
  bool help = false;
};

// Throws std::invalid_argument with a message for the user.
BuildOptions ParseOptions(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace pellory::mkcatalogue
