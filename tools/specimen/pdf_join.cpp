#include "pdf_join.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>
#include <string>
#include <system_error>

namespace pellory::specimen {
namespace {

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

}  // namespace

void JoinParts(const std::vector<PartFile>& parts, int out) {
  QPDF book;
  book.emptyPDF();
  QPDFPageDocumentHelper pages(book);
  // The parts' objects are read when the book is written: they stay open.
  std::vector<std::unique_ptr<QPDF>> read;
  for (const PartFile& part : parts) {
    auto& pdf = read.emplace_back(std::make_unique<QPDF>());
    pdf->processFile("a part of the book", StreamOf(part.Descriptor(), "rb"), true);
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*pdf).getAllPages())
      pages.addPage(page, false);
  }
  if (!read.empty()) {
    QPDFObjectHandle info = read.front()->getTrailer().getKey("/Info");
    if (info.isIndirect()) book.getTrailer().replaceKey("/Info", book.copyForeignObject(info));
  }
  FILE* stream = StreamOf(out, "wb");
  QPDFWriter writer(book, "the book", stream, false);
  // Qt has compressed what is worth it; the streams go through untouched.
  writer.setDecodeLevel(qpdf_dl_none);
  writer.setCompressStreams(false);
  writer.setMinimumPDFVersion(read.empty() ? "1.4" : read.front()->getPDFVersion());
  writer.write();
  const bool flushed = std::fflush(stream) == 0;
  const int error = errno;
  std::fclose(stream);
  if (!flushed) throw std::system_error(error, std::generic_category());
}

}  // namespace pellory::specimen
