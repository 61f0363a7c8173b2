#include "pdf_join.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>

#include "content_spans.h"
#include "pdf_book_file.h"
#include "pdf_outline.h"
#include "pdf_text.h"

namespace pellory::specimen {
namespace {

// The book's own objects; its pages follow, then the parts' other objects.
constexpr int kCatalogue = 1;
constexpr int kPageTree = 2;
constexpr int kInfo = 3;
constexpr int kFirstPage = 4;

int PageObject(int page) {
  return kFirstPage + page - 1;
}

// A stdio stream on a copy of the descriptor, from its start.
FILE* StreamOf(int fd, const char* mode) {
  const int copy = ::dup(fd);
  FILE* stream = copy >= 0 ? ::fdopen(copy, mode) : nullptr;
  if (!stream) {
    const int error = errno;
    if (copy >= 0) ::close(copy);
    throw std::system_error(error, std::generic_category());
  }
  std::rewind(stream);
  return stream;
}

// The version a PDF's header line gives ("%PDF-1.7"), {1, 4} when it says none.
std::pair<int, int> HeaderVersion(int fd) {
  char header[16] = {};
  const ssize_t n = ::pread(fd, header, sizeof header - 1, 0);
  int major = 0, minor = 0;
  if (n > 0 && std::sscanf(header, "%%PDF-%d.%d", &major, &minor) == 2 && major > 0 && minor >= 0)
    return {major, minor};
  return {1, 4};
}

bool OfType(QPDFObjectHandle object, const char* type) {
  QPDFObjectHandle dict = object.isStream() ? object.getDict() : object;
  return dict.isDictionary() && dict.getKey("/Type").isNameAndEquals(type);
}

class Joiner {
 public:
  Joiner(const BookDocument& document, BookFile& book) : document_(document), book_(book) {
    for (const PageLink& link : document.navigation.links) links_.emplace(link.page, link);
  }

  // Writes the objects of one part under new numbers, all but its
  // catalogue, page tree and document information.
  void CopyPart(QPDF& part, const SpanList& spans) {
    QPDFPageDocumentHelper pages(part);
    pages.pushInheritedAttributesToPage();
    SpanTexts texts(spans);
    const std::vector<QPDFObjGen> marks = SpanPages(part, texts);
    if (!texts.AllTaken())
      throw std::runtime_error("the book's text spans do not match its pages (fewer spans)");
    const std::set<QPDFObjGen> left(marks.begin(), marks.end());
    QPDFObjectHandle partInfo = part.getTrailer().getKey("/Info");
    if (producer_.empty() && partInfo.isDictionary()) {
      producer_ = partInfo.getKey("/Producer").unparse();
      created_ = partInfo.getKey("/CreationDate").unparse();
    }
    Numbers numbers;
    std::vector<QPDFObjectHandle> pageObjects;
    for (QPDFPageObjectHelper& page : pages.getAllPages()) {
      if (++pages_ > document_.pageCount)
        throw std::runtime_error("the book's parts hold more pages than it was laid out with");
      numbers[page.getObjectHandle().getObjGen()] = PageObject(pages_);
      pageObjects.push_back(page.getObjectHandle());
    }
    std::vector<QPDFObjectHandle> kept;
    for (QPDFObjectHandle& object : part.getAllObjects()) {
      if (OfType(object, "/Catalog") || OfType(object, "/Pages") || OfType(object, "/Page") ||
          left.count(object.getObjGen()) ||
          (partInfo.isIndirect() && object.getObjGen() == partInfo.getObjGen()))
        continue;
      numbers[object.getObjGen()] = book_.Reserve();
      kept.push_back(object);
    }
    for (QPDFObjectHandle& object : kept) {
      const int number = numbers.at(object.getObjGen());
      if (object.isStream()) {
        book_.Stream(number, object, numbers);
        continue;
      }
      std::string body;
      Unparse(object.shallowCopy(), numbers, body);
      book_.Object(number, body);
    }
    for (QPDFObjectHandle& page : pageObjects) WritePage(page, numbers);
  }

  void Finish() {
    if (pages_ != document_.pageCount)
      throw std::runtime_error("the book's parts hold fewer pages than it was laid out with");
    const int outline = WriteOutline(book_, document_.navigation, PageObject);
    std::string catalogue = "<</Type /Catalog /Pages " + std::to_string(kPageTree) +
                            " 0 R /ViewerPreferences <</DisplayDocTitle true>>";
    if (outline)
      catalogue += " /Outlines " + std::to_string(outline) + " 0 R /PageMode /UseOutlines";
    book_.Object(kCatalogue, catalogue + ">>");
    std::string kids;
    for (int page = 1; page <= pages_; ++page) kids += std::to_string(PageObject(page)) + " 0 R\n";
    book_.Object(kPageTree,
                 "<</Type /Pages /Count " + std::to_string(pages_) + " /Kids [\n" + kids + "]>>");
    std::string info = "<</Title " + PdfTextString(document_.title) + " /Subject " +
                       PdfTextString(document_.subject) + " /Creator (pellory-specimen)";
    if (producer_ != "null" && !producer_.empty()) info += " /Producer " + producer_;
    if (created_ != "null" && !created_.empty()) info += " /CreationDate " + created_;
    book_.Object(kInfo, info + ">>");
    book_.Finish(kCatalogue, kInfo);
  }

 private:
  // A page under the book's page tree, its annotations with the links that
  // start on it.
  void WritePage(QPDFObjectHandle page, const Numbers& numbers) {
    const int number = numbers.at(page.getObjGen());
    std::string annotations;
    QPDFObjectHandle own = page.getKey("/Annots");
    if (own.isArray())
      for (const QPDFObjectHandle& item : own.getArrayAsVector()) {
        Unparse(item, numbers, annotations);
        annotations += ' ';
      }
    const auto [first, last] = links_.equal_range(number - kFirstPage + 1);
    for (auto it = first; it != last; ++it) {
      const int link = book_.Reserve();
      book_.Object(link, LinkAnnotation(it->second, PageObject));
      annotations += std::to_string(link) + " 0 R ";
    }
    QPDFObjectHandle dict = page.shallowCopy();
    dict.removeKey("/Parent");
    dict.removeKey("/Annots");
    std::string body;
    Unparse(dict, numbers, body);
    body.insert(2,
                "/Parent " + std::to_string(kPageTree) + " 0 R\n/Annots [" + annotations + "]\n");
    book_.Object(number, body);
  }

  const BookDocument& document_;
  BookFile& book_;
  std::multimap<int, PageLink> links_;  // by page
  int pages_ = 0;
  std::string producer_, created_;
};

}  // namespace

void JoinParts(const std::vector<PartFile>& parts, const BookDocument& document, int out) {
  std::unique_ptr<FILE, int (*)(FILE*)> stream(StreamOf(out, "wb"), std::fclose);
  BookFile book(stream.get());
  std::pair<int, int> version{1, 4};
  for (const PartFile& part : parts) version = std::max(version, HeaderVersion(part.Descriptor()));
  const bool spans = std::any_of(document.spans.begin(), document.spans.end(),
                                 [](const auto& texts) { return !texts.empty(); });
  if (spans) version = std::max(version, {1, 5});  // marked-content ActualText
  book.Put("%PDF-" + std::to_string(version.first) + "." + std::to_string(version.second) +
           "\n%\xE2\xE3\xCF\xD3\n");
  for (int own = 0; own < kFirstPage - 1 + document.pageCount; ++own) book.Reserve();
  Joiner joiner(document, book);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    QPDF pdf;
    pdf.processFile("a part of the book", StreamOf(parts[i].Descriptor(), "rb"), true);
    joiner.CopyPart(pdf, i < document.spans.size() ? document.spans[i] : SpanList{});
  }
  joiner.Finish();
  if (std::fflush(stream.get()) != 0) throw std::system_error(errno, std::generic_category());
}

}  // namespace pellory::specimen
