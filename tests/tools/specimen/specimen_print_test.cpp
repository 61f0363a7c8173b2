// pellory-specimen --print against a CUPS scheduler of the test's own.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "private_scheduler.h"
#include "program_run.h"
#include "scratch_dir.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;
using testkit::PrintQueue;
using testkit::PrivateScheduler;
using testkit::ProgramRun;
using testkit::RunProgram;
using testkit::SchedulerEnvironment;
using testkit::ScratchDir;

struct Job {
  std::string queue, title;
};

std::vector<Job> Jobs() {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
  std::vector<Job> found;
  for (int i = 0; i < count; ++i) found.push_back({jobs[i].dest, jobs[i].title});
  cupsFreeJobs(count, jobs);
  return found;
}

class SpecimenPrint : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = std::make_unique<ScratchDir>("pellory-specimen");
    catalogue_ = scratch_->path() / "catalogue";
    const ProgramRun built =
        RunProgram({PELLORY_MKCATALOGUE, "--quiet", "--synthetic", "16", catalogue_.string()});
    if (built.exitCode != 0) ADD_FAILURE() << built.err;
  }
  static void TearDownTestSuite() { scratch_.reset(); }

  std::unique_ptr<PrivateScheduler> Start(const std::vector<PrintQueue>& queues) {
    if (PrivateScheduler::Program().empty()) return nullptr;
    auto scheduler = std::make_unique<PrivateScheduler>(queues);
    return scheduler->Running() ? std::move(scheduler) : nullptr;
  }
  static ProgramRun Print(std::vector<std::string> args) {
    args.insert(args.begin(),
                {PELLORY_SPECIMEN, "--quiet", "--category", "Handwriting", "--print"});
    args.push_back(catalogue_.string());
    return RunProgram(args);
  }

  static std::unique_ptr<ScratchDir> scratch_;
  static fs::path catalogue_;
};
std::unique_ptr<ScratchDir> SpecimenPrint::scratch_;
fs::path SpecimenPrint::catalogue_;

TEST_F(SpecimenPrint, OneJobOfTheBookInTheDefaultOrNamedQueue) {
  const auto scheduler = Start({{"Specimens", "", true}, {"Proofs", "", false}});
  if (!scheduler) GTEST_SKIP() << "no CUPS scheduler could be started (Debian package cups)";
  SchedulerEnvironment environment(*scheduler);
  const struct {
    std::vector<std::string> args;
    const char* queue;
  } cases[] = {{{}, "Specimens"}, {{"--printer", "Proofs"}, "Proofs"}};
  std::size_t before = 0;
  for (const auto& c : cases) {
    const ProgramRun run = Print(c.args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind(std::string("request id is ") + c.queue + "-", 0), 0u) << run.out;
    const std::vector<Job> jobs = Jobs();
    ASSERT_EQ(jobs.size(), before + 1);
    EXPECT_EQ(jobs.back().queue, c.queue);
    EXPECT_EQ(jobs.back().title, "Specimen book: Handwriting");
    before = jobs.size();
  }
}

TEST_F(SpecimenPrint, PrintSystemErrorsArePlain) {
  const auto scheduler = Start({{"Specimens", "", false}});
  if (!scheduler) GTEST_SKIP() << "no CUPS scheduler could be started (Debian package cups)";
  SchedulerEnvironment environment(*scheduler);
  const struct {
    std::vector<std::string> args;
    const char* err;
  } cases[] = {
      {{"--printer", "Nowhere"},
       "pellory-specimen: the print system has no queue named \"Nowhere\"\n"},
      {{}, "pellory-specimen: no default printer is set; name a queue with --printer\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Print(c.args);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_TRUE(Jobs().empty());
}

TEST_F(SpecimenPrint, UnreachablePrintSystemIsSaid) {
  ScratchDir dir("pellory-specimen");
  const auto environment = SchedulerEnvironment::Unreachable(dir.path().string());
  const ProgramRun run = Print({"--printer", "Specimens"});
  EXPECT_EQ(run.exitCode, 4);
  EXPECT_EQ(run.err.rfind("pellory-specimen: the print system cannot be reached (", 0), 0u)
      << run.err;
}

}  // namespace
}  // namespace pellory::specimen
