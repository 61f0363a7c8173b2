// The catdump program itself: output streams and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
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
  const struct {
    std::string args;
    int exitCode;
    std::string outStart;
  } cases[] = {
      {"--count " + dir + " TypSammlung", 0, "5\n"},
      {"--password rparadox --count " + dir + " TypSammlung_encrypted", 0, "5\n"},
      {dir + " TypSammlung_encrypted", 1, "catdump: The table is encrypted"},
      {"--count", 2, "catdump: a directory or alias and a table are needed\nusage: catdump"},
  };
  for (const auto& c : cases) {
    const Outcome o = RunCatdump(c.args);
    EXPECT_EQ(o.exitCode, c.exitCode) << c.args << "\n" << o.out;
    EXPECT_EQ(o.out.rfind(c.outStart, 0), 0u) << c.args << "\n" << o.out;
  }
}

}  // namespace
