// Reading the tokens of a filter text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pellory::data::filter {

enum class TokenKind {
  End,
  Symbol,
  FieldName,  // a bracketed name
  String,
  Number,
  Like,
  In,
  IsNull,
  IsNotNull,
  Equal,
  NotEqual,
  Less,
  LessOrEqual,
  Greater,
  GreaterOrEqual,
  OpenParen,
  CloseParen,
  Comma,
  Plus,
  Minus,
  Times,
  Divide,
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string value;    // a symbol's or field's name, a literal's content
  std::string written;  // the token as it stands in the text, for messages
};

class FilterScanner {
 public:
  explicit FilterScanner(std::string_view text) : text_(text) {}
  // Throws FilterCompileError for characters and literals that are not valid.
  Token Next();

 private:
  void SkipBlanksAndComments();
  Token StringLiteral();
  Token BracketedName();
  Token SymbolOrKeyword();
  Token IsKeyword();
  Token NumberOrMinus();
  Token Operator();
  std::string ReadSymbol();
  void SkipBlanks();
  char At(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
  bool AtEnd() const { return pos_ >= text_.size(); }

  std::string_view text_;
  std::size_t pos_ = 0;
  TokenKind previous_ = TokenKind::End;
};

}  // namespace pellory::data::filter
