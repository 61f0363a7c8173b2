// The named mutex with real processes: who sees it created, who sees it
// already there, and what is left once its holders end.
#include "pellory/platform/named_mutex.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>

#include "mutex_test_support.h"
#include "pellory/platform/mutex_location.h"
#include "scratch_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using mutextest::EnvironmentOverride;
using mutextest::HoldingProcess;
using pellory::platform::NamedMutex;
using pellory::platform::NamedMutexPath;
using Outcome = NamedMutex::Outcome;

constexpr char kName[] = "Tessal 4";

char Code(Outcome outcome) {
  return outcome == Outcome::Created ? 'C' : outcome == Outcome::AlreadyExisted ? 'E' : 'F';
}

// A process that creates the mutex, gives up ownership as the program
// does, and holds it; its answer is the outcome's code.
std::unique_ptr<HoldingProcess> Holder(const std::string& name,
                                       const mutextest::StartGate* gate = nullptr) {
  return std::make_unique<HoldingProcess>(
      [name] {
        // Leaked on purpose: the process holds the mutex until it ends.
        auto* mutex = new NamedMutex(NamedMutex::Create(name));
        mutex->ReleaseOwnership();
        return Code(mutex->Result());
      },
      gate);
}

class NamedMutexTest : public ::testing::Test {
 protected:
  pellory::testkit::ScratchDir runtime{"pellory-runtime"};
  EnvironmentOverride runtimeVariable{"XDG_RUNTIME_DIR", runtime.path().string()};
};

TEST_F(NamedMutexTest, FirstCreatesAndOwnsLaterOnesFindItEvenInTheSameProcess) {
  NamedMutex first = NamedMutex::Create(kName);
  EXPECT_EQ(first.Result(), Outcome::Created) << first.Failure();
  EXPECT_TRUE(first.Owned());
  first.ReleaseOwnership();
  EXPECT_FALSE(first.Owned());
  NamedMutex second = NamedMutex::Create(kName);
  EXPECT_EQ(second.Result(), Outcome::AlreadyExisted);
  EXPECT_FALSE(second.Owned());
  EXPECT_TRUE(second.Open());
  NamedMutex other = NamedMutex::Create("Tessal 5");
  EXPECT_EQ(other.Result(), Outcome::Created) << "another name is another mutex";
}

TEST_F(NamedMutexTest, StillOwnedByItsCreatorItIsFoundToo) {
  NamedMutex first = NamedMutex::Create(kName);
  ASSERT_EQ(first.Result(), Outcome::Created);
  EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::AlreadyExisted);
}

TEST_F(NamedMutexTest, ExistsWhileAnyHolderIsOpenAndEndsWithTheLast) {
  auto first = std::make_unique<NamedMutex>(NamedMutex::Create(kName));
  first->ReleaseOwnership();
  auto joined = std::make_unique<NamedMutex>(NamedMutex::Create(kName));
  ASSERT_EQ(joined->Result(), Outcome::AlreadyExisted);
  first.reset();
  EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::AlreadyExisted)
      << "the one that found it still holds it";
  joined.reset();
  EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::Created);
}

TEST_F(NamedMutexTest, AHoldingProcessThatEndsOrIsKilledLeavesNothingBehind) {
  for (const bool kill : {false, true}) {
    SCOPED_TRACE(kill ? "killed with SIGKILL" : "ended normally");
    auto holder = Holder(kName);
    ASSERT_EQ(holder->Answer(), 'C');
    EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::AlreadyExisted);
    if (kill)
      holder->Kill();
    else
      EXPECT_EQ(holder->LetGo(), 0);
    EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::Created);
  }
}

TEST_F(NamedMutexTest, ALockOfAnotherProgramOnTheFileMeansItExists) {
  for (const short type : {F_RDLCK, F_WRLCK}) {
    SCOPED_TRACE(type == F_RDLCK ? "shared record lock" : "exclusive record lock");
    const std::string path = NamedMutexPath(kName).string();
    HoldingProcess other([path, type] { return mutextest::TakeRecordLock(path, type); });
    ASSERT_EQ(other.Answer(), '1');
    const NamedMutex mutex = NamedMutex::Create(kName);
    EXPECT_EQ(mutex.Result(), Outcome::AlreadyExisted) << mutex.Failure();
    EXPECT_FALSE(mutex.Owned());
  }
}

TEST_F(NamedMutexTest, OfManyProcessesStartedAtOnceExactlyOneCreatesIt) {
  constexpr int kProcesses = 50;
  constexpr int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) {
    mutextest::StartGate gate;
    std::vector<std::unique_ptr<HoldingProcess>> copies;
    for (int i = 0; i < kProcesses; ++i) copies.push_back(Holder(kName, &gate));
    gate.Open();
    std::map<char, int> outcomes;
    for (auto& copy : copies) ++outcomes[copy->Answer()];
    EXPECT_EQ(outcomes['C'], 1) << "round " << round;
    EXPECT_EQ(outcomes['E'], kProcesses - 1) << "round " << round;
    for (auto& copy : copies) EXPECT_EQ(copy->LetGo(), 0);
    EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::Created) << "all of them have ended";
  }
}

TEST_F(NamedMutexTest, ProgramsStartedLaterDoNotInheritIt) {
  auto mutex = std::make_unique<NamedMutex>(NamedMutex::Create(kName));
  ASSERT_EQ(mutex->Result(), Outcome::Created);
  pid_t pid = -1;
  char sleep[] = "sleep", seconds[] = "60";
  char* argv[] = {sleep, seconds, nullptr};
  ASSERT_EQ(::posix_spawnp(&pid, "sleep", nullptr, nullptr, argv, environ), 0);
  mutex.reset();
  EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::Created);
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

TEST_F(NamedMutexTest, EveryNameGetsItsOwnFileDirectlyInTheDirectory) {
  const std::vector<std::string> names = {"Tessal 4", "a/b", "..", "/", "", "x y/../z"};
  std::vector<NamedMutex> held;
  for (const auto& name : names) {
    held.push_back(NamedMutex::Create(name));
    EXPECT_EQ(held.back().Result(), Outcome::Created) << name << ": " << held.back().Failure();
  }
  int files = 0;
  for (const auto& entry : fs::directory_iterator(runtime.path())) {
    EXPECT_TRUE(entry.is_regular_file()) << entry.path();
    ++files;
  }
  EXPECT_EQ(files, int(names.size()));
}

// What is found where the lock file or its directory should be.
struct Obstacle {
  const char* what;
  std::function<void(const fs::path& dir, const fs::path& file)> make;
  const char* failure;  // Part of the failure's text.
};

TEST_F(NamedMutexTest, AnythingButAPlainFileOrADirectoryThatOpensFails) {
  const Obstacle obstacles[] = {
      {"a directory", [](auto&, const fs::path& file) { fs::create_directory(file); },
       "cannot open"},
      {"a link to a file elsewhere",
       [](const fs::path& dir, const fs::path& file) {
         std::ofstream(dir / "target") << "keep";
         fs::create_symlink(dir / "target", file);
       },
       "cannot open"},
      {"a FIFO", [](auto&, const fs::path& file) { ::mkfifo(file.c_str(), 0600); },
       "is not a plain file"},
      {"a missing runtime directory", [](const fs::path& dir, auto&) { fs::remove_all(dir); },
       "cannot open"},
  };
  for (const Obstacle& obstacle : obstacles) {
    SCOPED_TRACE(obstacle.what);
    pellory::testkit::ScratchDir base("pellory-obstacle");
    const fs::path dir = base.path() / "runtime";
    fs::create_directory(dir);
    EnvironmentOverride variable("XDG_RUNTIME_DIR", dir.string());
    obstacle.make(dir, NamedMutexPath(kName));
    const NamedMutex mutex = NamedMutex::Create(kName);
    EXPECT_EQ(mutex.Result(), Outcome::Failed);
    EXPECT_FALSE(mutex.Open());
    EXPECT_NE(mutex.Failure().find(obstacle.failure), std::string::npos) << mutex.Failure();
    if (fs::exists(dir / "target")) {
      std::string text;
      std::ifstream(dir / "target") >> text;
      EXPECT_EQ(text, "keep") << "the link's target is left alone";
    }
  }
}

class FallbackDirectoryTest : public ::testing::Test {
 protected:
  pellory::testkit::ScratchDir temp{"pellory-temp"};
  EnvironmentOverride noRuntime{"XDG_RUNTIME_DIR", std::nullopt};
  EnvironmentOverride tempVariable{"TMPDIR", temp.path().string()};
  const fs::path fallback = temp.path() / ("pellory-" + std::to_string(::geteuid()));
};

TEST_F(FallbackDirectoryTest, IsCreatedPrivateOnFirstUse) {
  const NamedMutex mutex = NamedMutex::Create(kName);
  ASSERT_EQ(mutex.Result(), Outcome::Created) << mutex.Failure();
  struct stat st {};
  ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(fs::is_regular_file(fallback / pellory::platform::NamedMutexFileName(kName)));
  EXPECT_EQ(NamedMutex::Create(kName).Result(), Outcome::AlreadyExisted);
}

TEST_F(FallbackDirectoryTest, OneThatOthersMayEnterOrALinkIsRefused) {
  const Obstacle obstacles[] = {
      {"open to the group",
       [](const fs::path& dir, auto&) {
         fs::create_directory(dir);
         ::chmod(dir.c_str(), 0750);
       },
       "is not a private directory"},
      {"a link to a private directory",
       [](const fs::path& dir, auto&) {
         fs::create_directory(dir.string() + "-real");
         ::chmod((dir.string() + "-real").c_str(), 0700);
         fs::create_directory_symlink(dir.string() + "-real", dir);
       },
       "cannot open"},
      {"a plain file", [](const fs::path& dir, auto&) { std::ofstream(dir) << "x"; },
       "cannot open"},
  };
  for (const Obstacle& obstacle : obstacles) {
    SCOPED_TRACE(obstacle.what);
    fs::remove_all(fallback);
    fs::remove_all(fallback.string() + "-real");
    obstacle.make(fallback, {});
    const NamedMutex mutex = NamedMutex::Create(kName);
    EXPECT_EQ(mutex.Result(), Outcome::Failed);
    EXPECT_NE(mutex.Failure().find(obstacle.failure), std::string::npos) << mutex.Failure();
  }
}

}  // namespace
