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

using Token = QPDFTokenizer::Token;
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

std::vector<Token> Tokens(const std::string& content) {
  QPDFTokenizer tokenizer;
  tokenizer.allowEOF();
  tokenizer.includeIgnorable();
  auto input = std::make_shared<BufferInputSource>("page content", content);
  std::vector<Token> tokens;
  for (;;) {
    Token token = tokenizer.readToken(input, "page content", true);
    if (token.getType() == QPDFTokenizer::tt_eof) break;
    if (token.isWord("ID")) Mismatch("an inline image in a page of the book");
    tokens.push_back(std::move(token));
  }
  return tokens;
}

bool Ignorable(const Token& token) {
  return token.getType() == QPDFTokenizer::tt_space || token.getType() == QPDFTokenizer::tt_comment;
}

// The drawing of a picture, "q [/GS gs] [M cm]... /Name Do Q", from its q to
// its Q; only "/Name Do" where it is not drawn so.
std::pair<std::size_t, std::size_t> Drawing(const std::vector<Token>& tokens, std::size_t name,
                                            std::size_t doOperator) {
  std::size_t first = name;
  for (std::size_t k = name; k-- > 0;) {
    const Token& t = tokens[k];
    if (t.isWord("q")) {
      first = k;
      break;
    }
    const bool operand = Ignorable(t) || t.getType() == QPDFTokenizer::tt_integer ||
                         t.getType() == QPDFTokenizer::tt_real ||
                         t.getType() == QPDFTokenizer::tt_name;
    if (!operand && !t.isWord("cm") && !t.isWord("gs")) break;
  }
  std::size_t last = doOperator + 1;
  while (last < tokens.size() && Ignorable(tokens[last])) ++last;
  if (first == name || last == tokens.size() || !tokens[last].isWord("Q"))
    return {name, doOperator};
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
  Rewriter(const std::string& content, const std::map<std::string, SpanMark>& names,
           SpanTexts& texts)
      : tokens_(Tokens(content)), names_(names), texts_(texts) {
    out_.reserve(content.size());
  }

  std::string Run() {
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      if (tokens_[i].isWord("BT")) Text(i);
      if (tokens_[i].isWord("ET")) EndText(i);
      if (inText_ && tokens_[i].isWord("Tm")) Unslant(i);
      if (inText_ && tokens_[i].isWord("BDC") && DrawnAgain(i)) i = LeaveOut(i);
      if (tokens_[i].isWord("Do")) MarkAt(i);
    }
    if (open_) Mismatch("a span does not end on its page");
    CopyUpTo(tokens_.size());
    return std::move(out_);
  }

 private:
  void CopyUpTo(std::size_t end) {
    for (; written_ < end; ++written_) out_ += tokens_[written_].getRawValue();
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
    if (!open_ || begun_) return;
    CopyUpTo(bt);
    out_ += "/Span <</ActualText " + *open_ + ">> BDC\n";
    begun_ = true;
  }
  void EndText(std::size_t et) {
    inText_ = false;
    if (!open_) return;
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
    if (operands.size() != 6 || tokens_[operands[2]].getValue() != ".3") return;
    CopyUpTo(operands[2]);
    out_ += '0';
    written_ = operands[2] + 1;
  }
  // "/Span << /ActualText <> >> BDC" inside a text object: Qt's second drawing.
  bool DrawnAgain(std::size_t bdc) const {
    std::vector<const Token*> before;
    for (std::size_t k = bdc; k-- > 0 && before.size() < 5;)
      if (!Ignorable(tokens_[k])) before.push_back(&tokens_[k]);
    return lastTm_ && before.size() == 5 && before[1]->getType() == QPDFTokenizer::tt_string &&
           before[1]->getValue().empty() && before[2]->getValue() == "/ActualText" &&
           before[4]->getValue() == "/Span";
  }
  // Leaves out the second drawing, from its text matrix to its EMC; answers
  // the EMC's index.
  std::size_t LeaveOut(std::size_t bdc) {
    std::size_t emc = bdc;
    while (emc < tokens_.size() && !tokens_[emc].isWord("EMC")) ++emc;
    if (emc == tokens_.size()) return bdc;
    CopyUpTo(Operands(lastTm_, 6));
    written_ = emc + 1;
    return emc;
  }
  void MarkAt(std::size_t doOperator) {
    std::size_t name = doOperator;
    while (name > 0 && Ignorable(tokens_[name - 1])) --name;
    if (name == 0 || tokens_[name - 1].getType() != QPDFTokenizer::tt_name) return;
    const auto mark = names_.find(tokens_[--name].getValue());
    if (mark == names_.end()) return;
    const auto [first, last] = Drawing(tokens_, name, doOperator);
    CopyUpTo(first);
    written_ = last + 1;
    if (mark->second == SpanMark::Start) {
      if (open_) Mismatch("a span starts inside another");
      open_ = &texts_.Next();
      begun_ = false;
      return;
    }
    if (!open_) Mismatch("a span ends that did not start");
    if (begun_) out_.insert(afterText_, "\nEMC");
    open_ = nullptr;
  }

  const std::vector<Token> tokens_;
  const std::map<std::string, SpanMark>& names_;
  SpanTexts& texts_;
  std::string out_;
  std::size_t written_ = 0;            // tokens before it are in `out_`
  const std::string* open_ = nullptr;  // the text of the span being drawn
  bool begun_ = false;                 // its BDC is written
  std::size_t afterText_ = 0;          // where in `out_` its last ET ended
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

const std::string& SpanTexts::Next() {
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
      const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
      const std::string content(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
      stream.replaceStreamData(Deflated(Rewriter(content, names, texts).Run()),
                               QPDFObjectHandle::newName("/FlateDecode"),
                               QPDFObjectHandle::newNull());
    }
  }
  std::vector<QPDFObjGen> objects;
  for (const auto& [object, mark] : marks) objects.push_back(object);
  return objects;
}

}  // namespace pellory::specimen
