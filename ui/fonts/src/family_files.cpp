#include "family_files.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QHash>
#include <QStringList>

#include "pellory/platform/installed_fonts.h"

namespace pellory::ui {

namespace {

// The files of every installed font under each of its family names, case
// folded, from the machine's font listing.
QHash<QString, QStringList> ReadFamilyFiles() {
  QHash<QString, QStringList> files;
  for (const platform::InstalledFace& face : platform::InstalledFaces()) {
    const QString path = QString::fromStdString(face.file);
    for (const platform::FamilyName& family : face.families) {
      QStringList& list = files[QString::fromStdString(family.name).toCaseFolded()];
      if (!list.contains(path)) list.append(path);
    }
  }
  for (QStringList& list : files) list.sort();
  return files;
}

const QHash<QString, QStringList>& FamilyFiles() {
  static const QHash<QString, QStringList> files = ReadFamilyFiles();
  return files;
}

}  // namespace

QByteArray FamilyFingerprint(const QString& name) {
  const auto it = FamilyFiles().constFind(name.toCaseFolded());
  return it == FamilyFiles().constEnd() ? QByteArray() : FilesFingerprint(*it);
}

QByteArray FilesFingerprint(const QStringList& paths) {
  if (paths.isEmpty()) return {};
  QCryptographicHash digest(QCryptographicHash::Md5);
  for (const QString& path : paths) {
    const QByteArray local = path.toLocal8Bit();
    struct stat status {};
    if (::stat(local.constData(), &status) != 0) return {};
    digest.addData(local);
    digest.addData(QByteArray::number(qint64(status.st_size)) + ' ' +
                   QByteArray::number(qint64(status.st_mtim.tv_sec)) + '.' +
                   QByteArray::number(qint64(status.st_mtim.tv_nsec)) + '\n');
  }
  return digest.result().toHex();
}

}  // namespace pellory::ui
