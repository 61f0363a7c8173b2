// The items of the font list: names kept sorted ignoring case, each with
// the row height measured in its own face when it was added.
#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QStringList>
#include <vector>

namespace pellory::ui {

// The face an item is drawn in: the list's font with the item's face name;
// "Default" stands for the face of "MS Sans Serif".
QFont ItemFace(const QString& name, const QFont& listFont);

class FontListModel : public QAbstractListModel {
 public:
  explicit FontListModel(QObject* parent) : QAbstractListModel(parent) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Sorts `name` into place and measures it in `listFont` with its face.
  void Add(const QString& name, const QFont& listFont);
  // Replaces every item by `sortedNames` in one step.
  void Replace(const QStringList& sortedNames, const QFont& listFont);
  void Clear();
  // Measures every item again in `listFont`.
  void Remeasure(const QFont& listFont);
  const QString& Name(int row) const { return names_[row]; }
  int Height(int row) const { return heights_[size_t(row)]; }

 private:
  QStringList names_;
  std::vector<int> heights_;
};

}  // namespace pellory::ui
