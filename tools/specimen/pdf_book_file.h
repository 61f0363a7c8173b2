// The joined book as it is written: numbered objects one after another,
// then the cross-reference table and a trailer with the file's identifier.
// Objects copied from a part are written in PDF text with their references
// renumbered into the book.
#pragma once

#include <QCryptographicHash>
#include <cstdio>
#include <map>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

namespace pellory::specimen {

// A part's object numbers in the book.
using Numbers = std::map<QPDFObjGen, int>;

// The PDF text of a direct object, references renumbered; a reference to an
// object not carried over becomes null.
void Unparse(QPDFObjectHandle object, const Numbers& numbers, std::string& out);

class BookFile {
 public:
  // `stream` stays the caller's. Errors of writing go up as std::system_error.
  explicit BookFile(FILE* stream) : stream_(stream) {}

  void Put(const void* bytes, std::size_t size);
  void Put(const std::string& text) { Put(text.data(), text.size()); }

  // A number for an object written later.
  int Reserve();
  // Object `number`, its body already PDF text.
  void Object(int number, const std::string& body);
  // A part's stream as it is, references renumbered, its length said directly.
  void Stream(int number, QPDFObjectHandle stream, const Numbers& numbers);
  // The cross-reference table and trailer. The file's identifier is a hash
  // of everything before it and of the time it was made.
  void Finish(int catalogue, int info);

 private:
  FILE* stream_;
  long long written_ = 0;
  std::vector<long long> offsets_;
  QCryptographicHash hash_{QCryptographicHash::Md5};
};

}  // namespace pellory::specimen
