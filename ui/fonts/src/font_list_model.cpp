#include "font_list_model.h"

#include <QSize>
#include <algorithm>

#include "pellory/shell/screen_fonts.h"
#include "pellory/shell/stored_font.h"
#include "pellory/ui/fonts/font_lists.h"

namespace pellory::ui {

namespace {

int MeasuredHeight(const QString& name, const QFont& listFont) {
  return shell::TextHeight(ItemFace(name, listFont));
}

}  // namespace

QFont ItemFace(const QString& name, const QFont& listFont) {
  QFont base = listFont;
  // Glyphs a face lacks come from another face rather than as boxes.
  base.setStyleStrategy(QFont::PreferDefault);
  if (name.compare(QLatin1String("Default"), Qt::CaseInsensitive) == 0) {
    base.setFamily(shell::InstalledFamilyFor(QStringLiteral("MS Sans Serif")));
    return base;
  }
  return shell::FaceOfFamily(name, base);
}

int FontListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(names_.size());
}

QVariant FontListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole) return names_[index.row()];
  if (role == Qt::SizeHintRole) return QSize(0, heights_[size_t(index.row())]);
  return {};
}

void FontListModel::Add(const QString& name, const QFont& listFont) {
  const int height = MeasuredHeight(name, listFont);
  const int row =
      int(std::upper_bound(names_.begin(), names_.end(), name, LessIgnoringCase) - names_.begin());
  beginInsertRows({}, row, row);
  names_.insert(row, name);
  heights_.insert(heights_.begin() + row, height);
  endInsertRows();
}

void FontListModel::Replace(const QStringList& sortedNames, const QFont& listFont) {
  beginResetModel();
  names_ = sortedNames;
  heights_.clear();
  heights_.reserve(size_t(sortedNames.size()));
  for (const QString& name : sortedNames) heights_.push_back(MeasuredHeight(name, listFont));
  endResetModel();
}

void FontListModel::Remeasure(const QFont& listFont) {
  for (int row = 0; row < names_.size(); ++row)
    heights_[size_t(row)] = MeasuredHeight(names_[row], listFont);
  if (!names_.isEmpty()) emit dataChanged(index(0), index(int(names_.size()) - 1));
}

void FontListModel::Clear() {
  beginResetModel();
  names_.clear();
  heights_.clear();
  endResetModel();
}

}  // namespace pellory::ui
