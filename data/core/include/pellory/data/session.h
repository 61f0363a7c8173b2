// TSession: the process-wide database session. It starts the engine on first
// use, hands over passwords and the private directory, keeps the database
// objects, and words the engine's errors.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pellory/data/engine_calls.h"

namespace pellory::data {

class TDatabase;

class TSession {
 public:
  explicit TSession(std::string sessionName = "Default", bool isDefault = true);
  ~TSession();
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  const std::string& SessionName() const { return sessionName_; }
  bool KeepConnections() const { return keepConnections_; }
  void SetKeepConnections(bool keep) { keepConnections_ = keep; }
  bool SQLHourGlass() const { return sqlHourGlass_; }
  void SetSQLHourGlass(bool show) { sqlHourGlass_ = show; }
  bool Active() const { return hasHandle_; }
  EngineHandle Handle() const { return handle_; }

  const std::string& PrivateDir() const { return privateDir_; }
  void SetPrivateDir(const std::string& path);
  const std::string& NetFileDir() const { return netFileDir_; }
  void SetNetFileDir(const std::string& path);

  void AddPassword(const std::string& password);
  void RemovePassword(const std::string& password);
  void RemoveAllPasswords();
  // Whether the user supplied a password for a table that needs one:
  // OnPassword when assigned, else the password prompt.
  bool GetPassword();

  // Set to confirm or decline; without a handler asking says "not confirmed".
  std::function<void(TSession&, bool& continueOpen)> OnPassword;
  std::function<void(TSession&)> OnStartup;
  // The password dialog, once the program has one; answers whether confirmed.
  std::function<bool(TSession&)> PasswordPrompt;
  // Shows the hourglass while the engine initialises and answers how to
  // put the pointer back, or nothing when it showed none; the program sets
  // it, and without it nothing is shown.
  std::function<std::function<void()>()> ShowHourglass;

  // Database objects, one per DatabaseName (compared without regard to case).
  TDatabase* FindDatabase(const std::string& databaseName) const;
  TDatabase& OpenDatabase(const std::string& databaseName);
  void CloseDatabase(TDatabase& database);
  std::size_t DatabaseCount() const { return databases_.size(); }

  void Start();
  void Stop();
  void StartIfNeeded() {
    if (!hasHandle_) Start();
  }

  // The engine behind this session; the program's default is the loaded
  // engine library.
  EngineCalls& Engine();
  void SetEngine(std::shared_ptr<EngineCalls> engine) { engine_ = std::move(engine); }

  // Raises the engine error for a result code, worded as the rules say.
  [[noreturn]] void RaiseEngineError(EngineResult code);
  void Check(EngineResult code) {
    if (code != engine_code::kOk) RaiseEngineError(code);
  }

  // Serialises engine calls: the first lock makes this the engine's current
  // session.
  class Lock {
   public:
    explicit Lock(TSession& session);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    TSession& session_;
  };

 private:
  friend TSession& DefaultSession();

  void InitialiseEngine();
  void HandOverDirectories();
  void StopQuietly();
  static void StopDefaultSessionAtExit();

  std::string sessionName_;
  bool isDefault_;
  bool keepConnections_ = true;
  bool sqlHourGlass_ = true;
  bool hasHandle_ = false;
  EngineHandle handle_ = nullptr;
  std::string privateDir_;
  std::string netFileDir_;
  int lockCount_ = 0;
  bool stopAtExit_ = false;
  bool stopRegistered_ = false;
  std::shared_ptr<EngineCalls> engine_;
  std::vector<std::unique_ptr<TDatabase>> databases_;
};

// The one process-wide session.
TSession& DefaultSession();
extern TSession& Session;

// How the default engine is made; the program's engine library once loaded.
std::shared_ptr<EngineCalls> MakeDefaultEngine();

}  // namespace pellory::data
