#include "pellory/data/session.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "pellory/data/database.h"
#include "pellory/text/utf8.h"
#include "text.h"

namespace pellory::data {
namespace {

std::recursive_mutex& ProcessLock() {
  static std::recursive_mutex lock;
  return lock;
}

constexpr std::size_t kPasswordCharacters = 255;
constexpr std::size_t kPathCharacters = 260;
constexpr int kConfigurationMode = 7;

// Texts handed to the engine are cut to a number of characters.
std::string CutToCharacters(const std::string& utf8, std::size_t count) {
  return std::string(text::FirstUtf8Characters(utf8, count));
}

}  // namespace

TSession::TSession(std::string sessionName, bool isDefault)
    : sessionName_(std::move(sessionName)), isDefault_(isDefault) {}

TSession::~TSession() {
  StopQuietly();
}

EngineCalls& TSession::Engine() {
  if (!engine_) engine_ = MakeDefaultEngine();
  return *engine_;
}

TSession::Lock::Lock(TSession& session) : session_(session) {
  if (session_.lockCount_++ == 0) {
    ProcessLock().lock();
    if (session_.hasHandle_) session_.Engine().SetCurrentSession(session_.handle_);
  }
}

TSession::Lock::~Lock() {
  if (--session_.lockCount_ == 0) ProcessLock().unlock();
}

void TSession::RaiseEngineError(EngineResult code) {
  if (!hasHandle_ && code != kKeepsOwnTextCode)
    throw EDBEngineError(code, {}, InitialisationErrorText(code));
  std::vector<EngineErrorEntry> stack = Engine().ErrorStack();
  std::string text =
      ComposeEngineErrorText(code, stack, [this](unsigned c) { return Engine().ErrorText(c); });
  throw EDBEngineError(code, std::move(stack), text);
}

void TSession::Start() {
  std::lock_guard<std::recursive_mutex> guard(ProcessLock());
  if (hasHandle_) return;
  if (OnStartup) OnStartup(*this);
  if (isDefault_) InitialiseEngine();
  // The engine library keeps state that the process tears down at exit; the
  // process-wide session must stop before that, so its stop is registered
  // after the engine's state exists (exit handlers run in reverse order).
  if (stopAtExit_ && !stopRegistered_) {
    std::atexit(&TSession::StopDefaultSessionAtExit);
    stopRegistered_ = true;
  }
  EngineHandle handle = nullptr;
  Check(Engine().CurrentSession(handle));
  handle_ = handle;
  hasHandle_ = true;
  try {
    Check(Engine().RegisterCallbacks());
    HandOverDirectories();
    Check(Engine().SetConfigurationMode(kConfigurationMode));
  } catch (...) {
    StopQuietly();
    throw;
  }
}

void TSession::InitialiseEngine() {
  // Starting the engine can take a moment on the user's first action.
  struct PutBack {
    std::function<void()> restore;
    ~PutBack() {
      if (restore) restore();
    }
  } hourglass{ShowHourglass ? ShowHourglass() : nullptr};
  const EngineResult result = Engine().Initialise("0009");
  if (result != engine_code::kOk && result != engine_code::kAlreadyInitialised)
    RaiseEngineError(result);
}

void TSession::HandOverDirectories() {
  if (!netFileDir_.empty())
    Check(Engine().SetNetFileDirectory(CutToCharacters(netFileDir_, kPathCharacters)));
  if (!privateDir_.empty())
    Check(Engine().SetPrivateDirectory(CutToCharacters(privateDir_, kPathCharacters)));
}

void TSession::Stop() {
  std::lock_guard<std::recursive_mutex> guard(ProcessLock());
  if (!hasHandle_) return;
  EngineCalls& engine = Engine();
  engine.SetCurrentSession(handle_);
  for (auto& database : databases_) database->Close();
  std::erase_if(databases_, [](const auto& d) { return d->Temporary(); });
  engine.RemoveCallbacks();
  if (isDefault_) engine.Exit();
  hasHandle_ = false;
  handle_ = nullptr;
}

void TSession::StopQuietly() {
  try {
    Stop();
  } catch (...) {
    // Stopping runs on failure paths and at exit; there is nobody to tell.
  }
}

void TSession::SetPrivateDir(const std::string& path) {
  privateDir_ = path;
  if (!hasHandle_) return;
  Lock lock(*this);
  Check(Engine().SetPrivateDirectory(CutToCharacters(path, kPathCharacters)));
}

void TSession::SetNetFileDir(const std::string& path) {
  netFileDir_ = path;
  if (!hasHandle_) return;
  Lock lock(*this);
  Check(Engine().SetNetFileDirectory(CutToCharacters(path, kPathCharacters)));
}

void TSession::AddPassword(const std::string& password) {
  StartIfNeeded();
  if (password.empty()) return;
  Lock lock(*this);
  Check(Engine().AddPassword(CutToCharacters(password, kPasswordCharacters)));
}

void TSession::RemovePassword(const std::string& password) {
  StartIfNeeded();
  if (password.empty()) return;
  Lock lock(*this);
  Check(Engine().RemovePassword(CutToCharacters(password, kPasswordCharacters)));
}

void TSession::RemoveAllPasswords() {
  StartIfNeeded();
  Lock lock(*this);
  Check(Engine().RemoveAllPasswords());
}

bool TSession::GetPassword() {
  if (OnPassword) {
    bool continueOpen = false;
    OnPassword(*this, continueOpen);
    return continueOpen;
  }
  return PasswordPrompt ? PasswordPrompt(*this) : false;
}

TDatabase* TSession::FindDatabase(const std::string& databaseName) const {
  for (const auto& database : databases_)
    if (SameTextIgnoringCase(database->DatabaseName(), databaseName)) return database.get();
  return nullptr;
}

TDatabase& TSession::OpenDatabase(const std::string& databaseName) {
  TDatabase* database = FindDatabase(databaseName);
  const bool made = database == nullptr;
  if (made) {
    databases_.push_back(std::make_unique<TDatabase>(*this, databaseName, true));
    database = databases_.back().get();
  }
  try {
    database->Open();
  } catch (...) {
    if (made) std::erase_if(databases_, [database](const auto& d) { return d.get() == database; });
    throw;
  }
  ++database->refCount_;
  return *database;
}

void TSession::CloseDatabase(TDatabase& database) {
  if (database.refCount_ > 0) --database.refCount_;
  if (database.refCount_ > 0 || database.KeepConnection()) return;
  database.Close();
  if (database.Temporary())
    std::erase_if(databases_, [&database](const auto& d) { return d.get() == &database; });
}

void PrepareDefaultEngine();

TSession& DefaultSession() {
  static const bool engineReady = [] {
    PrepareDefaultEngine();
    return true;
  }();
  (void)engineReady;
  static TSession session("Default", true);
  session.stopAtExit_ = true;
  return session;
}

void TSession::StopDefaultSessionAtExit() {
  DefaultSession().StopQuietly();
}

TSession& Session = DefaultSession();

}  // namespace pellory::data
