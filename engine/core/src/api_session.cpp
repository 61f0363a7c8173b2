// The C interface: session, passwords, aliases, databases, errors, callbacks.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "engine_error.h"
#include "engine_state.h"
#include "error_texts.h"
#include "pellory/engine/alias_config.h"

using pellory::engine::ArgumentText;
using pellory::engine::EngineError;
using pellory::engine::Guarded;
using pellory::engine::State;

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool NamesDirectory(const std::string& name) {
  return name.find_first_of(":\\/") != std::string::npos;
}

struct AliasPlace {
  std::string path;
  std::string file;  // the configuration that names it
};

AliasPlace FindAlias(const std::string& alias) {
  std::string problem;
  const auto config = pellory::engine::LoadConfig(&problem);
  if (!problem.empty()) throw EngineError(PEL_CONFIG_DAMAGED, config.file, problem);
  const auto it = config.aliasPaths.find(Lower(alias));
  if (it == config.aliasPaths.end())
    throw EngineError(PEL_UNKNOWN_ALIAS, alias,
                      config.file.empty() ? pellory::engine::NoConfigFileText(alias)
                                          : "not named in " + config.file);
  return {it->second, config.file};
}

std::string AliasPath(const std::string& alias) {
  return FindAlias(alias).path;
}

}  // namespace

extern "C" {

pel_result pel_engine_init(const pel_init_options* options) {
  return Guarded(false, [&] {
    auto& state = State();
    if (options && options->interface_version != PEL_INTERFACE_VERSION)
      throw EngineError(PEL_WRONG_VERSION, {}, std::to_string(options->interface_version));
    if (state.initialised) return pel_result{PEL_ALREADY_INITIALISED};
    state.session = pel_session{};
    state.initialised = true;
    return pel_result{PEL_OK};
  });
}

pel_result pel_engine_exit(void) {
  return Guarded(true, [] {
    auto& state = State();
    while (!state.databases.empty()) pellory::engine::CloseDatabase(state.databases.begin()->get());
    state.session = pel_session{};
    state.sharedTables = {};
    state.initialised = false;
    return pel_result{PEL_OK};
  });
}

pel_result pel_session_current(pel_session** session) {
  return Guarded(true, [&] {
    if (!session) throw EngineError(PEL_INVALID_ARGUMENT, {});
    *session = &State().session;
    return pel_result{PEL_OK};
  });
}

pel_result pel_session_set_current(pel_session* session) {
  return Guarded(true, [&] {
    if (session != &State().session) throw EngineError(PEL_INVALID_HANDLE, "session");
    return pel_result{PEL_OK};
  });
}

pel_result pel_password_add(const char* password) {
  return Guarded(true, [&] {
    const std::string text = ArgumentText(password);
    if (!text.empty()) State().session.passwords.push_back(text);
    return pel_result{PEL_OK};
  });
}

pel_result pel_password_remove(const char* password) {
  return Guarded(true, [&] {
    std::erase(State().session.passwords, ArgumentText(password));
    return pel_result{PEL_OK};
  });
}

pel_result pel_password_remove_all(void) {
  return Guarded(true, [] {
    State().session.passwords.clear();
    return pel_result{PEL_OK};
  });
}

pel_result pel_private_dir_set(const char* path) {
  return Guarded(true, [&] {
    State().session.privateDir = ArgumentText(path);
    return pel_result{PEL_OK};
  });
}

pel_result pel_net_dir_set(const char* path) {
  return Guarded(true, [&] {
    State().session.netDir = ArgumentText(path);
    return pel_result{PEL_OK};
  });
}

pel_result pel_config_mode_set(uint16_t mode) {
  return Guarded(true, [&] {
    State().session.configMode = mode;
    return pel_result{PEL_OK};
  });
}

pel_result pel_config_mode_get(uint16_t* mode) {
  return Guarded(true, [&] {
    if (!mode) throw EngineError(PEL_INVALID_ARGUMENT, {});
    *mode = State().session.configMode;
    return pel_result{PEL_OK};
  });
}

pel_result pel_alias_describe(const char* alias, pel_alias_info* info) {
  return Guarded(true, [&] {
    if (!info) throw EngineError(PEL_INVALID_ARGUMENT, {});
    const std::string path = AliasPath(ArgumentText(alias));
    pel_alias_info out{};
    pellory::engine::CopyText(ArgumentText(alias), out.name, sizeof out.name);
    pellory::engine::CopyText("STANDARD", out.driver_type, sizeof out.driver_type);
    pellory::engine::CopyText(path, out.path, sizeof out.path);
    *info = out;
    return pel_result{PEL_OK};
  });
}

pel_result pel_alias_parameters(const char* alias, char* buffer, size_t size, size_t* needed) {
  return Guarded(true, [&] {
    const std::string text = "PATH=" + AliasPath(ArgumentText(alias)) + "\n";
    if (needed) *needed = text.size() + 1;
    pellory::engine::CopyText(text, buffer, size);
    return pel_result{PEL_OK};
  });
}

pel_result pel_database_open(const char* name, const char* driver_type, uint16_t open_mode,
                             uint16_t share_mode, const char* password, pel_database** database) {
  (void)password;  // file tables need no login
  return Guarded(true, [&] {
    if (!database || open_mode > PEL_OPEN_READ_WRITE || share_mode > PEL_SHARE_EXCLUSIVE)
      throw EngineError(PEL_INVALID_ARGUMENT, {});
    const std::string type = Lower(ArgumentText(driver_type));
    if (!type.empty() && type != "standard" && type != "paradox")
      throw EngineError(PEL_NOT_SUPPORTED, ArgumentText(driver_type), "unknown driver type");
    const std::string text = ArgumentText(name);
    const AliasPlace place = NamesDirectory(text) ? AliasPlace{text, {}} : FindAlias(text);
    const std::string& directory = place.path;
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec))
      throw EngineError(PEL_DIRECTORY_NOT_FOUND, directory,
                        place.file.empty()
                            ? std::string()
                            : pellory::engine::MissingAliasDirectoryText(text, place.file));
    auto made = std::make_unique<pel_database>();
    made->directory = directory;
    made->readWrite = open_mode == PEL_OPEN_READ_WRITE;
    *database = made.get();
    State().databases.insert(std::move(made));
    return pel_result{PEL_OK};
  });
}

pel_result pel_database_driver_type(pel_database* database, char* buffer, size_t size) {
  return Guarded(true, [&] {
    pellory::engine::CheckDatabase(database);
    pellory::engine::CopyText("STANDARD", buffer, size);
    return pel_result{PEL_OK};
  });
}

pel_result pel_database_close(pel_database* database) {
  return Guarded(true, [&] {
    pellory::engine::CloseDatabase(pellory::engine::CheckDatabase(database));
    return pel_result{PEL_OK};
  });
}

pel_result pel_error_text(pel_result code, char* buffer, size_t size) {
  // Like the stack, the texts are read after a failure: the stack stays.
  const std::string text = pellory::engine::ErrorTextFor(code);
  if (!buffer) return PEL_INVALID_ARGUMENT;
  if (text.size() + 1 > size) return PEL_BUFFER_TOO_SMALL;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return PEL_OK;
}

pel_result pel_error_stack_entry(uint16_t index, pel_error_entry* entry) {
  // Reading the stack must not clear it, so this call takes the lock itself.
  auto& state = State();
  std::lock_guard guard(state.lock);
  if (!entry) return PEL_INVALID_ARGUMENT;
  *entry = index < state.errors.size() ? state.errors[index] : pel_error_entry{};
  return PEL_OK;
}

pel_result pel_callback_register(uint16_t kind, pel_callback_fn callback, void* client_data) {
  (void)callback;
  (void)client_data;
  return Guarded(true, [&] {
    if (kind != PEL_CALLBACK_SERVER_CALL && kind != PEL_CALLBACK_LOGIN)
      throw EngineError(PEL_INVALID_ARGUMENT, {}, "callback kind " + std::to_string(kind));
    return pel_result{PEL_OK};
  });
}

pel_result pel_callback_remove(uint16_t kind) {
  return Guarded(true, [&] {
    (void)kind;
    return pel_result{PEL_OK};
  });
}

}  // extern "C"
