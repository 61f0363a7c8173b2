// What a face's reading depends on besides its own file: the build of the
// builder that read it with the libraries it drew with, and the inputs
// every face shares. A face store made under others is not used.
#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace pellory::mkcatalogue {

// "build 3f2a... (FreeType 2.12.1, HarfBuzz 6.0.0, fontconfig 2.14.1)": the
// running program's GNU build ID, which changes with any change to its
// code, and the versions of the libraries it loaded. Empty when the program
// carries no build ID: then no store is ever used.
std::string BuilderIdentity();

// "plain face /usr/.../DejaVuSans.ttf (757076 bytes, modified ...);
// cursive families z003, ...".
std::string SharedInputsText(const std::filesystem::path& plainFile,
                             const std::set<std::string>& cursiveFamilies);

}  // namespace pellory::mkcatalogue
