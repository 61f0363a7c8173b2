// The parser: conditions, conjunctions, negations, comparisons and primaries,
// lowest precedence first. Field names are looked up as soon as they are read.
#include <algorithm>

#include "filter_scanner.h"
#include "filter_tree.h"

namespace pellory::data::filter {
namespace {

[[noreturn]] void Fail(const std::string& message) {
  throw FilterCompileError(message);
}
[[noreturn]] void IncorrectlyFormed() {
  Fail("Incorrectly formed filter expression");
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto upper = [](char c) {
      return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    };
    return upper(x) == upper(y);
  });
}

ExprPtr Make(ExprKind kind, std::vector<ExprPtr> operands = {}) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  // A long chain of AND or OR grows the tree one level per term; bounding the
  // depth here keeps every later walk of the tree, its destruction included,
  // from exhausting the stack.
  for (const ExprPtr& operand : operands) e->depth = std::max(e->depth, operand->depth + 1);
  if (e->depth > kMaxTreeDepth) Fail("Filter expression is nested too deeply");
  e->operands = std::move(operands);
  return e;
}

std::vector<ExprPtr> Pair(ExprPtr a, ExprPtr b) {
  std::vector<ExprPtr> v;
  v.push_back(std::move(a));
  v.push_back(std::move(b));
  return v;
}

class Parser {
 public:
  Parser(std::string_view text, const FilterContext& context) : scanner_(text), context_(context) {
    Advance();
  }

  ExprPtr Whole() {
    ExprPtr root = Condition();
    if (token_.kind != TokenKind::End) Fail("Filter expression incorrectly terminated");
    RequireCondition(*root);
    return root;
  }

 private:
  void Advance() { token_ = scanner_.Next(); }

  bool AtWord(std::string_view word) const {
    return token_.kind == TokenKind::Symbol && SameName(token_.value, word);
  }

  // The offending token for messages: its text in quotes, or "nothing".
  std::string Found() const {
    return token_.kind == TokenKind::End ? "nothing" : "'" + token_.written + "'";
  }

  static void RequireCondition(const Expr& e) {
    if (!e.IsCondition()) IncorrectlyFormed();
  }
  static void RequireValue(const Expr& e) {
    if (!e.IsValue()) IncorrectlyFormed();
  }

  ExprPtr Condition() {
    if (++nesting_ > kMaxParseNesting) Fail("Filter expression is nested too deeply");
    ExprPtr left = Conjunction();
    while (AtWord("OR")) {
      Advance();
      left = Logical(ExprKind::Or, std::move(left), Conjunction());
    }
    --nesting_;
    return left;
  }

  ExprPtr Conjunction() {
    ExprPtr left = Negation();
    while (AtWord("AND")) {
      Advance();
      left = Logical(ExprKind::And, std::move(left), Negation());
    }
    return left;
  }

  static ExprPtr Logical(ExprKind kind, ExprPtr left, ExprPtr right) {
    RequireCondition(*left);
    RequireCondition(*right);
    return Make(kind, Pair(std::move(left), std::move(right)));
  }

  ExprPtr Negation() {
    if (!AtWord("NOT")) return Comparison();
    Advance();
    ExprPtr operand = Comparison();
    RequireCondition(*operand);
    std::vector<ExprPtr> operands;
    operands.push_back(std::move(operand));
    return Make(ExprKind::Not, std::move(operands));
  }

  static std::uint32_t ComparisonCode(TokenKind kind) {
    switch (kind) {
      case TokenKind::Equal:
        return kOpEqual;
      case TokenKind::NotEqual:
        return kOpNotEqual;
      case TokenKind::Less:
        return kOpLess;
      case TokenKind::LessOrEqual:
        return kOpLessOrEqual;
      case TokenKind::Greater:
        return kOpGreater;
      case TokenKind::GreaterOrEqual:
        return kOpGreaterOrEqual;
      default:
        return 0;
    }
  }

  ExprPtr Comparison() {
    ExprPtr left = Operand();
    const TokenKind kind = token_.kind;
    ExprPtr result;
    if (const std::uint32_t code = ComparisonCode(kind); code != 0 || kind == TokenKind::Like) {
      Advance();
      result =
          Make(code != 0 ? ExprKind::Comparison : ExprKind::Like, Pair(std::move(left), Operand()));
      result->op = code != 0 ? code : kOpLike;
    } else if (kind == TokenKind::IsNull || kind == TokenKind::IsNotNull) {
      Advance();
      std::vector<ExprPtr> operands;
      operands.push_back(std::move(left));
      result = Make(kind == TokenKind::IsNull ? ExprKind::IsNull : ExprKind::IsNotNull,
                    std::move(operands));
    } else if (kind == TokenKind::In) {
      Advance();
      result = InList(std::move(left));
    } else {
      return left;
    }
    for (const ExprPtr& operand : result->operands) RequireValue(*operand);
    ApplyTypeRules(*result);
    return result;
  }

  ExprPtr InList(ExprPtr left) {
    if (token_.kind != TokenKind::OpenParen) Fail("'(' expected but " + Found() + " found");
    Advance();
    if (token_.kind == TokenKind::CloseParen) Fail("IN predicate list may not be empty");
    std::vector<ExprPtr> operands;
    operands.push_back(std::move(left));
    for (;;) {
      operands.push_back(Condition());
      if (token_.kind == TokenKind::CloseParen) break;
      if (token_.kind != TokenKind::Comma) Fail("')' or ',' expected but " + Found() + " found");
      Advance();
    }
    Advance();
    return Make(ExprKind::In, std::move(operands));
  }

  // Filters allow no arithmetic: an operand or term may not go on.
  ExprPtr Operand() {
    ExprPtr primary = Primary();
    const TokenKind kind = token_.kind;
    if (kind == TokenKind::Plus || kind == TokenKind::Minus || kind == TokenKind::Times ||
        kind == TokenKind::Divide)
      Fail("Arithmetic in filter expressions not supported");
    return primary;
  }

  ExprPtr Primary() {
    ExprPtr e;
    switch (token_.kind) {
      case TokenKind::Symbol:
        e = SymbolPrimary();
        break;
      case TokenKind::FieldName:
        e = FieldPrimary(token_.value);
        break;
      case TokenKind::String:
      case TokenKind::Number:
        e = Make(token_.kind == TokenKind::String ? ExprKind::StringConstant
                                                  : ExprKind::NumberConstant);
        e->text = token_.value;
        break;
      case TokenKind::OpenParen:
        return Parenthesised();
      default:
        Fail("Expression expected but " + Found() + " found");
    }
    Advance();
    return e;
  }

  ExprPtr Parenthesised() {
    Advance();
    ExprPtr inner = Condition();
    if (token_.kind != TokenKind::CloseParen) Fail("')' expected but " + Found() + " found");
    Advance();
    return inner;
  }

  ExprPtr SymbolPrimary() {
    if (SameName(token_.value, "NULL")) return Make(ExprKind::NullConstant);
    if (SameName(token_.value, "TRUE") || SameName(token_.value, "FALSE")) {
      ExprPtr e = Make(ExprKind::TruthConstant);
      e->truth = SameName(token_.value, "TRUE");
      return e;
    }
    return FieldPrimary(token_.value);
  }

  ExprPtr FieldPrimary(const std::string& name) {
    const auto& fields = context_.fields;
    const auto it = std::find_if(fields.begin(), fields.end(),
                                 [&](const FilterField& f) { return SameName(f.name, name); });
    if (it == fields.end()) {
      const std::string message = "Field '" + name + "' not found";
      Fail(context_.cursorName.empty() ? message : context_.cursorName + ": " + message);
    }
    ExprPtr e = Make(ExprKind::Field);
    e->field = &*it;
    e->text = name;
    return e;
  }

  FilterScanner scanner_;
  const FilterContext& context_;
  Token token_;
  int nesting_ = 0;
};

}  // namespace

ExprPtr ParseFilter(std::string_view text, const FilterContext& context) {
  return Parser(text, context).Whole();
}

}  // namespace pellory::data::filter
