// Checking a filter buffer before it is used. The buffer comes from outside
// the engine, so every offset, size, class, operator, field number and
// constant is checked, every node may be used only once (which rules out
// cycles and shared subtrees), the nodes must fill the node area exactly and
// the header's total size must be the buffer's size.
#include <cstring>
#include <string>

#include "filter_nodes.h"
#include "value_compare.h"

namespace pellory::engine::filter {
namespace {

constexpr std::size_t kHeaderSize = 10;

struct Refusal {
  std::string text;
};

[[noreturn]] void Refuse(std::string text) {
  throw Refusal{std::move(text)};
}

class Decoder {
 public:
  Decoder(const std::vector<std::uint8_t>& buffer, std::span<const pel_field_descriptor> columns,
          std::vector<DecodedNode>& nodes)
      : buffer_(buffer), columns_(columns), nodes_(nodes) {}

  void Run() {
    ReadHeader();
    const int root = Node(0, 1);
    if (!IsCondition(root)) Refuse("the root node is not a condition");
    if (claimedBytes_ != nodeAreaSize_) Refuse("the node area holds bytes no node uses");
  }

 private:
  std::uint16_t U16(std::size_t at) const {
    std::uint16_t v;
    std::memcpy(&v, buffer_.data() + at, 2);
    return v;
  }
  std::uint32_t U32(std::size_t at) const {
    std::uint32_t v;
    std::memcpy(&v, buffer_.data() + at, 4);
    return v;
  }

  void ReadHeader() {
    if (buffer_.size() < kHeaderSize) Refuse("the buffer is shorter than its header");
    if (U16(0) != 2) Refuse("unknown format version " + std::to_string(U16(0)));
    if (U16(2) != buffer_.size()) Refuse("the total size does not match the buffer's size");
    if (U16(4) != 0xFFFF) Refuse("unexpected node count");
    if (U16(6) != kHeaderSize) Refuse("the node area does not follow the header");
    const std::size_t literalStart = U16(8);
    if (literalStart <= kHeaderSize || literalStart > buffer_.size())
      Refuse("the literal area starts outside the buffer");
    nodeAreaSize_ = literalStart - kHeaderSize;
    literalStart_ = literalStart;
    claimed_.assign(nodeAreaSize_, false);
  }

  static std::size_t NodeSize(std::uint32_t nodeClass) {
    switch (nodeClass) {
      case kUnaryNode:
        return 10;
      case kBinaryNode:
      case kFieldNode:
      case kListElementNode:
        return 12;
      case kCompareNode:
        return 16;
      case kConstantNode:
        return 14;
      default:
        return 0;
    }
  }

  // Claims the node's bytes; a node used twice or overlapping another is
  // refused here, before its operands are followed.
  std::size_t Claim(std::size_t offset) {
    if (offset + 8 > nodeAreaSize_) Refuse("a node offset lies outside the node area");
    const std::size_t size = NodeSize(U32(kHeaderSize + offset));
    if (size == 0) Refuse("unknown node class " + std::to_string(U32(kHeaderSize + offset)));
    if (offset + size > nodeAreaSize_) Refuse("a node runs past the node area");
    for (std::size_t i = offset; i < offset + size; ++i) {
      if (claimed_[i]) Refuse("a node is used twice or overlaps another");
      claimed_[i] = true;
    }
    claimedBytes_ += size;
    return kHeaderSize + offset;
  }

  int Node(std::size_t offset, int depth) {
    if (depth > kMaxFilterDepth) Refuse("the nodes are nested too deeply");
    const std::size_t at = Claim(offset);
    DecodedNode node;
    node.nodeClass = U32(at);
    node.op = U32(at + 4);
    const int index = static_cast<int>(nodes_.size());
    nodes_.push_back(node);
    switch (node.nodeClass) {
      case kUnaryNode:
        Unary(index, at, depth);
        break;
      case kBinaryNode:
        Binary(index, at, depth);
        break;
      case kCompareNode:
        Compare(index, at, depth);
        break;
      case kFieldNode:
        Field(index, at);
        break;
      case kConstantNode:
        Constant(index, at);
        break;
      default:
        Refuse("a list element stands outside an IN list");
    }
    return index;
  }

  bool IsCondition(int i) const {
    const auto c = nodes_[static_cast<std::size_t>(i)].nodeClass;
    return c == kUnaryNode || c == kBinaryNode || c == kCompareNode;
  }
  bool IsValue(int i) const {
    const auto c = nodes_[static_cast<std::size_t>(i)].nodeClass;
    return c == kFieldNode || c == kConstantNode;
  }
  std::uint16_t TypeOf(int i) const { return nodes_[static_cast<std::size_t>(i)].valueType; }

  void Unary(int index, std::size_t at, int depth) {
    const std::uint32_t op = nodes_[static_cast<std::size_t>(index)].op;
    if (op != kIsBlank && op != kIsNotBlank && op != kNot)
      Refuse("unknown unary operator " + std::to_string(op));
    const int operand = Node(U16(at + 8), depth + 1);
    if (op == kNot ? !IsCondition(operand) : !IsValue(operand))
      Refuse("a unary node has an operand of the wrong kind");
    nodes_[static_cast<std::size_t>(index)].first = operand;
  }

  void Binary(int index, std::size_t at, int depth) {
    const std::uint32_t op = nodes_[static_cast<std::size_t>(index)].op;
    const bool comparison = (op >= kEqual && op <= kLessOrEqual) || op == kLike;
    if (!comparison && op != kAnd && op != kOr && op != kIn)
      Refuse("unknown binary operator " + std::to_string(op));
    const int left = Node(U16(at + 8), depth + 1);
    const int right =
        op == kIn ? List(left, U16(at + 10), depth + 1) : Node(U16(at + 10), depth + 1);
    if (op == kAnd || op == kOr) {
      if (!IsCondition(left) || !IsCondition(right)) Refuse("AND or OR over a value");
    } else if (op != kIn) {
      if (!IsValue(left) || !IsValue(right)) Refuse("a comparison of a condition");
      if (op == kLike) {
        if (!IsText(left, true) || !IsText(right, false))
          Refuse("LIKE over a value that is not text");
      } else {
        RequireComparable(left, right);
      }
    }
    nodes_[static_cast<std::size_t>(index)].first = left;
    nodes_[static_cast<std::size_t>(index)].second = right;
  }

  // Text values; a blob field counts when it is searched by LIKE.
  bool IsText(int i, bool blobField) const {
    const DecodedNode& n = nodes_[static_cast<std::size_t>(i)];
    return n.valueType == PEL_TYPE_CHARACTER ||
           (blobField && n.nodeClass == kFieldNode && n.valueType == PEL_TYPE_BLOB);
  }

  void RequireComparable(int a, int b) const {
    const int family = ComparisonFamily(TypeOf(a));
    if (family == 0 || family != ComparisonFamily(TypeOf(b)))
      Refuse("values of types " + std::to_string(TypeOf(a)) + " and " + std::to_string(TypeOf(b)) +
             " cannot be compared");
  }

  // The chain of list elements of an IN node, followed in a loop so that a
  // long list does not nest the checker's calls.
  int List(int left, std::size_t offset, int depth) {
    if (!IsValue(left)) Refuse("IN over a condition");
    int first = -1;
    int previous = -1;
    for (;;) {
      const std::size_t at = Claim(offset);
      if (U32(at) != kListElementNode) Refuse("an IN list holds a node that is no list element");
      if (U32(at + 4) != kListElementOperator) Refuse("a list element with an unknown operator");
      DecodedNode element{.nodeClass = kListElementNode, .op = kListElementOperator};
      const int index = static_cast<int>(nodes_.size());
      nodes_.push_back(element);
      (previous < 0 ? first : nodes_[static_cast<std::size_t>(previous)].second) = index;
      const int value = Node(U16(at + 8), depth + 1);
      if (!IsValue(value)) Refuse("an IN list holds a condition");
      RequireComparable(left, value);
      nodes_[static_cast<std::size_t>(index)].first = value;
      previous = index;
      offset = U16(at + 10);
      if (offset == 0) return first;
    }
  }

  void Compare(int index, std::size_t at, int depth) {
    DecodedNode& node = nodes_[static_cast<std::size_t>(index)];
    if (node.op != kEqual && node.op != kNotEqual && node.op != kLike)
      Refuse("unknown compare operator " + std::to_string(node.op));
    if (U16(at + 8) > 1) Refuse("the case flag is neither 0 nor 1");
    node.ignoreCase = U16(at + 8) == 1;
    node.partial = U16(at + 10);
    const int field = Node(U16(at + 12), depth + 1);
    const int constant = Node(U16(at + 14), depth + 1);
    DecodedNode& again = nodes_[static_cast<std::size_t>(index)];  // nodes_ may have grown
    if (nodes_[static_cast<std::size_t>(field)].nodeClass != kFieldNode ||
        nodes_[static_cast<std::size_t>(constant)].nodeClass != kConstantNode)
      Refuse("a compare node needs a field and a constant");
    const bool blobLike = again.op == kLike && TypeOf(field) == PEL_TYPE_BLOB;
    if ((TypeOf(field) != PEL_TYPE_CHARACTER && !blobLike) ||
        TypeOf(constant) != PEL_TYPE_CHARACTER)
      Refuse("a compare node over values that are not text");
    const DecodedNode& c = nodes_[static_cast<std::size_t>(constant)];
    const auto text = TextOf({buffer_.data() + c.literal, c.size});
    if (again.partial > text.size()) Refuse("the partial length exceeds the constant");
    again.first = field;
    again.second = constant;
  }

  // Bytes of the literal area from `offset` on, after checking it lies inside.
  std::size_t Literal(std::size_t offset, std::size_t size) const {
    const std::size_t at = literalStart_ + offset;
    if (at + size > buffer_.size() || size == 0) Refuse("a literal lies outside the literal area");
    return at;
  }

  void Field(int index, std::size_t at) {
    DecodedNode& node = nodes_[static_cast<std::size_t>(index)];
    if (node.op != kFieldOperator) Refuse("a field node with an unknown operator");
    node.fieldNumber = U16(at + 8);
    if (node.fieldNumber == 0 || node.fieldNumber > columns_.size())
      Refuse("field number " + std::to_string(node.fieldNumber) + " is not a column");
    node.valueType = columns_[node.fieldNumber - 1u].logical_type;
    const std::size_t name = Literal(U16(at + 10), 1);
    if (std::memchr(buffer_.data() + name, 0, buffer_.size() - name) == nullptr)
      Refuse("a field name runs past the buffer");
  }

  void Constant(int index, std::size_t at) {
    DecodedNode& node = nodes_[static_cast<std::size_t>(index)];
    if (node.op != kConstantOperator) Refuse("a constant node with an unknown operator");
    node.valueType = U16(at + 8);
    node.size = U16(at + 10);
    const std::size_t needed = MinimumValueSize(node.valueType);
    if (needed == 0) Refuse("unknown constant type " + std::to_string(node.valueType));
    const bool text = node.valueType == PEL_TYPE_CHARACTER;
    if (text ? node.size < 1 : node.size != needed) Refuse("a constant of the wrong size");
    node.literal = static_cast<std::uint32_t>(Literal(U16(at + 12), node.size));
    if (text && buffer_[node.literal + node.size - 1u] != 0)
      Refuse("a text constant without its zero byte");
    if (node.valueType == PEL_TYPE_BCD) CheckBcd(node.literal);
  }

  void CheckBcd(std::size_t at) const {
    if (buffer_[at] != 32 || (buffer_[at + 1] & 0x3F) > 32) Refuse("a BCD constant out of range");
    for (std::size_t i = at + 2; i < at + 18; ++i)
      if ((buffer_[i] >> 4) > 9 || (buffer_[i] & 0x0F) > 9) Refuse("a BCD digit out of range");
  }

  const std::vector<std::uint8_t>& buffer_;
  std::span<const pel_field_descriptor> columns_;
  std::vector<DecodedNode>& nodes_;
  std::size_t nodeAreaSize_ = 0;
  std::size_t literalStart_ = 0;
  std::vector<bool> claimed_;
  std::size_t claimedBytes_ = 0;
};

}  // namespace

bool DecodeFilter(std::vector<std::uint8_t> buffer, std::span<const pel_field_descriptor> columns,
                  FilterProgram::Checked& out, std::string* error) {
  out.buffer = std::move(buffer);
  out.nodes.clear();
  try {
    Decoder(out.buffer, columns, out.nodes).Run();
    return true;
  } catch (const Refusal& refusal) {
    if (error) *error = refusal.text;
    return false;
  }
}

}  // namespace pellory::engine::filter
