// The decoded form of a checked filter buffer, shared by the checker and the
// evaluator. Every index and literal position in it has been checked.
#pragma once

#include <cstdint>
#include <vector>

#include "filter_program.h"

namespace pellory::engine::filter {

enum NodeClass : std::uint32_t {
  kUnaryNode = 1,
  kBinaryNode = 2,
  kCompareNode = 3,
  kFieldNode = 4,
  kConstantNode = 5,
  kListElementNode = 11,
};

enum Operator : std::uint32_t {
  kIsBlank = 1,
  kIsNotBlank = 2,
  kEqual = 3,
  kNotEqual = 4,
  kGreater = 5,
  kLess = 6,
  kGreaterOrEqual = 7,
  kLessOrEqual = 8,
  kNot = 9,
  kAnd = 10,
  kOr = 11,
  kFieldOperator = 13,
  kConstantOperator = 14,
  kLike = 30,
  kIn = 31,
  kListElementOperator = 36,
};

struct DecodedNode {
  std::uint32_t nodeClass = 0;
  std::uint32_t op = 0;
  // Children by index into Checked::nodes, -1 for none: the operand of a
  // unary node; left and right of a binary node (right = first list element
  // for IN); field and constant of a compare node; value and next of a list
  // element.
  int first = -1;
  int second = -1;
  bool ignoreCase = false;        // compare nodes
  std::uint16_t partial = 0;      // compare nodes
  std::uint16_t valueType = 0;    // field and constant nodes: a PEL_TYPE_ code
  std::uint16_t fieldNumber = 0;  // field nodes
  std::uint32_t literal = 0;      // constant nodes: position of the value in the buffer
  std::uint16_t size = 0;         // constant nodes: bytes of the value
};

struct FilterProgram::Checked {
  std::vector<std::uint8_t> buffer;
  std::vector<DecodedNode> nodes;  // nodes[0] is the root
  // Field values of the record under test, kept between records so that a
  // scan does not allocate per record; a program is used by one call at a time.
  mutable std::vector<std::uint8_t> leftValue;
  mutable std::vector<std::uint8_t> rightValue;
};

// Checks the buffer whole; false with *error set when it is refused.
bool DecodeFilter(std::vector<std::uint8_t> buffer, std::span<const pel_field_descriptor> columns,
                  FilterProgram::Checked& out, std::string* error);

}  // namespace pellory::engine::filter
