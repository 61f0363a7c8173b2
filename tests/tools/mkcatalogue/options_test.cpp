// Command lines of pellory-mkcatalogue, and the program's exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "build_options.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::mkcatalogue {
namespace {

TEST(OptionsTest, DefaultsAndEachOption) {
  BuildOptions o = ParseOptions({"out"});
  EXPECT_EQ(o.output, "out");
  EXPECT_EQ(o.password, "mirabo");
  EXPECT_FALSE(o.fontsDir || o.synthetic || o.quiet || o.report || o.update);
  o = ParseOptions(
      {"--fonts-dir", "/f", "--password", "pw", "--quiet", "--report", "--update", "out"});
  EXPECT_EQ(*o.fontsDir, "/f");
  EXPECT_EQ(o.password, "pw");
  EXPECT_TRUE(o.quiet);
  EXPECT_TRUE(o.report);
  EXPECT_TRUE(o.update);
  o = ParseOptions(
      {"--plain", "--synthetic", "200000", "--category-mix", "Wingdings=2,Handwriting", "out"});
  EXPECT_TRUE(o.password.empty());
  EXPECT_EQ(*o.synthetic, 200000u);
  ASSERT_EQ(o.mix.size(), 2u);
  EXPECT_EQ(o.mix[0], std::make_pair(Category::Wingdings, 2u));
  EXPECT_EQ(o.mix[1], std::make_pair(Category::Handwriting, 1u));
  EXPECT_TRUE(ParseOptions({"--help"}).help);
  EXPECT_TRUE(ParseOptions({"-h"}).help);
}

// The GNU forms: a value after "=", options after the operand, "--" before
// an operand that begins with a dash.
TEST(OptionsTest, GnuForms) {
  BuildOptions o = ParseOptions({"out", "--synthetic=12", "--quiet"});
  EXPECT_EQ(o.output, "out");
  EXPECT_EQ(*o.synthetic, 12u);
  EXPECT_TRUE(o.quiet);
  o = ParseOptions({"--fonts-dir=/f", "--password=pw", "--", "-out"});
  EXPECT_EQ(*o.fontsDir, "/f");
  EXPECT_EQ(o.password, "pw");
  EXPECT_EQ(o.output, "-out");
}

TEST(OptionsTest, PasswordFromAFile) {
  testkit::ScratchDir scratch;
  const auto write = [&](const char* name, const std::string& content) {
    std::ofstream(scratch.path() / name, std::ios::binary) << content;
    return (scratch.path() / name).string();
  };
  EXPECT_EQ(ParseOptions({"--password-file", write("pw", "secret\nnext\n"), "out"}).password,
            "secret");
  EXPECT_EQ(ParseOptions({"--password-file=" + write("crlf", "secret\r\n"), "out"}).password,
            "secret");
  for (const std::string& refused :
       {write("empty", ""), write("blank-line", "\nsecret\n"), write("long", std::string(256, 'x')),
        (scratch.path() / "missing").string()}) {
    try {
      ParseOptions({"--password-file", refused, "out"});
      ADD_FAILURE() << refused << " was taken";
    } catch (const std::invalid_argument& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("--password-file: ", 0), 0u) << message;
      EXPECT_NE(message.find(refused), std::string::npos) << message;
    }
  }
  EXPECT_THROW(ParseOptions({"--password-file", write("pw2", "x\n"), "--plain", "out"}),
               std::invalid_argument);
}

TEST(OptionsTest, RefusedCommandLines) {
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"a", "b"},
      {"--fonts-dir"},
      {"--bogus", "out"},
      {"--quiet=yes", "out"},
      {"--pass", "x", "out"},  // --password or --password-file?
      {"--password", "", "out"},
      {"--password", "x", "--plain", "out"},
      {"--synthetic", "0", "out"},
      {"--synthetic", "-5", "out"},
      {"--synthetic", "12x", "out"},
      {"--synthetic", "1000001", "out"},
      {"--category-mix", "Wingdings=1", "out"},
      {"--synthetic", "5", "--category-mix", "Wingding=1", "out"},
      {"--synthetic", "5", "--category-mix", "Wingdings=0", "out"},
      {"--synthetic", "5", "--category-mix", "Wingdings=x", "out"},
      {"--synthetic", "5", "--fonts-dir", "/f", "out"},
      {"--synthetic", "5", "--report", "out"},
      {"--synthetic", "5", "--update", "out"},
      {"--update=yes", "out"},
  };
  for (const auto& args : refused) {
    std::string line;
    for (const auto& a : args) line += a + " ";
    EXPECT_THROW(ParseOptions(args), std::invalid_argument) << line;
  }
}

int RunProgram(const std::string& arguments) {
  const int status = std::system(
      (std::string(PELLORY_MKCATALOGUE) + " " + arguments + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProgramTest, ExitCodes) {
  EXPECT_EQ(RunProgram("--help"), kExitOk);
  EXPECT_EQ(RunProgram(""), kExitUsage);
  EXPECT_EQ(RunProgram("--synthetic nine /tmp/x"), kExitUsage);
  EXPECT_EQ(RunProgram("--fonts-dir /nonexistent-font-dir /tmp/pellory-never-made"), kExitFailed);
  EXPECT_EQ(RunProgram("--synthetic 3 --quiet /proc/pellory-cannot-write"), kExitFailed);
}

// The catalogue through the engine library as the program loads it.
TEST(ProgramTest, CatalogueReadByCatdump) {
  testkit::ScratchDir scratch;
  const std::string dir = (scratch.path() / "c").string();
  ASSERT_EQ(RunProgram("--quiet --synthetic 10 " + dir), kExitOk);
  const auto capture = [](const std::string& command, int* code) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    const int status = pipe ? ::pclose(pipe) : -1;
    *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
  };
  int code = -1;
  EXPECT_EQ(capture(std::string(PELLORY_CATDUMP) + " --password mirabo --count " + dir +
                        "/ pelloryfont.DB",
                    &code),
            "10\n");
  EXPECT_EQ(code, 0);
  const std::string refused =
      capture(std::string(PELLORY_CATDUMP) + " --count " + dir + "/ pelloryfont.DB", &code);
  EXPECT_NE(code, 0);
  EXPECT_NE(refused.find("encrypted"), std::string::npos) << refused;
}

}  // namespace
}  // namespace pellory::mkcatalogue
