#include "pellory/shell/error_texts.h"

#include <cxxabi.h>
#include <dlfcn.h>

#include <QFileInfo>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace pellory::shell {

QString WithTrailingPeriod(const QString& message) {
  if (message.isEmpty()) return message;
  // Compared as in the byte rule: any character beyond ASCII counts as high.
  const QChar last = message.back();
  return last.unicode() > u'.' ? message + QLatin1Char('.') : message;
}

QString ErrorClassName(const std::exception& error) {
  const char* mangled = typeid(error).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  QString name = QString::fromUtf8(status == 0 && demangled ? demangled.get() : mangled);
  const qsizetype cut = name.lastIndexOf(QLatin1String("::"));
  return cut < 0 ? name : name.mid(cut + 2);
}

QString LastChanceText(const QString& className, const void* address, const QString& message) {
  QString module = QStringLiteral("pellory");
  quintptr offset = 0;
  Dl_info info{};
  if (address && dladdr(address, &info) && info.dli_fname) {
    module = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).fileName();
    offset = quintptr(address) - quintptr(info.dli_fbase);
  }
  const QString period =
      !message.isEmpty() && !message.endsWith(QLatin1Char('.')) ? QStringLiteral(".") : QString();
  return QStringLiteral("Exception %1 in module %2 at %3.\n%4%5")
      .arg(className, module, QStringLiteral("%1").arg(offset, 8, 16, QLatin1Char('0')).toUpper(),
           message, period);
}

}  // namespace pellory::shell
