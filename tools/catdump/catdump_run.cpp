#include "catdump_run.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "pellory/data/filter_compiler.h"
#include "value_text.h"

namespace pellory::catdump {
namespace {

struct Failure {
  pel_result code;
};

// A filter text that does not compile against the table's columns.
struct CompileFailure {
  std::string message;
};

class Dump {
 public:
  Dump(const data::EngineEntries& e, std::ostream& out) : e_(e), out_(out) {}
  ~Dump() {
    if (cursor_) e_.cursor_close(cursor_);
    if (database_) e_.database_close(database_);
  }

  void Check(pel_result code) const {
    if (code != PEL_OK) throw Failure{code};
  }

  void Open(const Options& options) {
    for (const auto& password : options.passwords) Check(e_.password_add(password.c_str()));
    Check(e_.database_open(options.database.c_str(), nullptr, PEL_OPEN_READ_ONLY, PEL_SHARE_SHARED,
                           nullptr, &database_));
    pel_table_request request{};
    request.table_name = options.table.c_str();
    request.driver_name = "PARADOX";
    request.open_mode = PEL_OPEN_READ_ONLY;
    request.share_mode = PEL_SHARE_SHARED;
    request.translate = 1;
    Check(e_.table_open(database_, &request, &cursor_));
    Check(e_.cursor_properties(cursor_, &info_));
    fields_.resize(info_.field_count);
    Check(e_.cursor_fields(cursor_, fields_.data(), info_.field_count));
  }

  // Compiles the text with the program's filter compiler against this
  // table's columns and has the engine apply it.
  void ApplyFilter(const std::string& text) {
    data::filter::FilterContext context;
    context.cursorName = "catdump";
    for (const auto& f : fields_)
      context.fields.push_back({f.name, f.number,
                                static_cast<data::filter::FilterDataKind>(f.logical_type), f.units1,
                                f.units2, true});
    context.toTableCharset = [this](std::string_view utf8) { return TableText(utf8); };
    std::vector<std::uint8_t> expression;
    try {
      expression = data::filter::CompileFilter(text, {}, context);
    } catch (const data::filter::FilterCompileError& error) {
      throw CompileFailure{error.what()};
    }
    if (expression.empty()) return;
    Check(e_.filter_add(cursor_, expression.data(), expression.size(), &filter_));
    Check(e_.filter_activate(cursor_, filter_));
  }

  void WriteCount() {
    std::uint32_t count = 0;
    Check(e_.cursor_count_exact(cursor_, &count));
    out_ << count << '\n';
  }

  void WriteSchema() {
    out_ << "name,type,subtype,size\n";
    for (const auto& f : fields_)
      out_ << CsvCell(f.name) << ',' << f.logical_type << ',' << f.subtype << ',' << f.units1
           << '\n';
  }

  void WriteRecords() {
    for (std::size_t i = 0; i < fields_.size(); ++i)
      out_ << (i ? "," : "") << CsvCell(fields_[i].name);
    out_ << '\n';
    std::vector<std::uint8_t> record(info_.record_size);
    Check(e_.cursor_to_start(cursor_));
    for (;;) {
      const pel_result result = e_.cursor_next(cursor_, record.data());
      if (result == PEL_AT_END) break;
      Check(result);
      for (std::size_t i = 0; i < fields_.size(); ++i)
        out_ << (i ? "," : "") << CsvCell(Cell(fields_[i], record));
      out_ << '\n';
    }
  }

 private:
  std::string Cell(const pel_field_descriptor& field, const std::vector<std::uint8_t>& record) {
    std::vector<std::uint8_t> value(field.value_size);
    int blank = 0;
    Check(e_.field_get(cursor_, field.number, record.data(), value.data(), value.size(), &blank));
    if (blank) return {};
    if (field.logical_type == PEL_TYPE_CHARACTER) return Utf8(value);
    if (field.logical_type == PEL_TYPE_BLOB) return BlobCell(field, record);
    return ScalarText(field, value);
  }

  std::string TableText(std::string_view utf8) {
    std::vector<char> out(utf8.size() + 1);
    size_t written = 0;
    Check(e_.text_from_utf8(cursor_, utf8.data(), utf8.size(), out.data(), out.size(), &written));
    return std::string(out.data(), written);
  }

  std::string Utf8(const std::vector<std::uint8_t>& value) {
    const auto* text = reinterpret_cast<const char*>(value.data());
    const std::size_t length = std::string(text).size();
    std::vector<char> out(length * 3 + 1);
    size_t written = 0;
    Check(e_.text_to_utf8(cursor_, text, length, out.data(), out.size(), &written));
    return std::string(out.data(), written);
  }

  // A blob as its length and the MD5 of all its stored bytes.
  std::string BlobCell(const pel_field_descriptor& field, const std::vector<std::uint8_t>& record) {
    Check(e_.blob_open(cursor_, field.number, record.data()));
    std::uint32_t size = 0;
    Check(e_.blob_size(cursor_, field.number, record.data(), &size));
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t got = 0;
    const pel_result result =
        e_.blob_read(cursor_, field.number, record.data(), 0, size, bytes.data(), &got);
    if (result != PEL_END_OF_BLOB) Check(result);
    Check(e_.blob_free(cursor_, field.number, record.data()));
    bytes.resize(got);
    return std::to_string(got) + ":" + Md5Hex(bytes);
  }

  const data::EngineEntries& e_;
  std::ostream& out_;
  pel_database* database_ = nullptr;
  pel_cursor* cursor_ = nullptr;
  pel_filter* filter_ = nullptr;
  pel_cursor_info info_{};
  std::vector<pel_field_descriptor> fields_;
};

bool TakenAlready(const std::vector<std::string>& texts, const std::string& text) {
  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  };
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& t) { return lower(t) == lower(text); });
}

}  // namespace

std::string StartFailureMessage(pel_result code) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer,
                "An error occurred while attempting to initialize the database engine "
                "(error $%.4X)",
                static_cast<unsigned>(code));
  return buffer;
}

std::string EngineMessage(const data::EngineEntries& engine, pel_result code) {
  std::vector<std::string> texts;
  auto add = [&](const std::string& text) {
    if (!text.empty() && !TakenAlready(texts, text)) texts.push_back(text);
  };
  char text[512];
  if (engine.error_text(code, text, sizeof text) == PEL_OK) add(text);
  for (std::uint16_t i = 0; i < 64; ++i) {
    pel_error_entry entry{};
    if (engine.error_stack_entry(i, &entry) != PEL_OK || entry.code == 0) break;
    if (entry.native_code == 0 && engine.error_text(entry.code, text, sizeof text) == PEL_OK)
      add(text);
    add(entry.context);
  }
  if (texts.empty()) {
    std::snprintf(text, sizeof text, "Engine error $%.4X", static_cast<unsigned>(code));
    return text;
  }
  std::string message;
  for (const auto& t : texts) message += (message.empty() ? "" : "\n") + t;
  return message;
}

int Run(const Options& options, std::ostream& out, std::ostream& err) {
  const data::EngineEntries* engine = nullptr;
  pel_result code = data::LoadEngine(&engine);
  if (code == PEL_OK) {
    pel_init_options init{PEL_INTERFACE_VERSION, "0009"};
    code = engine->engine_init(&init);
    if (code == PEL_ALREADY_INITIALISED) code = PEL_OK;
  }
  if (code != PEL_OK) {
    err << "catdump: " << StartFailureMessage(code) << '\n';
    return kExitEngineError;
  }
  int exitCode = kExitOk;
  {
    // The message is taken while the table is still open: closing it would
    // clear the engine's error stack.
    Dump dump(*engine, out);
    try {
      dump.Open(options);
      if (!options.filter.empty()) dump.ApplyFilter(options.filter);
      switch (options.output) {
        case Output::Count:
          dump.WriteCount();
          break;
        case Output::Schema:
          dump.WriteSchema();
          break;
        case Output::Records:
          dump.WriteRecords();
          break;
      }
    } catch (const CompileFailure& failure) {
      err << "catdump: " << failure.message << '\n';
      exitCode = kExitEngineError;
    } catch (const Failure& failure) {
      err << "catdump: " << EngineMessage(*engine, failure.code) << '\n';
      exitCode = kExitEngineError;
    }
  }
  engine->engine_exit();
  return exitCode;
}

}  // namespace pellory::catdump
