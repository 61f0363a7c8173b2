// The scanner: blanks and comments, literals, names, keywords and operators.
#include "filter_scanner.h"

#include "pellory/data/filter_compiler.h"
#include "pellory/text/utf8.h"

namespace pellory::data::filter {
namespace {

constexpr std::size_t kKeptStringCharacters = 256;

// Control characters and bytes that are not UTF-8 text by themselves are
// shown as "\xNN", so that the message stays readable text.
[[noreturn]] void InvalidCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  std::string shown(1, c);
  if (u < 32 || u >= 127) {
    static const char kHex[] = "0123456789ABCDEF";
    shown = std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
  }
  throw FilterCompileError("Invalid filter expression character: '" + shown + "'");
}

bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool StartsSymbol(char c) {
  const auto u = static_cast<unsigned char>(c);
  return IsLetter(c) || c == '_' || (u >= 129 && u <= 254);
}
// Bytes from 128 on continue a symbol so that UTF-8 names stay whole.
bool ContinuesSymbol(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_' || c == '.' || c == '[' || c == ']' ||
         static_cast<unsigned char>(c) >= 128;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 32) : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

bool EndsOperand(TokenKind kind) {
  return kind == TokenKind::Symbol || kind == TokenKind::FieldName || kind == TokenKind::String ||
         kind == TokenKind::Number || kind == TokenKind::CloseParen;
}

}  // namespace

Token FilterScanner::Next() {
  SkipBlanksAndComments();
  Token token;
  const char c = At(pos_);
  const std::size_t start = pos_;
  if (AtEnd())
    token.kind = TokenKind::End;
  else if (c == '\'')
    token = StringLiteral();
  else if (c == '[')
    token = BracketedName();
  else if (StartsSymbol(c))
    token = SymbolOrKeyword();
  else if (c == '-' || IsDigit(c))
    token = NumberOrMinus();
  else
    token = Operator();
  token.written = std::string(text_.substr(start, pos_ - start));
  previous_ = token.kind;
  return token;
}

void FilterScanner::SkipBlanks() {
  while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
}

void FilterScanner::SkipBlanksAndComments() {
  for (;;) {
    SkipBlanks();
    if (At(pos_) != '/' || At(pos_ + 1) != '*') return;
    // The comment ends at its first '*', which must be followed by '/'.
    const std::size_t star = text_.find('*', pos_ + 2);
    if (star == std::string_view::npos) InvalidCharacter('/');
    if (At(star + 1) != '/') InvalidCharacter(star + 1 < text_.size() ? text_[star + 1] : '*');
    pos_ = star + 2;
  }
}

Token FilterScanner::StringLiteral() {
  Token token{TokenKind::String, {}, {}};
  ++pos_;
  for (;;) {
    if (AtEnd()) throw FilterCompileError("Unterminated string constant");
    if (text_[pos_] == '\'') {
      if (At(pos_ + 1) != '\'') break;
      ++pos_;
    }
    // The engine's texts end at a zero byte, so one cannot stand inside.
    if (text_[pos_] == '\0') InvalidCharacter('\0');
    token.value += text_[pos_++];
  }
  ++pos_;
  token.value = std::string(text::FirstUtf8Characters(token.value, kKeptStringCharacters));
  return token;
}

Token FilterScanner::BracketedName() {
  const std::size_t close = text_.find(']', pos_ + 1);
  if (close == std::string_view::npos) throw FilterCompileError("Unterminated field name");
  Token token{TokenKind::FieldName, std::string(text_.substr(pos_ + 1, close - pos_ - 1)), {}};
  pos_ = close + 1;
  return token;
}

std::string FilterScanner::ReadSymbol() {
  const std::size_t start = pos_;
  ++pos_;
  while (!AtEnd() && ContinuesSymbol(text_[pos_])) ++pos_;
  return std::string(text_.substr(start, pos_ - start));
}

Token FilterScanner::SymbolOrKeyword() {
  Token token{TokenKind::Symbol, ReadSymbol(), {}};
  if (SameWord(token.value, "LIKE")) token.kind = TokenKind::Like;
  if (SameWord(token.value, "IN")) token.kind = TokenKind::In;
  if (SameWord(token.value, "IS")) return IsKeyword();
  return token;
}

// "IS NULL" and "IS NOT NULL" are single tokens.
Token FilterScanner::IsKeyword() {
  const auto nextWord = [this]() -> std::string {
    SkipBlanks();
    if (AtEnd() || !StartsSymbol(text_[pos_])) return {};
    return ReadSymbol();
  };
  const std::string word = nextWord();
  Token token{TokenKind::IsNull, {}, {}};
  if (SameWord(word, "NOT")) {
    token.kind = TokenKind::IsNotNull;
    if (SameWord(nextWord(), "NULL")) return token;
  } else if (SameWord(word, "NULL")) {
    return token;
  }
  throw FilterCompileError("Invalid use of keyword");
}

Token FilterScanner::NumberOrMinus() {
  if (EndsOperand(previous_)) {
    ++pos_;
    return {TokenKind::Minus, "-", {}};
  }
  const std::size_t start = pos_;
  ++pos_;
  while (!AtEnd() && (IsDigit(text_[pos_]) || text_[pos_] == '.' || text_[pos_] == 'E' ||
                      text_[pos_] == 'e' || text_[pos_] == '+' || text_[pos_] == '-'))
    ++pos_;
  return {TokenKind::Number, std::string(text_.substr(start, pos_ - start)), {}};
}

Token FilterScanner::Operator() {
  const char c = text_[pos_];
  const char d = At(pos_ + 1);
  TokenKind kind;
  std::size_t length = 1;
  switch (c) {
    case '=':
      kind = TokenKind::Equal;
      break;
    case '<':
      kind = d == '>' ? TokenKind::NotEqual : (d == '=' ? TokenKind::LessOrEqual : TokenKind::Less);
      length = (d == '>' || d == '=') ? 2 : 1;
      break;
    case '>':
      kind = d == '=' ? TokenKind::GreaterOrEqual : TokenKind::Greater;
      length = d == '=' ? 2 : 1;
      break;
    case '(':
      kind = TokenKind::OpenParen;
      break;
    case ')':
      kind = TokenKind::CloseParen;
      break;
    case ',':
      kind = TokenKind::Comma;
      break;
    case '+':
      kind = TokenKind::Plus;
      break;
    case '*':
      kind = TokenKind::Times;
      break;
    case '/':
      kind = TokenKind::Divide;
      break;
    default:
      InvalidCharacter(c);
  }
  pos_ += length;
  return {kind, {}, {}};
}

}  // namespace pellory::data::filter
