// The default printer and its resident fonts, asked of a real CUPS scheduler
// that each suite starts on a private socket.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "pellory/platform/printer_fonts.h"
#include "private_scheduler.h"

namespace {

using namespace pellory::platform;
using pellory::testkit::PpdWithFonts;
using pellory::testkit::PrintQueue;
using pellory::testkit::PrivateScheduler;
using pellory::testkit::SchedulerEnvironment;
using Access = PrivateScheduler::Access;

const std::vector<std::string> kFontyFonts{"Zapf-Chancery", "Courier", "Courier", "c059",
                                           "Times-Roman"};

// One scheduler per suite: starting cupsd takes a moment.
class SchedulerSuite : public ::testing::Test {
 protected:
  static std::unique_ptr<PrivateScheduler> Start(const std::vector<PrintQueue>& queues,
                                                 Access access = Access::Open) {
    if (PrivateScheduler::Program().empty()) return nullptr;
    return std::make_unique<PrivateScheduler>(queues, access);
  }
  // Skips the test when the scheduler is missing or did not start.
  static bool Usable(const std::unique_ptr<PrivateScheduler>& scheduler) {
    return scheduler && scheduler->Running();
  }
  static std::string WhyNot(const std::unique_ptr<PrivateScheduler>& scheduler) {
    return scheduler ? scheduler->Error() : "cupsd is not installed (Debian package cups)";
  }
};

#define REQUIRE_SCHEDULER(s) \
  if (!Usable(s)) GTEST_SKIP() << WhyNot(s)

class ThreeQueues : public SchedulerSuite {
 protected:
  static void SetUpTestSuite() {
    scheduler = Start({{"Fonty", PpdWithFonts(kFontyFonts), true},
                       {"Plain", "", false},
                       {"Broken", "this is not a PPD\n", false}});
  }
  static void TearDownTestSuite() { scheduler.reset(); }
  static std::unique_ptr<PrivateScheduler> scheduler;
};
std::unique_ptr<PrivateScheduler> ThreeQueues::scheduler;

struct DefaultCase {
  const char* what;
  std::function<void(SchedulerEnvironment&, const PrivateScheduler&)> choose;
  const char* expected;  // null: no default printer
};

TEST_F(ThreeQueues, DefaultPrinterFollowsTheUsersChoiceWhenInstalled) {
  REQUIRE_SCHEDULER(scheduler);
  const DefaultCase cases[] = {
      {"the scheduler's default", [](auto&, auto&) {}, "Fonty"},
      {"LPDEST", [](auto& env, auto&) { env.Set("LPDEST", "Plain"); }, "Plain"},
      {"PRINTER", [](auto& env, auto&) { env.Set("PRINTER", "Plain"); }, "Plain"},
      {"LPDEST before PRINTER",
       [](auto& env, auto&) {
         env.Set("LPDEST", "Broken");
         env.Set("PRINTER", "Plain");
       },
       "Broken"},
      {"the user's lpoptions", [](auto& env, auto&) { env.SetUserDefault("Plain"); }, "Plain"},
      {"LPDEST naming no installed queue", [](auto& env, auto&) { env.Set("LPDEST", "Missing"); },
       nullptr},
      {"lpoptions naming no installed queue",
       [](auto& env, auto&) { env.SetUserDefault("Missing"); }, nullptr},
  };
  for (const DefaultCase& c : cases) {
    SCOPED_TRACE(c.what);
    SchedulerEnvironment env(*scheduler);
    c.choose(env, *scheduler);
    if (c.expected) {
      EXPECT_EQ(DefaultPrinter(), c.expected);
    } else {
      EXPECT_THROW(DefaultPrinter(), NoDefaultPrinterError);
    }
  }
}

TEST_F(ThreeQueues, ResidentFontsInThePpdsOrderWithDuplicates) {
  REQUIRE_SCHEDULER(scheduler);
  SchedulerEnvironment env(*scheduler);
  EXPECT_EQ(ResidentFonts("Fonty"), kFontyFonts);
  EXPECT_TRUE(ResidentFonts("Plain").empty()) << "a queue without a PPD";
  try {
    ResidentFonts("Broken");
    ADD_FAILURE() << "an unreadable PPD was taken";
  } catch (const InvalidPrinterError& e) {
    EXPECT_STREQ(e.what(), "Printer selected is not valid");
  }
}

TEST_F(ThreeQueues, PrinterFontsAreAskedAgainAfterAFailureAndKeptAfterASuccess) {
  REQUIRE_SCHEDULER(scheduler);
  SchedulerEnvironment env(*scheduler);
  PrinterFonts fonts;
  env.Set("LPDEST", "Missing");
  try {
    fonts.Fonts();
    ADD_FAILURE() << "a missing default printer gave fonts";
  } catch (const NoDefaultPrinterError& e) {
    EXPECT_STREQ(e.what(), "There is no default printer currently selected");
  }
  EXPECT_FALSE(fonts.Obtained());
  env.Set("LPDEST", "Fonty");
  EXPECT_EQ(fonts.Fonts(), kFontyFonts);
  env.Set("LPDEST", "Plain");
  EXPECT_EQ(fonts.Fonts(), kFontyFonts) << "the list is kept for the rest of the run";
  env.Set("LPDEST", "Broken");
  PrinterFonts fresh;
  EXPECT_THROW(fresh.Fonts(), InvalidPrinterError);
}

// Schedulers that have no default to offer, or none at all.
class NoDefault : public SchedulerSuite {
 protected:
  static void SetUpTestSuite() {
    withoutDefault = Start({{"Fonty", PpdWithFonts(kFontyFonts), false}});
    withoutQueues = Start({});
  }
  static void TearDownTestSuite() {
    withoutDefault.reset();
    withoutQueues.reset();
  }
  static std::unique_ptr<PrivateScheduler> withoutDefault;
  static std::unique_ptr<PrivateScheduler> withoutQueues;
};
std::unique_ptr<PrivateScheduler> NoDefault::withoutDefault;
std::unique_ptr<PrivateScheduler> NoDefault::withoutQueues;

TEST_F(NoDefault, NoDefaultPrinterWithoutADefaultQueueQueuesOrScheduler) {
  REQUIRE_SCHEDULER(withoutDefault);
  REQUIRE_SCHEDULER(withoutQueues);
  {
    SchedulerEnvironment env(*withoutDefault);
    EXPECT_THROW(DefaultPrinter(), NoDefaultPrinterError) << "queues but no default";
    env.Set("PRINTER", "Fonty");
    EXPECT_EQ(DefaultPrinter(), "Fonty") << "the user's choice is enough";
  }
  {
    SchedulerEnvironment env(*withoutQueues);
    EXPECT_THROW(DefaultPrinter(), NoDefaultPrinterError) << "no queue at all";
  }
  pellory::testkit::ScratchDir nowhere("pellory-nocups");
  auto env = SchedulerEnvironment::Unreachable(nowhere.path().string());
  EXPECT_THROW(DefaultPrinter(), NoDefaultPrinterError) << "no scheduler listening";
}

class Refusing : public SchedulerSuite {
 protected:
  static void SetUpTestSuite() {
    scheduler = Start({{"Fonty", PpdWithFonts(kFontyFonts), true}}, Access::RefuseEveryone);
  }
  static void TearDownTestSuite() { scheduler.reset(); }
  static std::unique_ptr<PrivateScheduler> scheduler;
};
std::unique_ptr<PrivateScheduler> Refusing::scheduler;

TEST_F(Refusing, ARefusedQueryNamesTheSchedulersCodeAndText) {
  REQUIRE_SCHEDULER(scheduler);
  SchedulerEnvironment env(*scheduler);
  try {
    DefaultPrinter();
    ADD_FAILURE() << "a refused query gave a printer";
  } catch (const PrintQueryError& e) {
    EXPECT_EQ(e.Code(), 0x0401) << "client-error-forbidden";
    EXPECT_STREQ(e.what(), "Win32 Error.  Code: 1025.\nForbidden");
  }
}

}  // namespace
