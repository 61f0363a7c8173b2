// Encoding the parsed tree into the binary format version 2: a 10-byte
// header, the nodes in the order they are made (each before its operands),
// then the literals. Sizes and offsets are 16-bit, so a buffer that would
// grow past 65,535 bytes is refused rather than written with wrapped values.
#include "filter_encoder.h"

#include <algorithm>
#include <cstring>

#include "filter_constants.h"
#include "filter_scanner.h"
#include "pellory/text/utf8.h"

namespace pellory::data::filter {
namespace {

constexpr std::size_t kHeaderSize = 10;
constexpr std::size_t kLargest = 0xFFFF;
constexpr std::size_t kConstantCharacters = 255;
// Deepest node nesting the engine accepts.
constexpr int kMaxNodeDepth = 1000;

enum NodeClass : std::uint32_t {
  kUnary = 1,
  kBinary = 2,
  kCompare = 3,
  kFieldNode = 4,
  kConstant = 5,
  kListElement = 11,
};

[[noreturn]] void TooLarge() {
  throw FilterCompileError("Filter expression too large: its compiled form exceeds 65535 bytes");
}

std::uint16_t Narrow(std::size_t value) {
  if (value > kLargest) TooLarge();
  return static_cast<std::uint16_t>(value);
}

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::size_t value) {
  const std::uint16_t v = Narrow(value);
  std::memcpy(out.data() + at, &v, 2);
}

std::uint32_t Mirrored(std::uint32_t op) {
  switch (op) {
    case kOpGreater:
      return kOpLess;
    case kOpLess:
      return kOpGreater;
    case kOpGreaterOrEqual:
      return kOpLessOrEqual;
    case kOpLessOrEqual:
      return kOpGreaterOrEqual;
    default:
      return op;
  }
}

class Encoder {
 public:
  Encoder(const FilterCompileOptions& options, const FilterContext& context)
      : options_(options), context_(context) {}

  std::vector<std::uint8_t> Run(const Expr& root) {
    Condition(root, 1);
    const std::size_t literalStart = kHeaderSize + nodes_.size();
    const std::size_t total = literalStart + literals_.size();
    std::vector<std::uint8_t> out(total, 0);
    Put16(out, 0, 2);
    Put16(out, 2, total);
    Put16(out, 4, 0xFFFF);
    Put16(out, 6, kHeaderSize);
    Put16(out, 8, literalStart);
    std::copy(nodes_.begin(), nodes_.end(), out.begin() + kHeaderSize);
    std::copy(literals_.begin(), literals_.end(), out.begin() + static_cast<long>(literalStart));
    return out;
  }

 private:
  // Makes a node with room for its operands; answers its offset.
  std::size_t MakeNode(std::uint32_t nodeClass, std::uint32_t op, int operands, int depth) {
    if (depth > kMaxNodeDepth) throw FilterCompileError("Filter expression is nested too deeply");
    const std::size_t at = nodes_.size();
    if (at + 8 + 2u * static_cast<std::size_t>(operands) + kHeaderSize > kLargest) TooLarge();
    nodes_.resize(at + 8 + 2u * static_cast<std::size_t>(operands), 0);
    std::memcpy(nodes_.data() + at, &nodeClass, 4);
    std::memcpy(nodes_.data() + at + 4, &op, 4);
    return at;
  }
  void Operand(std::size_t node, int index, std::size_t value) {
    Put16(nodes_, node + 8 + 2u * static_cast<std::size_t>(index), value);
  }
  std::size_t AddLiteral(const std::vector<std::uint8_t>& bytes) {
    const std::size_t at = literals_.size();
    if (at + bytes.size() > kLargest) TooLarge();
    literals_.insert(literals_.end(), bytes.begin(), bytes.end());
    return at;
  }
  std::vector<std::uint8_t> InTableCharset(std::string_view utf8) const {
    const std::string text =
        context_.toTableCharset ? context_.toTableCharset(utf8) : std::string(utf8);
    // A converted text ends at its first zero byte, as the engine reads it.
    std::vector<std::uint8_t> bytes(text.begin(), std::find(text.begin(), text.end(), '\0'));
    bytes.push_back(0);
    return bytes;
  }

  std::size_t Condition(const Expr& e, int depth) {
    if (e.kind != ExprKind::Field) return Node(e, depth);
    // A boolean field standing for a condition means "field <> False".
    const std::size_t node = MakeNode(kBinary, kOpNotEqual, 2, depth);
    Operand(node, 0, Field(e, depth + 1));
    Operand(node, 1, Constant(kBoolean, std::vector<std::uint8_t>{0, 0}, depth + 1));
    return node;
  }
  static constexpr std::uint16_t kBoolean = 4;

  std::size_t Node(const Expr& e, int depth) {
    switch (e.kind) {
      case ExprKind::And:
      case ExprKind::Or: {
        const std::size_t node =
            MakeNode(kBinary, e.kind == ExprKind::And ? kOpAnd : kOpOr, 2, depth);
        Operand(node, 0, Condition(*e.operands[0], depth + 1));
        Operand(node, 1, Condition(*e.operands[1], depth + 1));
        return node;
      }
      case ExprKind::Not:
      case ExprKind::IsNull:
      case ExprKind::IsNotNull: {
        const std::uint32_t op = e.kind == ExprKind::Not      ? kOpNot
                                 : e.kind == ExprKind::IsNull ? kOpIsBlank
                                                              : kOpIsNotBlank;
        const std::size_t node = MakeNode(kUnary, op, 1, depth);
        Operand(node, 0,
                e.kind == ExprKind::Not ? Condition(*e.operands[0], depth + 1)
                                        : Value(*e.operands[0], depth + 1));
        return node;
      }
      case ExprKind::In:
        return In(e, depth);
      default:
        return Comparison(e, depth);
    }
  }

  std::size_t Comparison(const Expr& e, int depth) {
    const Expr* left = e.operands[0].get();
    const Expr* right = e.operands[1].get();
    std::uint32_t op = e.op;
    if (e.kind == ExprKind::Comparison && left->kind != ExprKind::Field &&
        right->kind == ExprKind::Field) {
      std::swap(left, right);
      op = Mirrored(op);
    }
    const bool fieldAndConstant = left->kind == ExprKind::Field && right->IsConstant();
    if (right->kind == ExprKind::NullConstant || left->kind == ExprKind::NullConstant) {
      if (!fieldAndConstant || (op != kOpEqual && op != kOpNotEqual))
        throw FilterCompileError("NULL only allowed with '=' and '<>'");
      const std::size_t node =
          MakeNode(kUnary, op == kOpEqual ? kOpIsBlank : kOpIsNotBlank, 1, depth);
      Operand(node, 0, Field(*left, depth + 1));
      return node;
    }
    if (fieldAndConstant && (op == kOpEqual || op == kOpNotEqual || op == kOpLike) &&
        right->type == FilterDataKind::String && right->kind != ExprKind::TruthConstant)
      return TextComparison(*left, *right, op, depth);
    const std::size_t node = MakeNode(kBinary, op, 2, depth);
    Operand(node, 0, Value(*left, depth + 1));
    Operand(node, 1, Value(*right, depth + 1));
    return node;
  }

  // A text constant: a trailing '*' asks for a prefix comparison, and the
  // case option for one that ignores case; either makes a compare node.
  std::size_t TextComparison(const Expr& field, const Expr& constant, std::uint32_t op, int depth) {
    std::string_view text = constant.text;
    const bool prefix =
        text::CountUtf8Characters(text) > 1 && text.back() == '*' && !options_.noPartialCompare;
    if (prefix) text.remove_suffix(1);
    const std::vector<std::uint8_t> bytes =
        InTableCharset(text::FirstUtf8Characters(text, kConstantCharacters));
    const std::size_t partial = prefix ? bytes.size() - 1 : 0;
    const std::size_t caseFlag = options_.caseInsensitive && !constant.text.empty() ? 1 : 0;
    if (constant.text.empty() || (caseFlag == 0 && partial == 0)) {
      const std::size_t node = MakeNode(kBinary, op, 2, depth);
      Operand(node, 0, Field(field, depth + 1));
      Operand(node, 1, Constant(1, bytes, depth + 1));
      return node;
    }
    const std::size_t node = MakeNode(kCompare, op, 4, depth);
    Operand(node, 0, caseFlag);
    Operand(node, 1, partial);
    Operand(node, 2, Field(field, depth + 1));
    Operand(node, 3, Constant(1, bytes, depth + 1));
    return node;
  }

  std::size_t In(const Expr& e, int depth) {
    const std::size_t node = MakeNode(kBinary, kOpIn, 2, depth);
    Operand(node, 0, Value(*e.operands[0], depth + 1));
    std::size_t previous = 0;
    for (std::size_t i = 1; i < e.operands.size(); ++i) {
      if (e.operands[i]->kind == ExprKind::NullConstant)
        throw FilterCompileError("NULL only allowed with '=' and '<>'");
      const std::size_t element = MakeNode(kListElement, kOpListElement, 2, depth + 1);
      Operand(i == 1 ? node : previous, 1, element);
      Operand(element, 0, Value(*e.operands[i], depth + 2));
      previous = element;
    }
    return node;
  }

  std::size_t Value(const Expr& e, int depth) {
    return e.kind == ExprKind::Field ? Field(e, depth) : TypedConstant(e, depth);
  }

  std::size_t Field(const Expr& e, int depth) {
    if (!e.field->isDataField)
      throw FilterCompileError("Field '" + e.field->name +
                               "' cannot be used in a filter expression");
    const std::size_t node = MakeNode(kFieldNode, kOpField, 2, depth);
    Operand(node, 0, e.field->number);
    Operand(node, 1, AddLiteral(InTableCharset(e.text)));
    return node;
  }

  std::size_t TypedConstant(const Expr& e, int depth) {
    if (e.kind == ExprKind::NullConstant)
      throw FilterCompileError("NULL only allowed with '=' and '<>'");
    if (e.type != FilterDataKind::String)
      return Constant(static_cast<std::uint16_t>(e.type), EncodeTypedConstant(e), depth);
    if (e.kind == ExprKind::TruthConstant) EncodeTypedConstant(e);  // not a text: fails
    return Constant(1, InTableCharset(text::FirstUtf8Characters(e.text, kConstantCharacters)),
                    depth);
  }

  std::size_t Constant(std::uint16_t type, const std::vector<std::uint8_t>& literal, int depth) {
    const std::size_t node = MakeNode(kConstant, kOpConstant, 3, depth);
    Operand(node, 0, type);
    Operand(node, 1, literal.size());
    Operand(node, 2, AddLiteral(literal));
    return node;
  }

  const FilterCompileOptions& options_;
  const FilterContext& context_;
  std::vector<std::uint8_t> nodes_;
  std::vector<std::uint8_t> literals_;
};

}  // namespace

std::vector<std::uint8_t> EncodeFilter(const Expr& root, const FilterCompileOptions& options,
                                       const FilterContext& context) {
  return Encoder(options, context).Run(root);
}

}  // namespace pellory::data::filter
