// A bevelled frame drawn around other controls; it takes no input.
#pragma once

#include <QWidget>

#include "pellory/shell/described_control.h"

namespace pellory::ui {

class TBevel : public QWidget, public shell::DescribedControl {
  Q_OBJECT
 public:
  enum class Shape { Box, Frame };
  enum class Style { Lowered, Raised };

  explicit TBevel(const shell::CreationContext& context);

  Shape BevelShape() const { return shape_; }
  Style BevelStyle() const { return style_; }

  // Shape ("bsBox", "bsFrame"), Style ("bsLowered", "bsRaised") and the
  // common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Shape shape_ = Shape::Box;
  Style style_ = Style::Lowered;
};

}  // namespace pellory::ui
