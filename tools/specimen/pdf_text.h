// Text as a PDF text string: UTF-16BE with its byte order mark, written in
// hex, which every reader takes for any script.
#pragma once

#include <QString>
#include <string>

namespace pellory::specimen {

std::string PdfTextString(const QString& text);
inline std::string PdfTextString(const std::string& utf8) {
  return PdfTextString(QString::fromStdString(utf8));
}

}  // namespace pellory::specimen
