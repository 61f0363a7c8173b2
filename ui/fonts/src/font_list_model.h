// The items of the font list: names kept sorted ignoring case, each with
// its row height in its own face. A height not known yet is measured when
// its row is about to be shown; until then the row is laid out as tall as
// the list's font.
#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QStringList>
#include <vector>

namespace pellory::ui {

class FaceHeights;

// The face an item is drawn in: the list's font with the item's face name;
// "Default" stands for the face of "MS Sans Serif".
QFont ItemFace(const QString& name, const QFont& listFont);

class FontListModel : public QAbstractListModel {
 public:
  FontListModel(QObject* parent, FaceHeights* heights)
      : QAbstractListModel(parent), heights_(heights) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // The font rows are measured at. Heights known at the new font are taken;
  // the others are measured again as their rows are shown.
  void SetListFont(const QFont& listFont);
  // Sorts `name` into place.
  void Add(const QString& name);
  // Replaces every item by `sortedNames` in one step.
  void Replace(const QStringList& sortedNames);
  void Clear();
  const QString& Name(int row) const { return names_[row]; }
  // The row's height, measured now when it was not known.
  int Height(int row);
  bool Measured(int row) const { return rowHeights_[size_t(row)] != kUnmeasured; }
  // Measures the rows from `first` to `last` not measured yet; answers
  // whether one came out another height than it was laid out with.
  bool Measure(int first, int last);

 private:
  static constexpr int kUnmeasured = 0;

  int KnownHeight(const QString& name) const;

  FaceHeights* heights_;
  QFont listFont_;
  int estimate_ = 1;
  QStringList names_;
  std::vector<int> rowHeights_;
};

}  // namespace pellory::ui
