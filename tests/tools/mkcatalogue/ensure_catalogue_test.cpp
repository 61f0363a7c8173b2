// scripts/ensure-catalogue.sh: the build's catalogue and engine
// configuration, made only when missing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "font_sources.h"
#include "pellory/testkit/table_reader.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class EnsureCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FontconfigFaces().empty()) GTEST_SKIP() << "fontconfig lists no fonts";
    build_ = scratch_.path() / "build";
    fs::create_directories(build_);
    fs::create_symlink(fs::path(PELLORY_MKCATALOGUE).parent_path(), build_ / "bin");
    data_ = scratch_.path() / "data";
  }
  int RunScript() {
    const std::string command =
        "bash " PELLORY_ENSURE_SCRIPT " " + build_.string() + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  testkit::ScratchDir scratch_;
  fs::path build_, data_;
};

TEST_F(EnsureCatalogueTest, MakesTheCatalogueAndConfigurationOnce) {
  ASSERT_EQ(RunScript(), 0);
  EXPECT_EQ(ReadText(data_ / "engine.conf"),
            "[engine]\nlibrary_dir = " + (build_ / "bin").string() +
                "\n[alias pellory]\npath = " + (data_ / "catalogue").string() + "\n");
  testkit::TableReader reader(data_ / "catalogue", "pelloryfont.DB", {"mirabo"});
  ASSERT_EQ(reader.result(), PEL_OK);
  EXPECT_FALSE(reader.Records().empty());

  // A configuration the user changed stays; a lost catalogue is made again.
  std::ofstream(data_ / "engine.conf") << "# mine\n";
  fs::remove(data_ / "catalogue" / "pelloryfont.DB");
  ASSERT_EQ(RunScript(), 0);
  EXPECT_EQ(ReadText(data_ / "engine.conf"), "# mine\n");
  EXPECT_TRUE(fs::exists(data_ / "catalogue" / "pelloryfont.DB"));
}

TEST_F(EnsureCatalogueTest, FailsWithoutTheTool) {
  fs::remove(build_ / "bin");
  fs::create_directories(build_ / "bin");
  EXPECT_EQ(RunScript(), 1);
  EXPECT_FALSE(fs::exists(data_ / "engine.conf"));
}

}  // namespace
}  // namespace pellory::mkcatalogue
