#include "content_spans.h"

#include <map>
#include <memory>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFTokenizer.hh>
#include <set>
#include <stdexcept>

#include "span_marks.h"

namespace pellory::specimen {
namespace {

using Marks = std::map<QPDFObjGen, SpanMark>;

[[noreturn]] void Mismatch(const std::string& what) {
  throw std::runtime_error("the book's text spans do not match its pages (" + what + ")");
}

// The part's mark pictures: small RGB images whose pixels are a mark's.
Marks FindMarks(QPDF& part) {
  Marks marks;
  for (QPDFObjectHandle& object : part.getAllObjects()) {
    if (!object.isStream()) continue;
    QPDFObjectHandle dict = object.getDict();
    if (!dict.getKey("/Subtype").isNameAndEquals("/Image")) continue;
    QPDFObjectHandle width = dict.getKey("/Width");
    QPDFObjectHandle height = dict.getKey("/Height");
    if (!width.isInteger() || !height.isInteger() ||
        width.getIntValue() * height.getIntValue() != 2)
      continue;
    const std::shared_ptr<Buffer> data = object.getStreamData(qpdf_dl_generalized);
    const std::string rgb(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    const SpanMark mark = SpanMarkOf(width.getIntValue(), height.getIntValue(), rgb);
    if (mark != SpanMark::None) marks[object.getObjGen()] = mark;
  }
  return marks;
}

// A token of a page's content as a view of its text: what the rewriting
// needs (its kind and spelling) without a copy of each, so that a page's
// tokens take little more memory than its text.
struct Lexeme {
  QPDFTokenizer::token_type_e type;
  std::string_view raw;
  bool Is(std::string_view word) const { return type == QPDFTokenizer::tt_word && raw == word; }
};

std::vector<Lexeme> Lex(const std::shared_ptr<Buffer>& content) {
  QPDFTokenizer tokenizer;
  tokenizer.allowEOF();
  tokenizer.includeIgnorable();
  auto input = std::make_shared<BufferInputSource>("page content", content.get());
  const std::string_view text(reinterpret_cast<const char*>(content->getBuffer()),
                              content->getSize());
  std::vector<Lexeme> lexemes;
  for (;;) {
    const QPDFTokenizer::Token token = tokenizer.readToken(input, "page content", true);
    if (token.getType() == QPDFTokenizer::tt_eof) break;
    if (token.isWord("ID")) Mismatch("an inline image in a page of the book");
    const auto begin = static_cast<std::size_t>(input->getLastOffset());
    const auto end = static_cast<std::size_t>(input->tell());
    lexemes.push_back({token.getType(), text.substr(begin, end - begin)});
  }
  return lexemes;
}

bool Ignorable(const Lexeme& lexeme) {
  return lexeme.type == QPDFTokenizer::tt_space || lexeme.type == QPDFTokenizer::tt_comment;
}

// The drawing of a picture, "q [/GS gs] [M cm]... /Name Do Q", from its q to
// its Q; only "/Name Do" where it is not drawn so.
std::pair<std::size_t, std::size_t> Drawing(const std::vector<Lexeme>& tokens, std::size_t name,
                                            std::size_t doOperator) {
  std::size_t first = name;
  for (std::size_t k = name; k-- > 0;) {
    const Lexeme& t = tokens[k];
    if (t.Is("q")) {
      first = k;
      break;
    }
    const bool operand = Ignorable(t) || t.type == QPDFTokenizer::tt_integer ||
                         t.type == QPDFTokenizer::tt_real || t.type == QPDFTokenizer::tt_name;
    if (!operand && !t.Is("cm") && !t.Is("gs")) break;
  }
  std::size_t last = doOperator + 1;
  while (last < tokens.size() && Ignorable(tokens[last])) ++last;
  if (first == name || last == tokens.size() || !tokens[last].Is("Q")) return {name, doOperator};
  return {first, last};
}

// A page's content rewritten token by token. Each span's marked content
// encloses its text objects: the span begins right before its first BT and
// ends right after its last ET, inside the graphics state its text was
// drawn in (readers take a span's place from the state it ends in); a span
// that drew no text is left out. Qt's PDF writer emboldens a face it takes
// for a light one drawn heavy by drawing its text a second time (in a span
// of no text), and slants one it takes for upright by a shear in its text
// matrix; a specimen shows faces as they are (a variable font's heavy or
// sloped instance is not drawn heavier or slanted again), so both go.
class Rewriter {
 public:
  Rewriter(const std::shared_ptr<Buffer>& content, const std::map<std::string, SpanMark>& names,
           SpanTexts& texts)
      : content_(content), tokens_(Lex(content)), names_(names), texts_(texts) {
    out_.reserve(content->getSize() + content->getSize() / 8);
  }

  std::string Run() {
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      if (tokens_[i].Is("BT")) Text(i);
      if (tokens_[i].Is("ET")) EndText(i);
      if (inText_ && tokens_[i].Is("Tm")) Unslant(i);
      if (inText_ && tokens_[i].Is("BDC") && DrawnAgain(i)) i = LeaveOut(i);
      if (tokens_[i].Is("Do")) MarkAt(i);
    }
    if (!open_.empty()) Mismatch("a span does not end on its page");
    CopyUpTo(tokens_.size());
    return std::move(out_);
  }

 private:
  void CopyUpTo(std::size_t end) {
    for (; written_ < end; ++written_) out_ += tokens_[written_].raw;
  }
  // The index of the first of an operator's `count` operands.
  std::size_t Operands(std::size_t op, int count) const {
    std::size_t first = op;
    for (int n = 0; n < count && first > 0;) {
      --first;
      if (!Ignorable(tokens_[first])) ++n;
    }
    return first;
  }
  void Text(std::size_t bt) {
    inText_ = true;
    lastTm_ = 0;
    if (open_.empty() || begun_) return;
    CopyUpTo(bt);
    out_ += "/Span <</ActualText ";
    out_ += open_;
    out_ += ">> BDC\n";
    begun_ = true;
  }
  void EndText(std::size_t et) {
    inText_ = false;
    if (open_.empty()) return;
    CopyUpTo(et + 1);
    afterText_ = out_.size();
  }
  // "w 0 .3 -1 0 0 Tm": Qt's shear of a face it slants; set upright again.
  void Unslant(std::size_t tm) {
    lastTm_ = tm;
    const std::size_t first = Operands(tm, 6);
    std::vector<std::size_t> operands;
    for (std::size_t k = first; k < tm; ++k)
      if (!Ignorable(tokens_[k])) operands.push_back(k);
    if (operands.size() != 6 || tokens_[operands[2]].raw != ".3") return;
    CopyUpTo(operands[2]);
    out_ += '0';
    written_ = operands[2] + 1;
  }
  // "/Span << /ActualText <> >> BDC" inside a text object: Qt's second drawing.
  bool DrawnAgain(std::size_t bdc) const {
    std::vector<const Lexeme*> before;
    for (std::size_t k = bdc; k-- > 0 && before.size() < 5;)
      if (!Ignorable(tokens_[k])) before.push_back(&tokens_[k]);
    return lastTm_ && before.size() == 5 && before[1]->type == QPDFTokenizer::tt_string &&
           (before[1]->raw == "<>" || before[1]->raw == "()") && before[2]->raw == "/ActualText" &&
           before[4]->raw == "/Span";
  }
  // Leaves out the second drawing, from its text matrix to its EMC; answers
  // the EMC's index.
  std::size_t LeaveOut(std::size_t bdc) {
    std::size_t emc = bdc;
    while (emc < tokens_.size() && !tokens_[emc].Is("EMC")) ++emc;
    if (emc == tokens_.size()) return bdc;
    CopyUpTo(Operands(lastTm_, 6));
    written_ = emc + 1;
    return emc;
  }
  void MarkAt(std::size_t doOperator) {
    std::size_t name = doOperator;
    while (name > 0 && Ignorable(tokens_[name - 1])) --name;
    if (name == 0 || tokens_[name - 1].type != QPDFTokenizer::tt_name) return;
    const auto mark = names_.find(std::string(tokens_[--name].raw));
    if (mark == names_.end()) return;
    const auto [first, last] = Drawing(tokens_, name, doOperator);
    CopyUpTo(first);
    written_ = last + 1;
    if (mark->second == SpanMark::Start) {
      if (!open_.empty()) Mismatch("a span starts inside another");
      open_ = texts_.Next();
      begun_ = false;
      return;
    }
    if (open_.empty()) Mismatch("a span ends that did not start");
    if (begun_) out_.insert(afterText_, "\nEMC");
    open_ = {};
  }

  std::shared_ptr<Buffer> content_;  // the text the tokens view
  const std::vector<Lexeme> tokens_;
  const std::map<std::string, SpanMark>& names_;
  SpanTexts& texts_;
  std::string out_;
  std::size_t written_ = 0;    // tokens before it are in `out_`
  std::string_view open_;      // the text of the span being drawn; empty: none
  bool begun_ = false;         // its BDC is written
  std::size_t afterText_ = 0;  // where in `out_` its last ET ended
  bool inText_ = false;
  std::size_t lastTm_ = 0;  // the text object's last Tm; 0 for none yet
};

std::string Deflated(const std::string& data) {
  std::string out;
  Pl_String sink("span content", nullptr, out);
  Pl_Flate flate("span content", &sink, Pl_Flate::a_deflate);
  flate.write(reinterpret_cast<const unsigned char*>(data.data()), data.size());
  flate.finish();
  return out;
}

// The names the page's resources give the marks; each is taken out of them.
std::map<std::string, SpanMark> TakeMarkNames(QPDFObjectHandle page, const Marks& marks) {
  std::map<std::string, SpanMark> names;
  QPDFObjectHandle xobjects = page.getKey("/Resources").getKey("/XObject");
  if (!xobjects.isDictionary()) return names;
  for (const std::string& key : xobjects.getKeys()) {
    QPDFObjectHandle object = xobjects.getKey(key);
    const auto mark = object.isIndirect() ? marks.find(object.getObjGen()) : marks.end();
    if (mark == marks.end()) continue;
    names[key] = mark->second;
    xobjects.removeKey(key);
  }
  return names;
}

}  // namespace

std::string_view SpanTexts::Next() {
  if (next_ == texts_.size()) Mismatch("more spans than texts");
  return texts_[next_++];
}

std::vector<QPDFObjGen> SpanPages(QPDF& part, SpanTexts& texts) {
  const Marks marks = FindMarks(part);
  if (marks.empty()) return {};
  QPDFPageDocumentHelper pages(part);
  for (QPDFPageObjectHelper& page : pages.getAllPages()) {
    const std::map<std::string, SpanMark> names = TakeMarkNames(page.getObjectHandle(), marks);
    if (names.empty()) continue;
    QPDFObjectHandle contents = page.getObjectHandle().getKey("/Contents");
    std::vector<QPDFObjectHandle> streams =
        contents.isArray() ? contents.getArrayAsVector() : std::vector<QPDFObjectHandle>{contents};
    for (QPDFObjectHandle& stream : streams) {
      if (!stream.isStream()) continue;
      stream.replaceStreamData(
          Deflated(Rewriter(stream.getStreamData(qpdf_dl_generalized), names, texts).Run()),
          QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
    }
  }
  std::vector<QPDFObjGen> objects;
  for (const auto& [object, mark] : marks) objects.push_back(object);
  return objects;
}

}  // namespace pellory::specimen
