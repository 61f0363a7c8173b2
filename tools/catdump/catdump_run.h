// What catdump does once its command line is read: opens the table through
// the engine's C interface (loaded at run time) and writes records, the
// count or the schema. Steps are separate so further options (a filter, say)
// can slot in between opening the table and writing.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "catdump_options.h"
#include "pellory/data/engine_loader.h"

namespace pellory::catdump {

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitEngineError = 1;
inline constexpr int kExitUsage = 2;

int Run(const Options& options, std::ostream& out, std::ostream& err);

// The message for a failed engine call: its code's text and the error
// stack's texts, without repeats, one per line; "Engine error $XXXX" when
// nothing is left.
std::string EngineMessage(const data::EngineEntries& engine, pel_result code);

// The message for an engine that cannot be loaded or started.
std::string StartFailureMessage(pel_result code);

}  // namespace pellory::catdump
