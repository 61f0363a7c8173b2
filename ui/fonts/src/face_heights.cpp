#include "face_heights.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "family_files.h"
#include "font_list_model.h"
#include "pellory/shell/stored_font.h"

namespace pellory::ui {

namespace {

// Heights measured by another Qt may differ; its file is not read.
QByteArray Header() {
  return QByteArrayLiteral("pellory font heights 1 qt ") + qVersion() + '\n';
}

// What a height depends on besides the face's files: the list's font (its
// key leaves out the hinting) and the name.
QString KeyOf(const QString& name, const QFont& listFont) {
  return listFont.key() + QLatin1Char(',') + QString::number(int(listFont.hintingPreference())) +
         QLatin1Char('\t') + name;
}

}  // namespace

FaceHeights& FaceHeights::Shared() {
  static FaceHeights heights(CacheFile(), FamilyFingerprint);
  return heights;
}

QString FaceHeights::CacheFile() {
  QString base = qEnvironmentVariable("XDG_CACHE_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.cache");
  return base + QStringLiteral("/pellory/font-heights");
}

FaceHeights::FaceHeights(QString file, Fingerprint fingerprint)
    : file_(std::move(file)), fingerprint_(std::move(fingerprint)) {}

std::optional<int> FaceHeights::Known(const QString& name, const QFont& listFont) {
  const QString key = KeyOf(name, listFont);
  if (const auto it = run_.constFind(key); it != run_.constEnd()) return *it;
  Load();
  const auto kept = kept_.constFind(key);
  if (kept == kept_.constEnd()) return std::nullopt;
  const QByteArray& fingerprint = FingerprintOf(ItemFace(name, listFont).family());
  if (fingerprint.isEmpty() || fingerprint != kept->fingerprint) return std::nullopt;
  run_.insert(key, kept->height);
  return kept->height;
}

int FaceHeights::Measure(const QString& name, const QFont& listFont) {
  if (const std::optional<int> known = Known(name, listFont)) return *known;
  const QFont face = ItemFace(name, listFont);
  const int height = shell::TextHeight(face);
  const QString key = KeyOf(name, listFont);
  run_.insert(key, height);
  unsaved_.append({key, face.family()});
  return height;
}

const QByteArray& FaceHeights::FingerprintOf(const QString& family) {
  auto it = fingerprints_.find(family);
  if (it == fingerprints_.end()) it = fingerprints_.insert(family, fingerprint_(family));
  return *it;
}

void FaceHeights::Load() {
  if (loaded_) return;
  loaded_ = true;
  QFile file(file_);
  if (file_.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
  if (file.readLine() != Header()) return;
  // fingerprint, height, list font key and name, separated by tabs.
  while (!file.atEnd()) {
    QByteArray raw = file.readLine();
    if (raw.endsWith('\n')) raw.chop(1);
    const QString line = QString::fromUtf8(raw);
    const qsizetype first = line.indexOf(QLatin1Char('\t'));
    const qsizetype second = line.indexOf(QLatin1Char('\t'), first + 1);
    if (first <= 0 || second <= first) continue;
    bool isNumber = false;
    const int height = line.mid(first + 1, second - first - 1).toInt(&isNumber);
    if (!isNumber || height <= 0) continue;
    kept_.insert(line.mid(second + 1), {line.left(first).toLatin1(), height});
  }
}

void FaceHeights::Save() {
  if (file_.isEmpty()) return;
  Load();
  bool changed = false;
  for (const auto& [key, family] : std::exchange(unsaved_, {})) {
    // A name no installed font bears is drawn in whatever face stands in
    // for it, which any installation may change: it is kept for this run
    // only.
    const QByteArray& fingerprint = FingerprintOf(family);
    if (fingerprint.isEmpty()) continue;
    kept_.insert(key, {fingerprint, run_.value(key)});
    changed = true;
  }
  if (!changed) return;
  QDir().mkpath(QFileInfo(file_).path());
  QSaveFile file(file_);
  if (!file.open(QIODevice::WriteOnly)) return;
  QByteArray text = Header();
  for (auto it = kept_.constBegin(); it != kept_.constEnd(); ++it)
    text +=
        it->fingerprint + '\t' + QByteArray::number(it->height) + '\t' + it.key().toUtf8() + '\n';
  file.write(text);
  file.commit();
}

}  // namespace pellory::ui
