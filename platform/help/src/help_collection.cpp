#include "help_collection.h"

#include <QDir>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QHelpLink>

namespace pellory::platform {

QString HelpCollection::FileNameFor(const QString& helpFileName) {
  return QFileInfo(helpFileName).completeBaseName() + QStringLiteral(".qhc");
}

QString HelpCollection::Find(const QString& helpFileName, const QStringList& dirs) {
  const QString name = FileNameFor(helpFileName);
  if (name == QLatin1String(".qhc")) return {};
  QStringList candidates = dirs;
  const QFileInfo given(helpFileName);
  if (given.fileName() != helpFileName) candidates.prepend(given.path());
  for (const QString& dir : candidates) {
    const QFileInfo file(QDir(dir), name);
    if (file.isFile()) return file.absoluteFilePath();
  }
  return {};
}

std::unique_ptr<HelpCollection> HelpCollection::Open(const QString& path, QString* error) {
  auto engine = std::make_unique<QHelpEngineCore>(path);
  // The viewer keeps its own copy; ours is only read, and may lie where the
  // user cannot write.
  engine->setReadOnly(true);
  if (!engine->setupData()) {
    *error = engine->error();
    return nullptr;
  }
  if (engine->registeredDocumentations().isEmpty()) {
    *error = QStringLiteral("it holds no help pages");
    return nullptr;
  }
  return std::unique_ptr<HelpCollection>(new HelpCollection(path, std::move(engine)));
}

HelpCollection::HelpCollection(QString path, std::unique_ptr<QHelpEngineCore> engine)
    : path_(std::move(path)), engine_(std::move(engine)) {}

HelpCollection::~HelpCollection() = default;

QUrl HelpCollection::Topic(const QString& identifier) const {
  const QList<QHelpLink> links = engine_->documentsForIdentifier(identifier);
  return links.isEmpty() ? QUrl() : links.first().url;
}

}  // namespace pellory::platform
