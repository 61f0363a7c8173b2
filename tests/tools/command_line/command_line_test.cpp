// What the tools' command lines share: the argument vector getopt_long
// scans and the reading of password files.
#include <getopt.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "pellory/tools/argument_vector.h"
#include "pellory/tools/password_files.h"
#include "scratch_dir.h"

namespace pellory::tools {
namespace {

using testkit::ScratchDir;

TEST(ArgumentVector, GivesGetoptTheProgramNameTheArgumentsAndANullEnd) {
  ArgumentVector argv("tool", {"out", "--quiet", ""});
  ASSERT_EQ(argv.Count(), 4);
  EXPECT_STREQ(argv.At(0), "tool");
  EXPECT_STREQ(argv.At(3), "");
  EXPECT_EQ(argv.Pointers()[4], nullptr);
  EXPECT_THROW(argv.At(5), std::out_of_range);

  // getopt_long moves the options before the operands; At follows it.
  const option longOptions[] = {{"quiet", no_argument, nullptr, 'q'}, {nullptr, 0, nullptr, 0}};
  optind = 0;
  opterr = 0;
  EXPECT_EQ(getopt_long(argv.Count(), argv.Pointers(), "", longOptions, nullptr), 'q');
  EXPECT_EQ(getopt_long(argv.Count(), argv.Pointers(), "", longOptions, nullptr), -1);
  ASSERT_EQ(optind, 2);
  EXPECT_STREQ(argv.At(1), "--quiet");
  EXPECT_STREQ(argv.At(2), "out");
}

// A file gives its first line without the line's end; a first line that
// can be no password is refused, naming the file, in the words every tool
// uses.
TEST(PasswordFiles, FirstLineOrRefusal) {
  ScratchDir scratch("pellory-password-files");
  const struct {
    const char* name;
    std::string content;
    std::string password;  // empty: refused
    std::string refusal;   // after "--password-file: " and the file's name
  } cases[] = {
      {"plain", "secret\nnext\n", "secret", ""},
      {"no-line-end", "secret", "secret", ""},
      {"crlf", "secret\r\nnext\n", "secret", ""},
      {"blanks-kept", " pass word \n", " pass word ", ""},
      {"cr-inside", "pa\rss\n", "pa\rss", ""},
      {"utf8", "m\xC3\xBChle\n", "m\xC3\xBChle", ""},
      {"longest", std::string(kMaxPassword, 'p') + "\n", std::string(kMaxPassword, 'p'), ""},
      {"empty", "", "", " holds no password on its first line"},
      {"empty-first-line", "\nsecret\n", "", " holds no password on its first line"},
      {"crlf-only", "\r\nsecret\n", "", " holds no password on its first line"},
      {"nul", std::string("pa\0ss\n", 6), "", " holds a NUL byte in its first line"},
      {"too-long", std::string(kMaxPassword + 1, 'p') + "\n", "",
       " holds a first line longer than a password may be (255 bytes)"},
      {"too-long-no-end", std::string(4096, 'p'), "",
       " holds a first line longer than a password may be (255 bytes)"},
  };
  for (const auto& c : cases) {
    const std::string path = (scratch.path() / c.name).string();
    std::ofstream(path, std::ios::binary) << c.content;
    std::istringstream none;
    PasswordFiles files(none);
    std::string why;
    const std::optional<std::string> password = files.Read(path, &why);
    if (c.password.empty()) {
      EXPECT_FALSE(password) << c.name;
      EXPECT_EQ(why, "--password-file: " + path + c.refusal) << c.name;
    } else {
      EXPECT_EQ(password, c.password) << c.name << ": " << why;
    }
  }
}

TEST(PasswordFiles, UnreadableAndEndlessFilesAreRefused) {
  ScratchDir scratch("pellory-password-files");
  const std::string missing = (scratch.path() / "missing").string();
  std::istringstream none;
  PasswordFiles files(none);
  std::string why;
  EXPECT_FALSE(files.Read(missing, &why));
  EXPECT_EQ(why, "--password-file: cannot read " + missing + ": No such file or directory");
  // A folder opens but cannot be read.
  EXPECT_FALSE(files.Read(scratch.path().string(), &why));
  EXPECT_EQ(why, "--password-file: cannot read " + scratch.path().string());
  // A device without end: only a byte past the longest password is read.
  EXPECT_FALSE(files.Read("/dev/zero", &why));
  EXPECT_EQ(why,
            "--password-file: /dev/zero holds a first line longer than a password may be "
            "(255 bytes)");
}

// "-" reads the given standard input, once: a second "-" is refused, and
// files can still be read after it.
TEST(PasswordFiles, StandardInputGivesOnePassword) {
  ScratchDir scratch("pellory-password-files");
  const std::string file = (scratch.path() / "pw").string();
  std::ofstream(file) << "from file\n";
  std::istringstream in("from stdin\r\nsecond\n");
  PasswordFiles files(in);
  std::string why;
  EXPECT_EQ(files.Read("-", &why), "from stdin");
  EXPECT_FALSE(files.Read("-", &why));
  EXPECT_EQ(why, "standard input can give only one --password-file");
  EXPECT_EQ(files.Read(file, &why), "from file");

  std::istringstream empty;
  PasswordFiles fromEmpty(empty);
  EXPECT_FALSE(fromEmpty.Read("-", &why));
  EXPECT_EQ(why, "--password-file: standard input holds no password on its first line");
}

}  // namespace
}  // namespace pellory::tools
