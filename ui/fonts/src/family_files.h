// What a family's row height depends on besides its name: the files that
// hold the family's fonts, their sizes and modification times.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pellory::ui {

// A digest of the files of the installed family `name` (any of its names,
// ignoring case) with their sizes and modification times; empty when no
// installed font bears the name. Fontconfig's list of files is read once
// per run, the files' times at each call.
QByteArray FamilyFingerprint(const QString& name);

// The digest of `paths` (in this order) with their sizes and modification
// times; empty when one of them cannot be read.
QByteArray FilesFingerprint(const QStringList& paths);

}  // namespace pellory::ui
