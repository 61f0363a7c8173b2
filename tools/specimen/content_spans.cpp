#include "content_spans.h"

#include <algorithm>
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
// tokens take little more memory than its text. White space is no token:
// the text between tokens is copied as it is.
struct Lexeme {
  QPDFTokenizer::token_type_e type;
  std::string_view raw;
  bool Is(std::string_view word) const { return type == QPDFTokenizer::tt_word && raw == word; }
  bool Number() const {
    return type == QPDFTokenizer::tt_integer || type == QPDFTokenizer::tt_real;
  }
};

using MarkNames = std::map<std::string, SpanMark, std::less<>>;

std::vector<Lexeme> Lex(std::string_view text, const std::shared_ptr<Buffer>& content) {
  QPDFTokenizer tokenizer;
  tokenizer.allowEOF();
  auto input = std::make_shared<BufferInputSource>("page content", content.get());
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
    const bool operand = t.Number() || t.type == QPDFTokenizer::tt_name;
    if (!operand && !t.Is("cm") && !t.Is("gs")) break;
  }
  const std::size_t last = doOperator + 1;
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
  Rewriter(const std::shared_ptr<Buffer>& content, const MarkNames& names, SpanTexts& texts)
      : content_(content),
        text_(reinterpret_cast<const char*>(content->getBuffer()), content->getSize()),
        tokens_(Lex(text_, content)),
        names_(names),
        texts_(texts),
        cursor_(text_.data()) {
    out_.reserve(text_.size() + text_.size() / 8);
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
    CopyTo(text_.data() + text_.size());
    return std::move(out_);
  }

 private:
  // Copies the text before token `i`; through it; or leaves the text up to
  // its end out.
  void CopyUpTo(std::size_t i) { CopyTo(tokens_[i].raw.data()); }
  void CopyThrough(std::size_t i) { CopyTo(tokens_[i].raw.data() + tokens_[i].raw.size()); }
  void SkipThrough(std::size_t i) {
    cursor_ = std::max(cursor_, tokens_[i].raw.data() + tokens_[i].raw.size());
  }
  void CopyTo(const char* stop) {
    if (stop > cursor_) out_.append(cursor_, stop);
    cursor_ = std::max(cursor_, stop);
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
    CopyThrough(et);
    afterText_ = out_.size();
  }
  // "w 0 .3 -1 0 0 Tm": Qt's shear of a face it slants; set upright again.
  void Unslant(std::size_t tm) {
    lastTm_ = tm;
    if (tm < 6 || tokens_[tm - 4].raw != ".3") return;
    for (std::size_t k = tm - 6; k < tm; ++k)
      if (!tokens_[k].Number()) return;
    CopyUpTo(tm - 4);
    out_ += '0';
    SkipThrough(tm - 4);
  }
  // "/Span << /ActualText <> >> BDC" inside a text object: Qt's second drawing.
  bool DrawnAgain(std::size_t bdc) const {
    if (!lastTm_ || bdc < 5) return false;
    const Lexeme& text = tokens_[bdc - 2];
    return text.type == QPDFTokenizer::tt_string && (text.raw == "<>" || text.raw == "()") &&
           tokens_[bdc - 3].raw == "/ActualText" && tokens_[bdc - 5].raw == "/Span";
  }
  // Leaves out the second drawing, from its text matrix to its EMC; answers
  // the EMC's index.
  std::size_t LeaveOut(std::size_t bdc) {
    std::size_t emc = bdc;
    while (emc < tokens_.size() && !tokens_[emc].Is("EMC")) ++emc;
    if (emc == tokens_.size() || lastTm_ < 6) return bdc;
    CopyUpTo(lastTm_ - 6);
    SkipThrough(emc);
    return emc;
  }
  void MarkAt(std::size_t doOperator) {
    if (doOperator == 0 || tokens_[doOperator - 1].type != QPDFTokenizer::tt_name) return;
    const std::size_t name = doOperator - 1;
    const auto mark = names_.find(tokens_[name].raw);
    if (mark == names_.end()) return;
    const auto [first, last] = Drawing(tokens_, name, doOperator);
    CopyUpTo(first);
    SkipThrough(last);
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
  std::string_view text_;
  const std::vector<Lexeme> tokens_;
  const MarkNames& names_;
  SpanTexts& texts_;
  std::string out_;
  const char* cursor_;         // the text before it is in `out_` or left out
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
MarkNames TakeMarkNames(QPDFObjectHandle page, const Marks& marks) {
  MarkNames names;
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
    const MarkNames names = TakeMarkNames(page.getObjectHandle(), marks);
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
