#include "pellory/engine/alias_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pellory::engine {
namespace {

namespace fs = std::filesystem;

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Resolve(const std::string& value, const std::string& file) {
  const fs::path p(value);
  if (p.is_absolute() || file.empty()) return value;
  return (fs::path(file).parent_path() / p).lexically_normal().string();
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

constexpr const char* kNamedVariable = "PELLORY_ENGINE_CONFIG";
constexpr const char* kSystemFile = "/etc/pellory/engine.conf";

// The places looked at, in order: the named file when the variable is set
// (and then nothing else), else the user's file (when a home is known)
// and the system's; FindConfigFile looks at the installation's last.
struct ConfigPlaces {
  std::optional<std::string> named;
  std::string user;  // empty when neither XDG_CONFIG_HOME nor HOME is set
};

ConfigPlaces PlacesToLook() {
  ConfigPlaces places;
  if (const char* named = std::getenv(kNamedVariable); named && *named) {
    places.named = named;
    return places;
  }
  places.user = UserConfigFile();
  return places;
}

}  // namespace

std::string UserConfigFile() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return std::string(xdg) + "/pellory/engine.conf";
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::string(home) + "/.config/pellory/engine.conf";
  return {};
}

std::string SystemConfigFile() {
  return kSystemFile;
}

std::optional<std::string> FindConfigFile() {
  return FindConfigFile(RunningProgramDir());
}

std::optional<std::string> FindConfigFile(const std::string& programDir) {
  const ConfigPlaces places = PlacesToLook();
  if (places.named) return IsFile(*places.named) ? places.named : std::nullopt;
  if (!places.user.empty() && IsFile(places.user)) return places.user;
  if (IsFile(kSystemFile)) return std::string(kSystemFile);
  if (const std::string installed = InstalledConfigFile(programDir); IsFile(installed))
    return installed;
  return std::nullopt;
}

std::string InstalledConfigFile(const std::string& programDir) {
  if (programDir.empty()) return {};
  // The build gives the path from the bin directory to the data directory,
  // so that an installation under any prefix, or staged below DESTDIR,
  // finds its own file.
  return (fs::path(programDir) / PELLORY_INSTALLED_CONFIG).lexically_normal().string();
}

std::string InstalledEngineDir(const std::string& programDir) {
  if (programDir.empty()) return {};
  return (fs::path(programDir) / PELLORY_INSTALLED_ENGINE_DIR).lexically_normal().string();
}

std::string RunningProgramDir() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.parent_path().string();
}

std::string NoConfigFileText(const std::string& alias) {
  const ConfigPlaces places = PlacesToLook();
  std::string where;
  if (places.named)
    where = std::string(kNamedVariable) + " names " + *places.named + ", which is not a file";
  else if (places.user.empty())
    where = std::string(kNamedVariable) +
            " is not set, neither XDG_CONFIG_HOME nor HOME is set, "
            "and " +
            kSystemFile + " does not exist";
  else
    where = std::string(kNamedVariable) + " is not set, and neither " + places.user + " nor " +
            kSystemFile + " exists";
  return "No engine configuration file was found (" + where +
         "); \"pellory-update-catalogue --user\" builds a catalogue of the fonts you see and "
         "writes one naming it as the alias pellory, \"make run\" in the source tree makes one "
         "for a catalogue of this machine's fonts, and a catalogue built with pellory-mkcatalogue "
         "needs one whose [alias " +
         alias + "] section names its directory.";
}

std::string MissingAliasDirectoryText(const std::string& alias, const std::string& file) {
  return "the directory of the alias " + alias + " in " + file +
         "; \"pellory-update-catalogue --user\" builds a catalogue of the fonts you see and "
         "names it in your own configuration";
}

AliasConfig ParseConfig(const std::string& text, const std::string& file, std::string* error) {
  AliasConfig config;
  config.file = file;
  std::istringstream in(text);
  std::string line, section;
  int number = 0;
  auto complain = [&](const std::string& what) {
    if (error && error->empty()) *error = "line " + std::to_string(number) + ": " + what;
  };
  while (std::getline(in, line)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') {
        complain("section without ']'");
        section.clear();
        continue;
      }
      section = Lower(Trim(line.substr(1, line.size() - 2)));
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos) {
      complain("no '=' in line");
      continue;
    }
    const std::string name = Lower(Trim(line.substr(0, eq)));
    const std::string value = Trim(line.substr(eq + 1));
    if (section == "engine" && name == "library_dir") {
      config.libraryDir = Resolve(value, file);
    } else if (section.rfind("alias ", 0) == 0 && name == "path") {
      const std::string alias = Trim(section.substr(6));
      if (!alias.empty()) config.aliasPaths[alias] = Resolve(value, file);
    }
    // Other names are left for later versions and ignored.
  }
  return config;
}

AliasConfig LoadConfig(std::string* error) {
  const auto file = FindConfigFile();
  if (!file) return {};
  std::ifstream in(*file);
  if (!in) {
    if (error) *error = "cannot read " + *file;
    return {};
  }
  std::stringstream text;
  text << in.rdbuf();
  return ParseConfig(text.str(), *file, error);
}

}  // namespace pellory::engine
