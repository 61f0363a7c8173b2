// A picture box without a frame or a background of its own. It holds an
// icon, which is drawn at its natural size at the top-left corner whatever
// the box's size or Stretch.
#pragma once

#include <QImage>
#include <QWidget>

#include "pellory/shell/described_control.h"

namespace pellory::ui {

class TImage : public QWidget, public shell::DescribedControl {
  Q_OBJECT
 public:
  explicit TImage(const shell::CreationContext& context);

  const QImage& Icon() const { return icon_; }
  void SetIcon(const QImage& icon);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool on) { stretch_ = on; }

  // Picture.Icon (the name of one of the program's icons), Stretch and the
  // common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage icon_;
  bool stretch_ = false;
};

}  // namespace pellory::ui
