#include "pdf_book_file.h"

#include <QByteArray>
#include <QDateTime>
#include <cerrno>
#include <memory>
#include <qpdf/Buffer.hh>
#include <stdexcept>
#include <system_error>

namespace pellory::specimen {

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

void BookFile::Put(const void* bytes, std::size_t size) {
  if (size && std::fwrite(bytes, 1, size, stream_) != size)
    throw std::system_error(errno, std::generic_category());
  written_ += static_cast<long long>(size);
  hash_.addData(QByteArrayView(static_cast<const char*>(bytes), static_cast<qsizetype>(size)));
}

int BookFile::Reserve() {
  offsets_.push_back(-1);
  return static_cast<int>(offsets_.size());
}

void BookFile::Object(int number, const std::string& body) {
  offsets_[static_cast<std::size_t>(number - 1)] = written_;
  Put(std::to_string(number) + " 0 obj\n" + body + "\nendobj\n");
}

void BookFile::Stream(int number, QPDFObjectHandle stream, const Numbers& numbers) {
  const std::shared_ptr<Buffer> data = stream.getRawStreamData();
  QPDFObjectHandle dict = stream.getDict().shallowCopy();
  dict.replaceKey("/Length", QPDFObjectHandle::newInteger(static_cast<long long>(data->getSize())));
  std::string head;
  Unparse(dict, numbers, head);
  offsets_[static_cast<std::size_t>(number - 1)] = written_;
  Put(std::to_string(number) + " 0 obj\n" + head + "\nstream\n");
  Put(data->getBuffer(), data->getSize());
  Put("\nendstream\nendobj\n");
}

void BookFile::Finish(int catalogue, int info) {
  for (std::size_t i = 0; i < offsets_.size(); ++i)
    if (offsets_[i] < 0)
      throw std::logic_error("object " + std::to_string(i + 1) + " of the book was never written");
  const long long xref = written_;
  hash_.addData(QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
  const std::string id = hash_.result().toHex().toStdString();
  char entry[32];
  Put("xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n");
  for (const long long offset : offsets_) {
    std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", offset);
    Put(entry);
  }
  Put("trailer\n<</Size " + std::to_string(offsets_.size() + 1) + " /Root " +
      std::to_string(catalogue) + " 0 R /Info " + std::to_string(info) + " 0 R /ID [<" + id +
      "> <" + id + ">]>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
}

}  // namespace pellory::specimen
