// The help viewer behind the help engine: one Qt Assistant process per run,
// started with the help collection and remote control, fed one command a
// line on its standard input, started again after the user has closed it.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

#include "pellory/platform/help_engine.h"

class QProcess;

namespace pellory::platform {

class HelpCollection;

class HelpViewer : public QObject {
  Q_OBJECT
 public:
  // Where the viewer program and the help collections are looked for.
  struct Places {
    QStringList viewerPrograms;  // the first executable one is started
    QStringList collectionDirs;  // searched in order
  };
  // The viewer of the Qt installation, then one on the PATH; the program's
  // own directory, then its installation's help directory.
  static Places DefaultPlaces();
  // The help directory of the installation whose programs lie in
  // `programDir`: share/pellory/help under the same prefix. Empty when
  // programDir is.
  static QString InstalledHelpDir(const QString& programDir);

  explicit HelpViewer(Places places = DefaultPlaces(), QObject* parent = nullptr);
  // Ends the viewer.
  ~HelpViewer() override;

  // The entry point's work (RequestHelp).
  bool Request(WId owner, const QString& fileName, int command, quintptr data);
  void SetNotice(HelpNotice notice) { notice_ = std::move(notice); }

  // The running viewer's process id, or 0.
  qint64 ViewerProcessId() const;

 private:
  // The remote-control commands that carry out `command`, as one line.
  QString CommandLine(int command, quintptr data) const;
  bool OpenCollection(WId owner, const QString& fileName);
  bool EnsureViewer(WId owner);
  void EndViewer();
  void Report(WId owner, const QString& text);
  QString ViewerProgram() const;

  Places places_;
  HelpNotice notice_;
  std::unique_ptr<HelpCollection> collection_;
  QProcess* process_ = nullptr;
  QSet<QString> reported_;  // Each problem is told once per run.
};

}  // namespace pellory::platform
