// A panel: a face in its window's colour with an outer and an inner bevel,
// on which other controls sit.
#pragma once

#include <QWidget>

#include "pellory/shell/described_control.h"

namespace pellory::ui {

class TPanel : public QWidget, public shell::DescribedControl {
  Q_OBJECT
 public:
  enum class Bevel { None, Lowered, Raised };

  explicit TPanel(const shell::CreationContext& context);

  Bevel BevelOuter() const { return outer_; }
  Bevel BevelInner() const { return inner_; }
  QString Caption() const { return caption_; }

  void SetBevelOuter(Bevel bevel);
  void SetBevelInner(Bevel bevel);
  void SetCaption(const QString& caption);

  // BevelOuter, BevelInner ("bvNone", "bvLowered", "bvRaised"), Caption,
  // ParentColor and the common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Bevel outer_ = Bevel::Raised;
  Bevel inner_ = Bevel::None;
  QString caption_;
};

}  // namespace pellory::ui
