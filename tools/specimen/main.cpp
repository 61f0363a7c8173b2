// pellory-specimen: a specimen book of the catalogue's faces, as a PDF file
// or a print job.
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

#include "specimen_options.h"
#include "specimen_run.h"

namespace {

// Qt's complaints that XDG_RUNTIME_DIR is unset, or that the book's own
// face has no OpenType tables for a script of the user's text (another face
// sets it), mean nothing to a tool that writes one file; everything else Qt
// says still goes to standard error.
void QuietQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && (message.startsWith(QLatin1String("QStandardPaths:")) ||
                               message.startsWith(QLatin1String("OpenType support missing"))))
    return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pellory::specimen;
  const ParsedCommandLine parsed = ParseCommandLine({argv + 1, argv + argc}, std::cin);
  if (parsed.help) {
    std::cout << kUsage;
    return kExitOk;
  }
  if (!parsed.options) {
    std::cerr << "pellory-specimen: " << parsed.error << '\n' << kUsage;
    return kExitUsage;
  }
  // A command-line tool: Qt lays out the pages without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A specimen shows each face as it is: Qt would embolden a heavy face, or
  // slant a sloped one, whose tables it does not take for bold or italic
  // (a variable font's named instances among them), and draw it twice.
  qputenv("QT_NO_SYNTHESIZED_BOLD", "1");
  qputenv("QT_NO_SYNTHESIZED_ITALIC", "1");
  qInstallMessageHandler(QuietQtMessages);
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  return Run(*parsed.options, std::cout, std::cerr);
}
