// Evaluating a checked filter against one record. The checker has made sure
// every index is valid and the nesting is bounded, so evaluation only guards
// against field values the engine could not read or that are too short.
#include "filter_program.h"

#include <algorithm>

#include "filter_nodes.h"
#include "value_compare.h"

namespace pellory::engine::filter {
namespace {

// A value read for one comparison: field bytes live in the evaluator's
// scratch vector, constant bytes in the checked buffer.
struct LoadedValue {
  bool ok = false;
  bool blank = false;
  TypedValue value;
};

// What LIKE and compare nodes search: a string up to its zero byte, a blob's
// bytes whole (a memo may hold zero bytes).
std::span<const std::uint8_t> Searched(const TypedValue& v) {
  return v.type == PEL_TYPE_BLOB ? v.bytes : TextOf(v.bytes);
}

class Evaluation {
 public:
  Evaluation(const FilterProgram::Checked& checked, const RecordFields& record)
      : checked_(checked), record_(record), left_(checked.leftValue), right_(checked.rightValue) {}

  bool Condition(int index) {
    const DecodedNode& node = At(index);
    switch (node.nodeClass) {
      case kUnaryNode:
        return Unary(node);
      case kCompareNode:
        return Compare(node);
      default:
        return Binary(node);
    }
  }

 private:
  const DecodedNode& At(int index) const { return checked_.nodes[static_cast<std::size_t>(index)]; }

  LoadedValue Load(int index, std::vector<std::uint8_t>& scratch) const {
    const DecodedNode& node = At(index);
    LoadedValue loaded;
    loaded.value.type = node.valueType;
    if (node.nodeClass == kConstantNode) {
      loaded.ok = true;
      loaded.value.bytes = {checked_.buffer.data() + node.literal, node.size};
      return loaded;
    }
    loaded.ok = node.valueType == PEL_TYPE_BLOB
                    ? record_.ReadBlob(node.fieldNumber, scratch, loaded.blank)
                    : record_.Read(node.fieldNumber, scratch, loaded.blank);
    loaded.value.bytes = scratch;
    return loaded;
  }

  // Is-blank tests read blob fields' values too, never their bytes.
  LoadedValue LoadForBlankTest(int index) {
    const DecodedNode& node = At(index);
    if (node.nodeClass == kConstantNode) return Load(index, left_);
    LoadedValue loaded;
    loaded.ok = record_.Read(node.fieldNumber, left_, loaded.blank);
    return loaded;
  }

  bool Unary(const DecodedNode& node) {
    if (node.op == kNot) return !Condition(node.first);
    const LoadedValue v = LoadForBlankTest(node.first);
    if (!v.ok) return false;
    return node.op == kIsBlank ? v.blank : !v.blank;
  }

  bool Binary(const DecodedNode& node) {
    switch (node.op) {
      case kAnd:
        return Condition(node.first) && Condition(node.second);
      case kOr:
        return Condition(node.first) || Condition(node.second);
      case kIn:
        return In(node);
      default:
        break;
    }
    const LoadedValue a = Load(node.first, left_);
    const LoadedValue b = Load(node.second, right_);
    if (!a.ok || !b.ok || a.blank || b.blank) return false;
    if (node.op == kLike) return TextLike(Searched(a.value), TextOf(b.value.bytes), false);
    const auto order = CompareValues(a.value, b.value);
    return order && Holds(node.op, *order);
  }

  static bool Holds(std::uint32_t op, int order) {
    switch (op) {
      case kEqual:
        return order == 0;
      case kNotEqual:
        return order != 0;
      case kGreater:
        return order > 0;
      case kLess:
        return order < 0;
      case kGreaterOrEqual:
        return order >= 0;
      default:
        return order <= 0;
    }
  }

  bool In(const DecodedNode& node) {
    const LoadedValue a = Load(node.first, left_);
    if (!a.ok || a.blank) return false;
    for (int element = node.second; element >= 0; element = At(element).second) {
      const LoadedValue b = Load(At(element).first, right_);
      if (!b.ok || b.blank) continue;
      const auto order = CompareValues(a.value, b.value);
      if (order && *order == 0) return true;
    }
    return false;
  }

  bool Compare(const DecodedNode& node) {
    const LoadedValue field = Load(node.first, left_);
    const LoadedValue constant = Load(node.second, right_);
    if (!field.ok || field.blank) return false;
    auto text = Searched(field.value);
    const auto pattern = TextOf(constant.value.bytes);
    bool match;
    if (node.op == kLike) {
      if (node.partial > 0) {
        if (text.size() < node.partial) return false;
        text = text.first(node.partial);
      }
      return TextLike(text, pattern, node.ignoreCase);
    }
    if (node.partial > 0)
      match = PrefixEquals(text, pattern, node.partial, node.ignoreCase);
    else
      match = TextEquals(text, pattern, node.ignoreCase);
    return node.op == kEqual ? match : !match;
  }

  const FilterProgram::Checked& checked_;
  const RecordFields& record_;
  std::vector<std::uint8_t>& left_;
  std::vector<std::uint8_t>& right_;
};

}  // namespace

FilterProgram::FilterProgram(std::unique_ptr<Checked> checked) : checked_(std::move(checked)) {}
FilterProgram::~FilterProgram() = default;

std::unique_ptr<FilterProgram> FilterProgram::Check(std::span<const std::uint8_t> buffer,
                                                    std::span<const pel_field_descriptor> columns,
                                                    std::string* error) {
  auto checked = std::make_unique<Checked>();
  if (!DecodeFilter({buffer.begin(), buffer.end()}, columns, *checked, error)) return nullptr;
  return std::unique_ptr<FilterProgram>(new FilterProgram(std::move(checked)));
}

bool FilterProgram::Passes(const RecordFields& record) const {
  return Evaluation(*checked_, record).Condition(0);
}

std::vector<std::uint16_t> FilterProgram::FieldsRead() const {
  std::vector<std::uint16_t> fields;
  for (const DecodedNode& node : checked_->nodes)
    if (node.nodeClass == kFieldNode) fields.push_back(node.fieldNumber);
  std::sort(fields.begin(), fields.end());
  fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
  return fields;
}

}  // namespace pellory::engine::filter
