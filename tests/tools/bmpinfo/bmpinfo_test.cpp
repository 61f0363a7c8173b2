// bmpinfo: the digest of decoded pixels, the line per file and the exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "picture_summary.h"

namespace pellory::tools {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Digests of the RGBA bytes, worked out with sha256sum.
constexpr char kRedPixel[] = "34aaa746c25a0f105c4316bbb1f009aa359f49582656ee97d73c58132d563423";
constexpr char kRedOverBlue[] = "e0b8f3a91e53b2aee7be9493043f0d54efa0b1d7bfa018ea8f192295a7229836";

// A 24-bit file of one column: the first colour is the bottom row.
Bytes Column(std::initializer_list<std::array<std::uint8_t, 3>> bgrRows) {
  Bytes file(54 + 4 * bgrRows.size(), 0);
  const std::pair<std::size_t, std::uint8_t> fields[] = {
      {0, 'B'}, {1, 'M'}, {10, 54},
      {14, 40}, {18, 1},  {22, static_cast<std::uint8_t>(bgrRows.size())},
      {26, 1},  {28, 24}};
  for (const auto& [at, value] : fields) file[at] = value;
  std::size_t at = 54;
  for (const auto& bgr : bgrRows) {
    std::copy(bgr.begin(), bgr.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    at += 4;
  }
  return file;
}

TEST(PixelDigest, HashesRgbaBytesTopRowFirst) {
  data::BitmapImage red{.width = 1, .height = 1, .bitsPerPixel = 24, .pixels = {0xFFFF0000}};
  EXPECT_EQ(PixelDigest(red), kRedPixel);
  data::BitmapImage column{
      .width = 1, .height = 2, .bitsPerPixel = 24, .pixels = {0xFFFF0000, 0xFF0000FF}};
  EXPECT_EQ(PixelDigest(column), kRedOverBlue);
}

struct SummaryCase {
  const char* name;
  Bytes value;
  bool decoded;
  std::string text;
};

void PrintTo(const SummaryCase& c, std::ostream* os) {
  *os << c.name;
}

class Summary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(Summary, DescribesTheValue) {
  const PictureSummary summary = Summarise(GetParam().value);
  EXPECT_EQ(summary.decoded, GetParam().decoded);
  EXPECT_EQ(summary.text, GetParam().text);
}

Bytes WithGraphicHeader(Bytes file) {
  const auto size = static_cast<std::uint8_t>(file.size());
  file.insert(file.begin(), {1, 0, 0, 1, size, 0, 0, 0});
  return file;
}

INSTANTIATE_TEST_SUITE_P(
    Values, Summary,
    ::testing::Values(
        SummaryCase{"BareFile", Column({{0, 0, 255}}), true, std::string("1 1 ") + kRedPixel},
        SummaryCase{"BottomRowStoredFirst", Column({{255, 0, 0}, {0, 0, 255}}), true,
                    std::string("1 2 ") + kRedOverBlue},
        SummaryCase{"BehindGraphicHeader", WithGraphicHeader(Column({{0, 0, 255}})), true,
                    std::string("1 1 ") + kRedPixel},
        SummaryCase{"Empty",
                    {},
                    true,
                    "0 0 e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        SummaryCase{"NotABitmap", Bytes(20, 'x'), false, "Bitmap image is not valid"},
        SummaryCase{"TooShort", Bytes{'B', 'M', 0}, false, "Stream read error"}),
    [](const auto& p) { return std::string(p.param.name); });

// Runs the program and returns its exit code and output.
// (In the directory `cwd` when given.)
std::pair<int, std::string> RunBmpinfo(const std::string& arguments, const fs::path& cwd = {}) {
  const std::string inDir = cwd.empty() ? "" : "cd '" + cwd.string() + "' && ";
  const std::string command =
      inDir + std::string(BMPINFO_PROGRAM) + " " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  std::array<char, 256> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) output += buffer.data();
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("bmpinfo_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    Write("red.bmp", Column({{0, 0, 255}}));
    Write("bad.bmp", Bytes(20, 'x'));
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const Bytes& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(Program, PrintsOneLinePerFileAndSucceedsWhenAllDecode) {
  const auto [code, output] = RunBmpinfo(Path("red.bmp"));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(output, Path("red.bmp") + ": 1 1 " + kRedPixel + "\n");
}

TEST_F(Program, FailsWhenAnyFileFails) {
  const auto [code, output] = RunBmpinfo(Path("bad.bmp") + " " + Path("red.bmp"));
  EXPECT_EQ(code, 1);
  EXPECT_EQ(output, Path("bad.bmp") + ": Bitmap image is not valid\n" + Path("red.bmp") + ": 1 1 " +
                        kRedPixel + "\n");
}

TEST_F(Program, ReportsAFileItCannotRead) {
  const auto [code, output] = RunBmpinfo(Path("missing.bmp"));
  EXPECT_EQ(code, 1);
  EXPECT_EQ(output.rfind(Path("missing.bmp") + ": cannot read the file", 0), 0u) << output;
}

TEST_F(Program, AsksForFilesWithoutArguments) {
  EXPECT_EQ(RunBmpinfo("").first, 2);
  EXPECT_EQ(RunBmpinfo("--").first, 2);
}

// Options the GNU way: "--" before a file whose name begins with a dash.
TEST_F(Program, ReadsOptionsTheGnuWay) {
  Write("-red.bmp", Column({{0, 0, 255}}));
  const auto [code, output] = RunBmpinfo("-- -red.bmp", dir_);
  EXPECT_EQ(code, 0) << output;
  EXPECT_EQ(output, "-red.bmp: 1 1 " + std::string(kRedPixel) + "\n");
  EXPECT_EQ(RunBmpinfo("-red.bmp", dir_).first, 2) << "a name with a dash is an option without --";
  EXPECT_EQ(RunBmpinfo("--bogus " + Path("red.bmp")).first, 2);
  EXPECT_EQ(RunBmpinfo("--help=1").first, 2);
  const auto [helpCode, help] = RunBmpinfo("--help");
  EXPECT_EQ(helpCode, 0);
  EXPECT_EQ(help.rfind("usage: bmpinfo", 0), 0u) << help;
}

}  // namespace
}  // namespace pellory::tools
