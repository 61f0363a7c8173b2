#include "pdf_join.h"

#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <string>
#include <system_error>

namespace pellory::specimen {
namespace {

// The book's own objects; the parts' objects follow.
constexpr int kCatalogue = 1;
constexpr int kPageTree = 2;
constexpr int kInfo = 3;

[[noreturn]] void ThrowErrno() {
  throw std::system_error(errno, std::generic_category());
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

using Numbers = std::map<QPDFObjGen, int>;

// The PDF text of a direct object, references renumbered; a reference to an
// object not carried over becomes null.
void Unparse(QPDFObjectHandle object, const Numbers& numbers, std::string& out) {
  if (object.isIndirect()) {
    const auto it = numbers.find(object.getObjGen());
    out += it == numbers.end() ? "null" : std::to_string(it->second) + " 0 R";
  } else if (object.isDictionary()) {
    out += "<<";
    for (const auto& [key, value] : object.getDictAsMap()) {
      out += QPDFObjectHandle::newName(key).unparse();
      out += ' ';
      Unparse(value, numbers, out);
      out += '\n';
    }
    out += ">>";
  } else if (object.isArray()) {
    out += '[';
    for (const QPDFObjectHandle& item : object.getArrayAsVector()) {
      Unparse(item, numbers, out);
      out += ' ';
    }
    out += ']';
  } else {
    out += object.unparse();
  }
}

class BookFile {
 public:
  explicit BookFile(FILE* stream) : stream_(stream) {}

  void Put(const void* bytes, std::size_t size) {
    if (size && std::fwrite(bytes, 1, size, stream_) != size) ThrowErrno();
    written_ += static_cast<long long>(size);
    hash_.addData(QByteArrayView(static_cast<const char*>(bytes), static_cast<qsizetype>(size)));
  }
  void Put(const std::string& text) { Put(text.data(), text.size()); }

  // Object `number`, its body already PDF text.
  void Object(int number, const std::string& body) {
    Begin(number);
    Put(body);
    Put("\nendobj\n");
  }
  // A stream as it was, its length said directly.
  void Stream(int number, QPDFObjectHandle stream, const Numbers& numbers) {
    const std::shared_ptr<Buffer> data = stream.getRawStreamData();
    QPDFObjectHandle dict = stream.getDict().shallowCopy();
    dict.replaceKey("/Length",
                    QPDFObjectHandle::newInteger(static_cast<long long>(data->getSize())));
    std::string head;
    Unparse(dict, numbers, head);
    Begin(number);
    Put(head + "\nstream\n");
    Put(data->getBuffer(), data->getSize());
    Put("\nendstream\nendobj\n");
  }
  int Reserve() {
    offsets_.push_back(-1);
    return static_cast<int>(offsets_.size());
  }
  // The cross-reference table and trailer. The file's identifier is a hash
  // of everything before it and of the time it was made.
  void Finish() {
    const long long xref = written_;
    hash_.addData(QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
    const QByteArray id = hash_.result().toHex();
    char entry[32];
    Put("xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n");
    for (const long long offset : offsets_) {
      std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", offset < 0 ? 0 : offset);
      Put(entry);
    }
    Put("trailer\n<</Size " + std::to_string(offsets_.size() + 1) + " /Root " +
        std::to_string(kCatalogue) + " 0 R /Info " + std::to_string(kInfo) + " 0 R /ID [<" +
        id.toStdString() + "> <" + id.toStdString() + ">]>>\nstartxref\n" + std::to_string(xref) +
        "\n%%EOF\n");
  }

 private:
  void Begin(int number) {
    offsets_[static_cast<std::size_t>(number - 1)] = written_;
    Put(std::to_string(number) + " 0 obj\n");
  }

  FILE* stream_;
  long long written_ = 0;
  std::vector<long long> offsets_;
  QCryptographicHash hash_{QCryptographicHash::Md5};
};

bool OfType(QPDFObjectHandle object, const char* type) {
  QPDFObjectHandle dict = object.isStream() ? object.getDict() : object;
  return dict.isDictionary() && dict.getKey("/Type").isNameAndEquals(type);
}

// Writes the objects of one part under new numbers, all but its catalogue,
// page tree and document information; answers its pages' new numbers.
std::vector<int> CopyPart(QPDF& part, BookFile& book, std::string* info) {
  QPDFPageDocumentHelper pages(part);
  pages.pushInheritedAttributesToPage();
  QPDFObjectHandle partInfo = part.getTrailer().getKey("/Info");
  Numbers numbers;
  std::vector<QPDFObjectHandle> kept;
  for (QPDFObjectHandle& object : part.getAllObjects()) {
    if (OfType(object, "/Catalog") || OfType(object, "/Pages") ||
        (partInfo.isIndirect() && object.getObjGen() == partInfo.getObjGen()))
      continue;
    numbers[object.getObjGen()] = book.Reserve();
    kept.push_back(object);
  }
  if (info && partInfo.isDictionary())
    Unparse(partInfo.isIndirect() ? partInfo.shallowCopy() : partInfo, numbers, *info);
  std::vector<int> pageNumbers;
  for (QPDFPageObjectHelper& page : pages.getAllPages()) {
    QPDFObjectHandle object = page.getObjectHandle();
    pageNumbers.push_back(numbers.at(object.getObjGen()));
    object.removeKey("/Parent");
  }
  for (QPDFObjectHandle& object : kept) {
    const int number = numbers.at(object.getObjGen());
    if (object.isStream()) {
      book.Stream(number, object, numbers);
      continue;
    }
    std::string body;
    Unparse(object.shallowCopy(), numbers, body);
    if (OfType(object, "/Page")) body.insert(2, "/Parent " + std::to_string(kPageTree) + " 0 R\n");
    book.Object(number, body);
  }
  return pageNumbers;
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

}  // namespace

void JoinParts(const std::vector<PartFile>& parts, int out) {
  std::unique_ptr<FILE, int (*)(FILE*)> stream(StreamOf(out, "wb"), std::fclose);
  BookFile book(stream.get());
  std::pair<int, int> version{1, 4};
  for (const PartFile& part : parts) version = std::max(version, HeaderVersion(part.Descriptor()));
  book.Put("%PDF-" + std::to_string(version.first) + "." + std::to_string(version.second) +
           "\n%\xE2\xE3\xCF\xD3\n");
  for (int own = 0; own < kInfo; ++own) book.Reserve();
  std::vector<int> pages;
  std::string info;
  for (const PartFile& part : parts) {
    QPDF pdf;
    pdf.processFile("a part of the book", StreamOf(part.Descriptor(), "rb"), true);
    const std::vector<int> more = CopyPart(pdf, book, info.empty() ? &info : nullptr);
    pages.insert(pages.end(), more.begin(), more.end());
  }
  book.Object(kCatalogue, "<</Type /Catalog /Pages " + std::to_string(kPageTree) + " 0 R>>");
  std::string kids;
  for (const int page : pages) kids += std::to_string(page) + " 0 R\n";
  book.Object(kPageTree, "<</Type /Pages /Count " + std::to_string(pages.size()) + " /Kids [\n" +
                             kids + "]>>");
  book.Object(kInfo, info.empty() ? std::string("<<>>") : info);
  book.Finish();
  if (std::fflush(stream.get()) != 0) ThrowErrno();
}

}  // namespace pellory::specimen
