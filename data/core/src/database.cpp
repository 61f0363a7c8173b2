#include "pellory/data/database.h"

#include "pellory/data/session.h"

namespace pellory::data {

TDatabase::TDatabase(TSession& session, std::string databaseName, bool temporary)
    : session_(session),
      databaseName_(std::move(databaseName)),
      keepConnection_(session.KeepConnections()),
      temporary_(temporary) {}

TDatabase::~TDatabase() {
  try {
    Close();
  } catch (...) {
    // Closing at destruction has nobody to report to.
  }
}

void TDatabase::Open() {
  if (handle_ != nullptr) return;
  session_.StartIfNeeded();
  TSession::Lock lock(session_);
  EngineCalls& engine = session_.Engine();
  // This program has no login dialog and its alias asks for no user name, so
  // the database opens with an empty password. The engine tells a directory
  // from an alias name by the name itself.
  EngineHandle handle = nullptr;
  session_.Check(engine.OpenDatabase(databaseName_, std::string(), handle));
  std::string driverType;
  const EngineResult typeResult = engine.DriverType(handle, driverType);
  if (typeResult != engine_code::kOk) {
    engine.CloseDatabase(handle);
    session_.RaiseEngineError(typeResult);
  }
  sqlBased_ = driverType != "STANDARD";
  handle_ = handle;
}

void TDatabase::Close() {
  if (handle_ == nullptr) return;
  TSession::Lock lock(session_);
  session_.Engine().CloseDatabase(handle_);
  handle_ = nullptr;
}

}  // namespace pellory::data
