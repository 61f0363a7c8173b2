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

// Each span's marked content encloses its text objects: the span begins
// right before its first BT and ends right after its last ET, inside the
// graphics state its text was drawn in (readers take a span's place from
// the state it ends in). A span that drew no text is left out.
std::string Rewrite(const std::string& content, const std::map<std::string, SpanMark>& names,
                    SpanTexts& texts) {
  const std::vector<Token> tokens = Tokens(content);
  std::string out;
  out.reserve(content.size());
  const std::string* open = nullptr;  // the text of the span being drawn
  bool begun = false;                 // its BDC is written
  std::size_t afterText = 0;          // where in `out` its last ET ended
  std::size_t written = 0;            // tokens before it are in `out`
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (open && !begun && tokens[i].isWord("BT")) {
      for (; written < i; ++written) out += tokens[written].getRawValue();
      out += "/Span <</ActualText " + *open + ">> BDC\n";
      begun = true;
    }
    if (open && tokens[i].isWord("ET")) {
      for (; written <= i; ++written) out += tokens[written].getRawValue();
      afterText = out.size();
    }
    if (!tokens[i].isWord("Do")) continue;
    std::size_t name = i;
    while (name > 0 && Ignorable(tokens[name - 1])) --name;
    if (name == 0 || tokens[name - 1].getType() != QPDFTokenizer::tt_name) continue;
    const auto mark = names.find(tokens[--name].getValue());
    if (mark == names.end()) continue;
    const auto [first, last] = Drawing(tokens, name, i);
    for (; written < first; ++written) out += tokens[written].getRawValue();
    written = last + 1;
    if (mark->second == SpanMark::Start) {
      if (open) Mismatch("a span starts inside another");
      open = &texts.Next();
      begun = false;
    } else {
      if (!open) Mismatch("a span ends that did not start");
      if (begun) out.insert(afterText, "\nEMC");
      open = nullptr;
    }
  }
  if (open) Mismatch("a span does not end on its page");
  for (; written < tokens.size(); ++written) out += tokens[written].getRawValue();
  return out;
}

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
      stream.replaceStreamData(Deflated(Rewrite(content, names, texts)),
                               QPDFObjectHandle::newName("/FlateDecode"),
                               QPDFObjectHandle::newNull());
    }
  }
  std::vector<QPDFObjGen> objects;
  for (const auto& [object, mark] : marks) objects.push_back(object);
  return objects;
}

}  // namespace pellory::specimen
