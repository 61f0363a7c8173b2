// pellory-specimen --print against a CUPS scheduler of the test's own.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
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
  int id = 0;
};

std::vector<Job> Jobs() {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
  std::vector<Job> found;
  for (int i = 0; i < count; ++i) found.push_back({jobs[i].dest, jobs[i].title, jobs[i].id});
  cupsFreeJobs(count, jobs);
  return found;
}

// A job's attributes as the scheduler keeps them: name to value (several
// values joined with commas).
std::map<std::string, std::string> JobAttributes(int id) {
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  const std::string uri = "ipp://localhost/jobs/" + std::to_string(id);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
  std::map<std::string, std::string> attributes;
  ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
  for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
    if (!ippGetName(a)) continue;
    char value[1024];
    ippAttributeString(a, value, sizeof value);
    attributes[ippGetName(a)] = value;
  }
  ippDelete(response);
  return attributes;
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

// As lp -d QUEUE[/INSTANCE] prints: the options saved with lpoptions for
// the queue, or for the instance, go with the job, and the job and its
// document are named after the book.
TEST_F(SpecimenPrint, SavedOptionsAndInstancesAsLpPrints) {
  const auto scheduler = Start({{"Specimens", "", true}});
  if (!scheduler) GTEST_SKIP() << "no CUPS scheduler could be started (Debian package cups)";
  SchedulerEnvironment environment(*scheduler);
  fs::create_directories(fs::path(scheduler->Home()) / ".cups");
  std::ofstream(fs::path(scheduler->Home()) / ".cups/lpoptions")
      << "Dest Specimens sides=two-sided-long-edge media=A4\n"
      << "Dest Specimens/proof sides=one-sided media=Letter\n";
  const struct {
    std::vector<std::string> args;
    const char* sides;
    const char* media;
  } cases[] = {
      {{}, "two-sided-long-edge", "A4"},
      {{"--printer", "Specimens"}, "two-sided-long-edge", "A4"},
      {{"--printer", "Specimens/proof"}, "one-sided", "Letter"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Print(c.args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("request id is Specimens-", 0), 0u) << run.out;
    const std::vector<Job> jobs = Jobs();
    ASSERT_FALSE(jobs.empty());
    const auto attributes = JobAttributes(jobs.back().id);
    EXPECT_EQ(attributes.at("job-name"), "Specimen book: Handwriting");
    EXPECT_EQ(attributes.at("sides"), c.sides);
    EXPECT_EQ(attributes.at("media"), c.media);
    EXPECT_EQ(attributes.at("document-name-supplied"), "Specimen book: Handwriting");
  }
  // An instance nothing was saved for is the queue with its own defaults, as lp takes it.
  const ProgramRun unsaved = Print({"--printer", "Specimens/nothing"});
  ASSERT_EQ(unsaved.exitCode, 0) << unsaved.err;
  const auto attributes = JobAttributes(Jobs().back().id);
  EXPECT_EQ(attributes.count("sides"), 0u);
  EXPECT_EQ(attributes.at("job-name"), "Specimen book: Handwriting");
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
