// The parsed form of a filter text, with the type rules applied.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pellory/data/filter_compiler.h"

namespace pellory::data::filter {

enum class ExprKind {
  Field,
  StringConstant,
  NumberConstant,
  NullConstant,
  TruthConstant,
  Comparison,  // =, <>, <, >, <=, >= (op holds the format's operator code)
  Like,
  IsNull,
  IsNotNull,
  In,  // operands: the tested value, then the list's values
  And,
  Or,
  Not,
};

struct Expr {
  ExprKind kind = ExprKind::NullConstant;
  const FilterField* field = nullptr;  // Field
  std::string text;                    // Field: the name as written; constants: their text
  bool truth = false;                  // TruthConstant
  // The type a constant takes: the field's kind it meets, or its own.
  FilterDataKind type = FilterDataKind::Unknown;
  int decimals = 0;
  std::uint32_t op = 0;  // Comparison
  std::vector<std::unique_ptr<Expr>> operands;
  int depth = 1;  // levels of the tree from this expression down

  bool IsConstant() const {
    return kind == ExprKind::StringConstant || kind == ExprKind::NumberConstant ||
           kind == ExprKind::NullConstant || kind == ExprKind::TruthConstant;
  }
  bool IsValue() const { return kind == ExprKind::Field || IsConstant(); }
  // A condition, or a boolean field that stands for "field <> False".
  bool IsCondition() const {
    return !IsValue() || (kind == ExprKind::Field && field->kind == FilterDataKind::Boolean);
  }
};

using ExprPtr = std::unique_ptr<Expr>;

// Operator codes of the binary format.
enum FormatOperator : std::uint32_t {
  kOpIsBlank = 1,
  kOpIsNotBlank = 2,
  kOpEqual = 3,
  kOpNotEqual = 4,
  kOpGreater = 5,
  kOpLess = 6,
  kOpGreaterOrEqual = 7,
  kOpLessOrEqual = 8,
  kOpNot = 9,
  kOpAnd = 10,
  kOpOr = 11,
  kOpField = 13,
  kOpConstant = 14,
  kOpLike = 30,
  kOpIn = 31,
  kOpListElement = 36,
};

// Parses the whole text and applies the type rules; throws FilterCompileError.
ExprPtr ParseFilter(std::string_view text, const FilterContext& context);

// Gives the constants of a comparison, LIKE or IN their types, or fails with
// "Type mismatch in expression".
void ApplyTypeRules(Expr& comparison);

// Deepest nesting of parentheses and IN lists the parser follows.
inline constexpr int kMaxParseNesting = 200;
// Deepest tree the parser builds; the engine refuses deeper node nesting.
inline constexpr int kMaxTreeDepth = 1000;

}  // namespace pellory::data::filter
