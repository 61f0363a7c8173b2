// A help collection, opened read-only to find the page of each topic.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

class QHelpEngineCore;

namespace pellory::platform {

class HelpCollection {
 public:
  // Identifiers of the two pages every collection of ours has besides the
  // numbered topics.
  static constexpr const char* kContentsId = "contents";
  static constexpr const char* kNoHelpId = "no-help";

  // The collection file that stands for a help file: "fontl.hlp" is
  // "fontl.qhc".
  static QString FileNameFor(const QString& helpFileName);
  // The path of that collection in the first of `dirs` that holds it (the
  // help file's own directory first, when it names one); empty when none.
  static QString Find(const QString& helpFileName, const QStringList& dirs);
  // Opens the collection at `path`; null, with `error` set, when it cannot
  // be read.
  static std::unique_ptr<HelpCollection> Open(const QString& path, QString* error);

  ~HelpCollection();

  QString Path() const { return path_; }
  // The page whose identifier is `identifier`; empty when there is none.
  QUrl Topic(const QString& identifier) const;

 private:
  HelpCollection(QString path, std::unique_ptr<QHelpEngineCore> engine);

  QString path_;
  std::unique_ptr<QHelpEngineCore> engine_;
};

}  // namespace pellory::platform
