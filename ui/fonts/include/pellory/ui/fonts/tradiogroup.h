// A framed group of radio buttons in one column, one per item. Only a
// change of the checked choice runs OnClick; while its window is being read
// the group only records ItemIndex and checks it without a click.
#pragma once

#include <QWidget>
#include <functional>

#include "pellory/shell/described_control.h"

class QRadioButton;

namespace pellory::ui {

class TRadioGroup : public QWidget, public shell::DescribedControl {
  Q_OBJECT
 public:
  explicit TRadioGroup(const shell::CreationContext& context);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  QStringList Items() const;
  void SetItems(const QStringList& items);
  int ItemIndex() const { return itemIndex_; }
  // Checks item `index` (-1: none); outside reading, a change runs OnClick.
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const;
  int Count() const { return int(buttons_.size()); }

  // Runs inside the guard when the checked choice changes.
  std::function<void()> OnClick;

  // Caption, Items, ItemIndex, OnClick and the common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ArrangeButtons();
  void Check(int index);
  void Toggled(int index, bool checked);
  bool KeyOnButton(int index, int key);

  shell::StoredWindow* window_;
  QString caption_;
  std::vector<QRadioButton*> buttons_;
  int itemIndex_ = -1;
};

}  // namespace pellory::ui
