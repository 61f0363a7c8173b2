// A display named by the environment that cannot be reached is found only
// when the toolkit connects to it: it then writes that it could not
// connect, that the platform plugin could not be loaded "even though it was
// found", and aborts advising a reinstallation. Said in one line instead.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdlib>
#include <iostream>

#include "pellory/programs/command_line.h"

namespace pellory::app {

namespace {

QtMessageHandler previousHandler = nullptr;
QString displayProblem;

void WatchMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("could not connect to display"))) {
    displayProblem = QStringLiteral("cannot connect to ") + message.mid(21);
    return;
  }
  if (message.startsWith(QLatin1String("Could not load the Qt platform plugin"))) return;
  if (type == QtFatalMsg && message.contains(QLatin1String("no Qt platform plugin could be"))) {
    const QString why = displayProblem.isEmpty() ? QStringLiteral("the toolkit could not open one")
                                                 : displayProblem;
    std::cerr << NoDisplayText(why.toStdString()) << std::endl;
    std::_Exit(1);
  }
  if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

DisplayFailureWatch::DisplayFailureWatch() {
  displayProblem.clear();
  previousHandler = qInstallMessageHandler(WatchMessages);
}

DisplayFailureWatch::~DisplayFailureWatch() {
  qInstallMessageHandler(previousHandler);
  previousHandler = nullptr;
}

}  // namespace pellory::app
