// Replays a fuzz target's seed corpus through the target's own entry
// function, so that every ordinary test run (the sanitizer suite included)
// decodes the hand-made and once-crashing inputs kept there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(PELLORY_CORPUS_DIR))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(Corpus, HoldsInputs) {
  EXPECT_FALSE(CorpusFiles().empty()) << PELLORY_CORPUS_DIR;
}

class Replay : public ::testing::TestWithParam<fs::path> {};

TEST_P(Replay, EntryFunctionTakesTheInput) {
  std::ifstream in(GetParam(), std::ios::binary);
  ASSERT_TRUE(in) << GetParam();
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
}

std::string TestName(const ::testing::TestParamInfo<fs::path>& info) {
  std::string name = info.param.filename().string();
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
      '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Seeds, Replay, ::testing::ValuesIn(CorpusFiles()), TestName);

}  // namespace
