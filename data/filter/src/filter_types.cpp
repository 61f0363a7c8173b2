// Type rules: a constant compared with a field takes the field's type; blobs
// and bytes compare with nothing but blank tests (LIKE over a blob excepted).
#include <charconv>

#include "filter_tree.h"

namespace pellory::data::filter {
namespace {

enum Family {
  kNoFamily,
  kTextFamily,
  kNumberFamily,
  kDateFamily,
  kTimeFamily,
  kStampFamily,
  kTruthFamily
};

Family FamilyOf(FilterDataKind kind) {
  switch (kind) {
    case FilterDataKind::String:
      return kTextFamily;
    case FilterDataKind::SmallInt:
    case FilterDataKind::Integer:
    case FilterDataKind::Float:
    case FilterDataKind::BCD:
    case FilterDataKind::Word:
      return kNumberFamily;
    case FilterDataKind::Date:
      return kDateFamily;
    case FilterDataKind::Time:
      return kTimeFamily;
    case FilterDataKind::DateTime:
      return kStampFamily;
    case FilterDataKind::Boolean:
      return kTruthFamily;
    default:
      return kNoFamily;
  }
}

[[noreturn]] void Mismatch() {
  throw FilterCompileError("Type mismatch in expression");
}

bool IsField(const Expr& e) {
  return e.kind == ExprKind::Field;
}
bool IsBinaryField(const Expr& e) {
  return IsField(e) &&
         (e.field->kind == FilterDataKind::Blob || e.field->kind == FilterDataKind::Bytes);
}

FilterDataKind TypeOf(const Expr& e) {
  return IsField(e) ? e.field->kind : e.type;
}

// A constant's own type when no field gives it one.
void GiveOwnType(Expr& c) {
  switch (c.kind) {
    case ExprKind::StringConstant:
      c.type = FilterDataKind::String;
      break;
    case ExprKind::TruthConstant:
      c.type = FilterDataKind::Boolean;
      break;
    case ExprKind::NumberConstant: {
      long value = 0;
      const char* end = c.text.data() + c.text.size();
      const auto [ptr, ec] = std::from_chars(c.text.data(), end, value);
      const bool integral =
          ec == std::errc() && ptr == end && value >= INT32_MIN && value <= INT32_MAX;
      c.type = integral ? FilterDataKind::Integer : FilterDataKind::Float;
      break;
    }
    default:
      Mismatch();  // NULL compared with no field
  }
}

void TakeFieldType(Expr& constant, const FilterField& field) {
  if (constant.kind == ExprKind::NullConstant) return;  // becomes a blank test or fails later
  constant.type = field.kind;
  constant.decimals = field.decimals;
}

void TypePair(bool like, Expr& a, Expr& b) {
  if (IsBinaryField(a) || IsBinaryField(b)) {
    // LIKE over a blob on the left searches text; its constant is a string.
    const bool blobLike = like && IsField(a) && a.field->kind == FilterDataKind::Blob &&
                          !IsBinaryField(b) &&
                          (b.IsConstant() || FamilyOf(TypeOf(b)) == kTextFamily);
    if (!blobLike) Mismatch();
    if (b.IsConstant()) b.type = FilterDataKind::String;
    return;
  }
  if (IsField(a) && b.IsConstant()) TakeFieldType(b, *a.field);
  if (IsField(b) && a.IsConstant()) TakeFieldType(a, *b.field);
  if (a.IsConstant() && b.IsConstant()) {
    GiveOwnType(a);
    GiveOwnType(b);
  }
}

bool Compatible(bool like, const Expr& a, const Expr& b) {
  if (a.kind == ExprKind::NullConstant || b.kind == ExprKind::NullConstant) return true;
  if (like && IsBinaryField(a)) return true;
  const Family family = FamilyOf(TypeOf(a));
  return family != kNoFamily && family == FamilyOf(TypeOf(b)) && (!like || family == kTextFamily);
}

}  // namespace

void ApplyTypeRules(Expr& e) {
  Expr& left = *e.operands[0];
  if (e.kind == ExprKind::IsNull || e.kind == ExprKind::IsNotNull) {
    if (left.kind == ExprKind::NullConstant)
      throw FilterCompileError("Incorrectly formed filter expression");
    if (left.IsConstant()) GiveOwnType(left);
    return;
  }
  const bool like = e.kind == ExprKind::Like;
  for (std::size_t i = 1; i < e.operands.size(); ++i) TypePair(like, left, *e.operands[i]);
  for (std::size_t i = 1; i < e.operands.size(); ++i)
    if (!Compatible(like, left, *e.operands[i])) Mismatch();
}

}  // namespace pellory::data::filter
