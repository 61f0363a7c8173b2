// The catdump program itself: output streams and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode;
  std::string out;
};

// Runs catdump with the arguments (already shell-quoted) and standard error
// folded into the output.
Outcome RunCatdump(const std::string& args) {
  std::string command = "'";
  command += PELLORY_CATDUMP;
  command += "' ";
  command += args;
  command += " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return {-1, ""};
  std::string out;
  std::array<char, 4096> buffer;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(CatdumpProgram, ExitCodesAndStreams) {
  const fs::path samples = fs::path(PELLORY_SHARED_DIR) / "testdata" / "paradox";
  if (!fs::exists(samples / "MANIFEST.md")) GTEST_SKIP() << "sample tables not found";
  std::string dir = "'";
  dir += samples.string();
  dir += '\'';
  const fs::path passwordFile =
      fs::temp_directory_path() / ("catdump_password_" + std::to_string(::getpid()));
  std::ofstream(passwordFile) << "rparadox\n";
  const struct {
    std::string args;
    int exitCode;
    std::string outStart;
  } cases[] = {
      {"--count " + dir + " TypSammlung", 0, "5\n"},
      {"--password rparadox --count " + dir + " TypSammlung_encrypted", 0, "5\n"},
      {dir + " TypSammlung_encrypted", 1, "catdump: The table is encrypted"},
      {"--count", 2, "catdump: a directory or alias and a table are needed\nusage: catdump"},
      // The password from standard input, as a script hands it over.
      {"--password-file=- --count " + dir + " TypSammlung_encrypted < '" + passwordFile.string() +
           "'",
       0, "5\n"},
      {"--password-file - --count " + dir + " TypSammlung_encrypted < /dev/null", 2,
       "catdump: --password-file: standard input holds no password"},
      {"--help", 0, "usage: catdump"},
      // Filters go through the program's own compiler; the engine applies them.
      {"--filter \"Alpha ='Erste*'\" --count " + dir + " TypSammlung", 0, "1\n"},
      {"--filter \"[Integer lang] = 40 OR Alpha = 'Zweite Zeile'\" --count " + dir + " TypSammlung",
       0, "2\n"},
      {"--filter \"Alpha = 'F\xC3\xBCnfter Datensatz'\" " + dir + " TypSammlung", 0,
       "Alpha,Numerisch,W\xC3\xA4hrung,Integer kurz,Integer lang,BCD,Datum,Zeit,Datum/Zeit,Memo,"
       "Logisch,Z\xC3\xA4hler,Bin\xC3\xA4r,Bytes\nF\xC3\xBCnfter Datensatz,1.34,"},
      {"--filter \"Alpha = 'F\xC3\xBCnfter Datensatz'\" --count " + dir + " TypSammlung", 0, "1\n"},
      {"--filter \"Alpah = 'x'\" --count " + dir + " TypSammlung", 1,
       "catdump: catdump: Field 'Alpah' not found"},
      {"--filter \"Alpha =\" --count " + dir + " TypSammlung", 1,
       "catdump: Expression expected but nothing found"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunCatdump(c.args);
    EXPECT_EQ(o.exitCode, c.exitCode) << c.args << "\n" << o.out;
    EXPECT_EQ(o.out.rfind(c.outStart, 0), 0u) << c.args << "\n" << o.out;
  }
  fs::remove(passwordFile);
}

}  // namespace
