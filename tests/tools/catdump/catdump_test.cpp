// catdump through the loaded engine: CSV, count, schema, passwords, failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "catdump_options.h"
#include "catdump_run.h"
#include "value_text.h"

namespace pellory::catdump {
namespace {

namespace fs = std::filesystem;

fs::path SampleDir() {
  return fs::path(PELLORY_SHARED_DIR) / "testdata" / "paradox";
}

struct Result {
  int code;
  std::string out, err;
};

Result RunWith(std::vector<std::string> args) {
  std::string error;
  const auto options = ParseOptions(args, &error);
  EXPECT_TRUE(options.has_value()) << error;
  if (!options) return {kExitUsage, "", error};
  std::ostringstream out, err;
  const int code = Run(*options, out, err);
  return {code, out.str(), err.str()};
}

class CatdumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(SampleDir() / "MANIFEST.md"))
      GTEST_SKIP() << "sample tables not found under " << PELLORY_SHARED_DIR;
  }
  std::string dir_ = SampleDir().string();
};

TEST_F(CatdumpTest, WritesRecordsAsCsv) {
  const Result r = RunWith({dir_, "memo"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  // Blobs as length and MD5 of their bytes.
  EXPECT_EQ(r.out,
            "Id,MEMO\n"
            "1,555:9752a08b0b5f1c60d9f40db6a2ddbbf7\n"
            "2,12:" +
                Md5Hex(std::span<const std::uint8_t>(
                    reinterpret_cast<const std::uint8_t*>("01234567890\n"), 12)) +
                "\n");
}

TEST_F(CatdumpTest, GraphicsAsLengthsWithTheirHeader) {
  const Result r = RunWith({dir_, "graphic.db"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  std::istringstream lines(r.out);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "Id,Graphic,Type");
  // Image sizes 20,078, 9,618 and 2,074,678 bytes, each with its 8-byte header.
  const char* starts[] = {"1,20086:", "2,9626:", "3,2074686:"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(rows[i + 1].rfind(starts[i], 0), 0u) << rows[i + 1];
}

TEST_F(CatdumpTest, TypSammlungRowsAndBlanks) {
  const Result r = RunWith({dir_, "TypSammlung.DB"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  std::istringstream lines(r.out);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0],
            "Alpha,Numerisch,Währung,Integer kurz,Integer lang,BCD,Datum,Zeit,Datum/Zeit,Memo,"
            "Logisch,Zähler,Binär,Bytes");
  EXPECT_EQ(rows[1],
            "AAA Irgendein Text,40,40,40,40,40.000000,1970-01-01,00:00:00.000,"
            "1970-01-01 11:00:00.000,,,1,,");
  EXPECT_EQ(rows[5],
            "Zweite Zeile,-40,-40,-40,-40,-40.000000,1999-09-09,11:11:11.000,"
            "2003-06-10 11:11:11.000,,TRUE,2,,");
}

TEST_F(CatdumpTest, EncryptedTableWithPasswordEqualsThePlainOne) {
  const Result plain = RunWith({dir_, "TypSammlung"});
  const Result secret =
      RunWith({"--password", "wrong", "--password", "rparadox", dir_, "TypSammlung_encrypted"});
  ASSERT_EQ(secret.code, kExitOk) << secret.err;
  EXPECT_EQ(secret.out, plain.out);
}

TEST_F(CatdumpTest, CountAndSchema) {
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"--count", dir_, "graphic.db"}, "3\n"},
      {{"--count", dir_, "TypSammlung"}, "5\n"},
      {{"--schema", dir_, "memo.db"}, "name,type,subtype,size\nId,6,29,0\nMEMO,3,22,250\n"},
  };
  for (const auto& c : cases) {
    const Result r = RunWith(c.args);
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, c.out) << c.args.back();
  }
}

TEST_F(CatdumpTest, FailuresPrintTheEngineTextAndExitNonZero) {
  const struct {
    std::vector<std::string> args;
    std::string errStart;
    std::string errHolds;
  } cases[] = {
      {{dir_, "TypSammlung_encrypted"},
       "catdump: The table is encrypted and no password given matches.\n",
       (SampleDir() / "TypSammlung_encrypted.DB").string()},
      {{dir_, "encrypted35.db"},
       "catdump: The table is encrypted and no password given matches.\n",
       "encrypted35.db"},
      {{"--password", "rparadox", dir_, "encryptedmemo.db"},
       "catdump: The table is encrypted and no password given matches.\n",
       "encryptedmemo.db"},
      {{dir_, "missing"}, "catdump: Table does not exist.\n", "missing.DB"},
      {{"/no/such/dir", "t"}, "catdump: Directory does not exist.\n", "/no/such/dir"},
  };
  for (const auto& c : cases) {
    const Result r = RunWith(c.args);
    EXPECT_EQ(r.code, kExitEngineError);
    EXPECT_EQ(r.out.find("\n"), std::string::npos);
    EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.errHolds), std::string::npos) << r.err;
  }
}

TEST(CatdumpOptions, CommandLines) {
  const struct {
    std::vector<std::string> args;
    bool ok;
    Output output;
    std::size_t passwords;
    std::string database;
  } cases[] = {
      {{"dir", "t"}, true, Output::Records, 0, "dir"},
      {{"--password", "a", "--password", "b", "--count", "dir", "t"},
       true,
       Output::Count,
       2,
       "dir"},
      {{"--schema", "alias", "t"}, true, Output::Schema, 0, "alias"},
      // The GNU forms: a value after "=", options after the operands, "--".
      {{"--password=a", "dir", "t", "--count"}, true, Output::Count, 1, "dir"},
      {{"--filter=Alpha = 'x'", "--", "-dir", "t"}, true, Output::Records, 0, "-dir"},
      {{"--count", "--schema", "dir", "t"}, false, Output::Records, 0, ""},
      {{"--password"}, false, Output::Records, 0, ""},
      {{"--pass", "a", "dir", "t"}, false, Output::Records, 0, ""},  // --password or -file?
      {{"--count=1", "dir", "t"}, false, Output::Records, 0, ""},
      {{"--password-file", "/nonexistent/pw", "dir", "t"}, false, Output::Records, 0, ""},
      {{"dir"}, false, Output::Records, 0, ""},
      {{"dir", "t", "extra"}, false, Output::Records, 0, ""},
      {{"--", "--count", "dir", "t"}, false, Output::Records, 0, ""},
      {{"--frobnicate", "dir", "t"}, false, Output::Records, 0, ""},
      {{"-x", "dir", "t"}, false, Output::Records, 0, ""},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto options = ParseOptions(c.args, &error);
    ASSERT_EQ(options.has_value(), c.ok) << c.args[0] << ": " << error;
    if (!options) {
      EXPECT_NE(error, "");
      continue;
    }
    EXPECT_EQ(options->output, c.output);
    EXPECT_EQ(options->passwords.size(), c.passwords);
    EXPECT_EQ(options->database, c.database);
  }
  std::string error;
  EXPECT_TRUE(ParseOptions({"--help"}, &error)->help);
  EXPECT_TRUE(ParseOptions({"--version"}, &error)->version);
}

// A password file gives its first line, without the line's end; a file
// without one, or with one no password can be, is refused with its name.
TEST(CatdumpOptions, PasswordFiles) {
  const fs::path dir = fs::temp_directory_path() / ("catdump_pw_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const struct {
    const char* name;
    std::string content;
    const char* password;  // nullptr: refused
    const char* refusal;
  } cases[] = {
      {"plain", "rparadox\n", "rparadox", ""},
      {"no-line-end", "rparadox", "rparadox", ""},
      {"crlf", "rparadox\r\nsecond line\n", "rparadox", ""},
      {"blanks-kept", " pass word \n", " pass word ", ""},
      {"longest", std::string(255, 'p'), "", ""},
      {"empty", "", nullptr, "holds no password"},
      {"empty-first-line", "\nrparadox\n", nullptr, "holds no password"},
      {"too-long", std::string(256, 'p') + "\n", nullptr, "longer than a password"},
      {"nul", std::string("a\0b\n", 4), nullptr, "NUL"},
  };
  for (const auto& c : cases) {
    const fs::path file = dir / c.name;
    std::ofstream(file, std::ios::binary) << c.content;
    std::string error;
    const auto options = ParseOptions({"--password-file", file.string(), "d", "t"}, &error);
    ASSERT_EQ(options.has_value(), c.password != nullptr) << c.name << ": " << error;
    if (!options) {
      EXPECT_NE(error.find(file.string()), std::string::npos) << error;
      EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
      continue;
    }
    const std::string expected = *c.password ? c.password : std::string(255, 'p');
    EXPECT_EQ(options->passwords, std::vector<std::string>{expected}) << c.name;
  }
  std::string error;
  EXPECT_FALSE(ParseOptions({"--password-file", (dir / "missing").string(), "d", "t"}, &error));
  EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
  EXPECT_FALSE(ParseOptions({"--password-file=-", "--password-file", "-", "d", "t"}, &error));
  EXPECT_NE(error.find("standard input"), std::string::npos) << error;
  fs::remove_all(dir);
}

TEST(CatdumpText, StartFailureAndValueTexts) {
  EXPECT_EQ(StartFailureMessage(0x2108),
            "An error occurred while attempting to initialize the database engine (error $2108)");
  EXPECT_EQ(StartFailureMessage(0x2a06),
            "An error occurred while attempting to initialize the database engine (error $2A06)");
  EXPECT_EQ(DateText(1), "0001-01-01");
  EXPECT_EQ(DateText(719163), "1970-01-01");
  EXPECT_EQ(DateText(730179), "2000-02-29");
  EXPECT_EQ(TimeText(40271000), "11:11:11.000");
  EXPECT_EQ(CsvCell("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvCell("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvCell("plain"), "plain");
}

}  // namespace
}  // namespace pellory::catdump
