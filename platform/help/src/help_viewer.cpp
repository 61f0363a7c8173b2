#include "pellory/platform/help_viewer.h"

#include <signal.h>
#include <sys/prctl.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include "help_collection.h"

namespace pellory::platform {

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kWriteTimeoutMs = 2000;
constexpr int kEndTimeoutMs = 3000;

QString MissingViewerText() {
  return QStringLiteral(
      "Help cannot be shown: the help viewer Qt Assistant is not installed.\n"
      "Install it with: sudo apt-get install assistant-qt6 libqt6sql6-sqlite");
}

}  // namespace

HelpViewer::Places HelpViewer::DefaultPlaces() {
  Places places;
  places.viewerPrograms << QLibraryInfo::path(QLibraryInfo::BinariesPath) +
                               QStringLiteral("/assistant");
  // A plain "assistant" on the PATH may be an older Qt's, which cannot read
  // our collection; only names that say Qt 6 are taken.
  for (const char* name : {"assistant-qt6", "assistant6"}) {
    const QString found = QStandardPaths::findExecutable(QLatin1String(name));
    if (!found.isEmpty()) places.viewerPrograms << found;
  }
  const QString programDir = QCoreApplication::applicationDirPath();
  places.collectionDirs << programDir << InstalledHelpDir(programDir);
  return places;
}

QString HelpViewer::InstalledHelpDir(const QString& programDir) {
  if (programDir.isEmpty()) return {};
  return QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(PELLORY_INSTALLED_HELP)));
}

HelpViewer::HelpViewer(Places places, QObject* parent)
    : QObject(parent), places_(std::move(places)) {}

HelpViewer::~HelpViewer() {
  EndViewer();
}

qint64 HelpViewer::ViewerProcessId() const {
  return process_ && process_->state() == QProcess::Running ? process_->processId() : 0;
}

bool HelpViewer::Request(WId owner, const QString& fileName, int command, quintptr data) {
  if (command == kHelpQuit) {
    EndViewer();
    return true;
  }
  if (command != kHelpContext && command != kHelpContents) return false;
  if (!OpenCollection(owner, fileName)) return false;
  const bool running = ViewerProcessId() != 0;
  if (!EnsureViewer(owner)) return false;
  QString line = CommandLine(command, data);
  // A viewer that is still starting has no contents to find the page in
  // yet, and says so in its status line.
  if (running) line += QStringLiteral(";syncContents");
  process_->write(line.toUtf8() + '\n');
  // Sent now: the caller may be about to block in a modal run or to end.
  while (process_->bytesToWrite() > 0 && process_->waitForBytesWritten(kWriteTimeoutMs)) {
  }
  return true;
}

QString HelpViewer::CommandLine(int command, quintptr data) const {
  // One line of commands split by ";": the viewer takes a single line each
  // time its input has more to read, so a second line could wait there
  // until the next request. The page comes first: a "show" ahead of it
  // while the viewer is starting would make it forget the page.
  if (command == kHelpContents) {
    const QUrl page = collection_->Topic(QLatin1String(HelpCollection::kContentsId));
    if (page.isEmpty()) return QStringLiteral("show contents");
    return QStringLiteral("setSource %1;show contents").arg(page.toString());
  }
  // Ids are signed in the controls; an id the collection lacks (0 among
  // them) gets the page saying that there is no help for the item.
  QUrl page = collection_->Topic(QString::number(static_cast<qintptr>(data)));
  if (page.isEmpty()) page = collection_->Topic(QLatin1String(HelpCollection::kNoHelpId));
  if (page.isEmpty()) return QStringLiteral("show contents");
  return QStringLiteral("setSource %1").arg(page.toString());
}

bool HelpViewer::OpenCollection(WId owner, const QString& fileName) {
  const QString path = HelpCollection::Find(fileName, places_.collectionDirs);
  if (path.isEmpty()) {
    Report(owner, QStringLiteral("Help cannot be shown: the help collection %1 for %2 was found "
                                 "neither beside the program nor in %3.")
                      .arg(HelpCollection::FileNameFor(fileName), fileName,
                           places_.collectionDirs.mid(1).join(QStringLiteral(", "))));
    return false;
  }
  if (collection_ && collection_->Path() == path) return true;
  QString error;
  std::unique_ptr<HelpCollection> opened = HelpCollection::Open(path, &error);
  if (!opened) {
    Report(owner, QStringLiteral("Help cannot be shown: the help collection %1 cannot be read: %2.")
                      .arg(path, error));
    return false;
  }
  // A viewer showing another collection is of no use any more.
  if (collection_) EndViewer();
  collection_ = std::move(opened);
  return true;
}

QString HelpViewer::ViewerProgram() const {
  for (const QString& program : places_.viewerPrograms) {
    const QFileInfo file(program);
    if (file.isFile() && file.isExecutable()) return file.absoluteFilePath();
  }
  return {};
}

bool HelpViewer::EnsureViewer(WId owner) {
  if (process_ && process_->state() != QProcess::NotRunning) return true;
  // Not started yet, or closed by the user since: a new one.
  EndViewer();
  const QString program = ViewerProgram();
  if (program.isEmpty()) {
    Report(owner, MissingViewerText());
    return false;
  }
  process_ = new QProcess(this);
  process_->setProgram(program);
  process_->setArguments({QStringLiteral("-collectionFile"), collection_->Path(),
                          QStringLiteral("-enableRemoteControl")});
  process_->setStandardOutputFile(QProcess::nullDevice());
  process_->setStandardErrorFile(QProcess::nullDevice());
  // The viewer ends with the program, also when the program ends abruptly.
  process_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_->start(QIODevice::WriteOnly);
  if (!process_->waitForStarted(kStartTimeoutMs)) {
    Report(owner,
           QStringLiteral("Help cannot be shown: the help viewer %1 could not be started: %2.")
               .arg(program, process_->errorString()));
    EndViewer();
    return false;
  }
  return true;
}

void HelpViewer::EndViewer() {
  if (!process_) return;
  if (process_->state() != QProcess::NotRunning) {
    process_->closeWriteChannel();
    process_->terminate();
    if (!process_->waitForFinished(kEndTimeoutMs)) {
      process_->kill();
      process_->waitForFinished(kEndTimeoutMs);
    }
  }
  delete process_;
  process_ = nullptr;
}

void HelpViewer::Report(WId owner, const QString& text) {
  if (reported_.contains(text)) return;
  reported_.insert(text);
  if (notice_)
    notice_(owner, text);
  else
    QTextStream(stderr) << text << "\n";
}

}  // namespace pellory::platform
