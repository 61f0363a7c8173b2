#include "pellory/data/errors.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace pellory::data {
namespace {

std::string Lowered(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// At least four upper-case hexadecimal digits.
std::string HexCode(unsigned code) {
  std::array<char, 16> buf{};
  std::snprintf(buf.data(), buf.size(), "%.4X", code);
  return buf.data();
}

}  // namespace

EDatabaseError::EDatabaseError(const std::string& text) : std::runtime_error(text), text_(text) {}

EDatabaseError::EDatabaseError(const std::string& text, const std::string& objectName)
    : std::runtime_error(objectName.empty() ? text : objectName + ": " + text),
      text_(text),
      objectName_(objectName) {}

EDBEngineError::EDBEngineError(unsigned code, std::vector<EngineErrorEntry> stack,
                               const std::string& message)
    : EDatabaseError(message), code_(code), stack_(std::move(stack)) {}

std::string ComposeEngineErrorText(unsigned code, const std::vector<EngineErrorEntry>& stack,
                                   const std::function<std::string(unsigned)>& codeText) {
  const bool contextsOnly = code == 0x2EC4;
  std::vector<std::string> taken;
  std::string message;
  auto add = [&](const std::string& text) {
    if (text.empty()) return;
    const std::string key = Lowered(text);
    for (const auto& t : taken)
      if (t == key) return;
    taken.push_back(key);
    if (!message.empty()) message += "\r\n";
    message += text;
  };
  if (!contextsOnly) add(codeText(code));
  for (const auto& entry : stack) {
    if (!contextsOnly && entry.nativeCode == 0) add(codeText(entry.code));
    add(entry.context);
  }
  // Codes read in upper-case hexadecimal everywhere, as in the initialisation text.
  if (message.empty()) return "Engine error $" + HexCode(code);
  return message;
}

std::string InitialisationErrorText(unsigned code) {
  return "An error occurred while attempting to initialize the database engine (error $" +
         HexCode(code) + ")";
}

std::string FieldTypeName(TFieldType type) {
  static const char* const kNames[] = {
      "Unknown",    "String",     "SmallInt", "Integer",     "Word",      "Boolean",
      "Float",      "Currency",   "BCD",      "Date",        "Time",      "DateTime",
      "Bytes",      "VarBytes",   "AutoInc",  "Blob",        "Memo",      "Graphic",
      "FmtMemo",    "ParadoxOle", "dBaseOle", "TypedBinary", "Cursor",    "FixedChar",
      "WideString", "LargeInt",   "ADT",      "Array",       "Reference", "DataSet"};
  const auto index = static_cast<std::size_t>(type);
  return index < std::size(kNames) ? kNames[index] : "Unknown";
}

void DatabaseError(const std::string& text, const std::string& objectName) {
  throw EDatabaseError(text, objectName);
}

std::string FormatMessage(const char* format, const std::vector<std::string>& args) {
  std::string out;
  std::size_t next = 0;
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] == '%' && (p[1] == 's' || p[1] == 'd')) {
      if (next < args.size()) out += args[next++];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace pellory::data
