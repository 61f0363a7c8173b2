// The engine's configuration file: sections holding `name = value` lines.
//
//   # comment lines start with # or ;
//   [engine]
//   library_dir = /dir/holding/libpellory_engine.so
//   [alias pellory]
//   path = /dir/holding/the/tables
//
// Relative paths are taken relative to the file's own directory. Shared by
// the engine (aliases) and the program's loader (library_dir).
#pragma once

#include <map>
#include <optional>
#include <string>

namespace pellory::engine {

struct AliasConfig {
  std::string file;                               // the file read; empty when none was found
  std::string libraryDir;                         // empty when not given
  std::map<std::string, std::string> aliasPaths;  // alias name (lower case) to path
};

// Where the configuration is looked for: $PELLORY_ENGINE_CONFIG when set
// (and then nowhere else); else $XDG_CONFIG_HOME/pellory/engine.conf
// (~/.config when unset); else /etc/pellory/engine.conf; else the
// configuration installed with the running program (InstalledConfigFile).
// Answers the first that names an existing file, or nothing.
std::optional<std::string> FindConfigFile();

// The same search, with the installation's configuration taken as that of a
// program in `programDir` (none when empty).
std::optional<std::string> FindConfigFile(const std::string& programDir);

// The configuration an installation keeps for the programs in its bin
// directory `programDir`: share/pellory/engine.conf under the same prefix,
// written when the program was installed. Empty when programDir is.
std::string InstalledConfigFile(const std::string& programDir);

// The directory where the installation of the programs in `programDir`
// keeps the engine library (lib/<multiarch>/pellory under the same prefix),
// for a configuration that names none. Empty when programDir is.
std::string InstalledEngineDir(const std::string& programDir);

// The user's own configuration, $XDG_CONFIG_HOME/pellory/engine.conf
// (~/.config when unset), whether or not it exists; empty when neither
// variable is set. The machine's is SystemConfigFile().
std::string UserConfigFile();
std::string SystemConfigFile();

// The directory of the running program; empty when it cannot be told.
std::string RunningProgramDir();

// Where FindConfigFile looked and how to get a configuration, as one
// sentence for the error of an alias that no configuration names.
std::string NoConfigFileText(const std::string& alias);

// What to say of the directory the alias names in `file` when it does not
// exist: which file names it, and how to get a catalogue of one's own.
std::string MissingAliasDirectoryText(const std::string& alias, const std::string& file);

// Parses the text of a configuration file found at `file`. A malformed line
// sets *error (when given) to "line N: ..." and the line is skipped.
AliasConfig ParseConfig(const std::string& text, const std::string& file,
                        std::string* error = nullptr);

// FindConfigFile, then ParseConfig; an empty configuration when none exists.
// A file that exists but cannot be read sets *error.
AliasConfig LoadConfig(std::string* error = nullptr);

}  // namespace pellory::engine
