#include "pdf_text.h"

#include <QByteArray>

namespace pellory::specimen {

std::string PdfTextString(const QString& text) {
  QByteArray utf16("\xFE\xFF", 2);
  for (const QChar c : text) {
    utf16.append(static_cast<char>(c.unicode() >> 8));
    utf16.append(static_cast<char>(c.unicode() & 0xFF));
  }
  std::string hex = "<";
  hex += utf16.toHex().toUpper().toStdString();
  hex += '>';
  return hex;
}

}  // namespace pellory::specimen
