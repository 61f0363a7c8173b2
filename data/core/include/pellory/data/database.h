// TDatabase: one connection of the session, shared by the cursors that name
// the same DatabaseName.
#pragma once

#include <string>

#include "pellory/data/engine_calls.h"

namespace pellory::data {

class TSession;

class TDatabase {
 public:
  TDatabase(TSession& session, std::string databaseName, bool temporary);
  ~TDatabase();
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& DatabaseName() const { return databaseName_; }
  bool KeepConnection() const { return keepConnection_; }
  void SetKeepConnection(bool keep) { keepConnection_ = keep; }
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool prompt) { loginPrompt_ = prompt; }
  bool ReadOnly() const { return readOnly_; }
  bool Exclusive() const { return exclusive_; }
  bool Temporary() const { return temporary_; }
  bool Connected() const { return handle_ != nullptr; }
  bool IsSQLBased() const { return sqlBased_; }
  EngineHandle Handle() const { return handle_; }
  int RefCount() const { return refCount_; }
  TSession& Session() const { return session_; }

  void Open();
  void Close();

 private:
  friend class TSession;

  TSession& session_;
  std::string name_;
  std::string databaseName_;
  bool keepConnection_;
  bool loginPrompt_ = true;
  bool readOnly_ = false;
  bool exclusive_ = false;
  bool temporary_;
  bool sqlBased_ = false;
  EngineHandle handle_ = nullptr;
  int refCount_ = 0;
};

}  // namespace pellory::data
