// The row heights of font names, each measured in the name's own face at
// a list's font. Loading a face to measure it is what costs (about a
// millisecond a face), so a height is measured once a run and kept on disk
// between runs, keyed by the face asked for and by the files of its family
// with their modification times: a family installed anew or changed is
// measured again.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace pellory::ui {

class FaceHeights {
 public:
  using Fingerprint = std::function<QByteArray(const QString& family)>;

  // The heights the run shares, kept in CacheFile().
  static FaceHeights& Shared();
  // $XDG_CACHE_HOME/pellory/font-heights (~/.cache/pellory/... by default).
  static QString CacheFile();

  // Heights kept in `file` (none when empty), their families told apart by
  // `fingerprint` (an empty answer: not kept on disk).
  FaceHeights(QString file, Fingerprint fingerprint);

  // The height of `name` at `listFont` when it was measured this run or
  // kept for the same files; nothing is loaded.
  std::optional<int> Known(const QString& name, const QFont& listFont);
  // The height known, or measured now in the face and kept.
  int Measure(const QString& name, const QFont& listFont);
  // Writes the heights to the file when some were measured since it was
  // read, each under its family's files as they are now (read here, not
  // while measuring, so that an opening spends nothing on them); a file
  // that cannot be written is left as it is.
  void Save();

 private:
  struct Kept {
    QByteArray fingerprint;
    int height = 0;
  };

  void Load();
  const QByteArray& FingerprintOf(const QString& family);

  QString file_;
  Fingerprint fingerprint_;
  bool loaded_ = false;
  // Measured since the file was written: the key and the face's family.
  QList<std::pair<QString, QString>> unsaved_;
  QHash<QString, int> run_;                  // list font key and name: height
  QHash<QString, Kept> kept_;                // the same keys, as on disk
  QHash<QString, QByteArray> fingerprints_;  // family: its files' digest
};

}  // namespace pellory::ui
