#include "font_list_model.h"

#include <QSize>
#include <algorithm>

#include "face_heights.h"
#include "pellory/shell/screen_fonts.h"
#include "pellory/shell/stored_font.h"
#include "pellory/ui/fonts/font_lists.h"

namespace pellory::ui {

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
  if (role == Qt::SizeHintRole) {
    const int height = rowHeights_[size_t(index.row())];
    return QSize(0, height == kUnmeasured ? estimate_ : height);
  }
  return {};
}

int FontListModel::KnownHeight(const QString& name) const {
  return heights_->Known(name, listFont_).value_or(kUnmeasured);
}

void FontListModel::SetListFont(const QFont& listFont) {
  listFont_ = listFont;
  estimate_ = shell::TextHeight(listFont);
  for (int row = 0; row < names_.size(); ++row) rowHeights_[size_t(row)] = KnownHeight(names_[row]);
  if (!names_.isEmpty()) emit dataChanged(index(0), index(int(names_.size()) - 1));
}

void FontListModel::Add(const QString& name) {
  const int row =
      int(std::upper_bound(names_.begin(), names_.end(), name, LessIgnoringCase) - names_.begin());
  beginInsertRows({}, row, row);
  names_.insert(row, name);
  rowHeights_.insert(rowHeights_.begin() + row, KnownHeight(name));
  endInsertRows();
}

void FontListModel::Replace(const QStringList& sortedNames) {
  beginResetModel();
  names_ = sortedNames;
  rowHeights_.clear();
  rowHeights_.reserve(size_t(sortedNames.size()));
  for (const QString& name : sortedNames) rowHeights_.push_back(KnownHeight(name));
  endResetModel();
}

void FontListModel::Clear() {
  beginResetModel();
  names_.clear();
  rowHeights_.clear();
  endResetModel();
}

int FontListModel::Height(int row) {
  int& height = rowHeights_[size_t(row)];
  // A face without height still gets a row, and is not measured again.
  if (height == kUnmeasured) height = std::max(1, heights_->Measure(names_[row], listFont_));
  return height;
}

bool FontListModel::Measure(int first, int last) {
  bool moved = false;
  for (int row = std::max(first, 0); row <= std::min(last, rowCount() - 1); ++row) {
    if (Measured(row)) continue;
    moved = Height(row) != estimate_ || moved;
  }
  return moved;
}

}  // namespace pellory::ui
