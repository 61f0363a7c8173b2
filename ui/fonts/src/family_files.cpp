#include "family_files.h"

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QHash>
#include <QStringList>
#include <memory>

namespace pellory::ui {

namespace {

// The files of every installed font under each of its family names, case
// folded; read from fontconfig's caches, as `fc-list` reads them.
QHash<QString, QStringList> ReadFamilyFiles() {
  QHash<QString, QStringList> files;
  if (!FcInit()) return files;
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> all(FcPatternCreate(),
                                                                    FcPatternDestroy);
  const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FAMILY, FC_FILE, nullptr), FcObjectSetDestroy);
  const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
      FcFontList(nullptr, all.get(), objects.get()), FcFontSetDestroy);
  if (!fonts) return files;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    const QString path = QString::fromUtf8(reinterpret_cast<const char*>(file));
    FcChar8* family = nullptr;
    for (int k = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, k, &family) == FcResultMatch;
         ++k) {
      QStringList& list =
          files[QString::fromUtf8(reinterpret_cast<const char*>(family)).toCaseFolded()];
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
