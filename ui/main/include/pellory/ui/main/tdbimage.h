// The picture box bound to a picture field. Until a picture has been
// loaded it shows its field's label (its own name while it has no field)
// in parentheses, centred. Ctrl+C and Ctrl+Insert copy the picture.
#pragma once

#include <QImage>
#include <QWidget>

#include "pellory/shell/described_control.h"
#include "pellory/ui/main/bound_field.h"

namespace pellory::ui {

class TDBImage : public QWidget, public shell::DescribedControl, public BoundField {
  Q_OBJECT
 public:
  static constexpr int kBorder = 2;

  explicit TDBImage(const shell::CreationContext& context);

  bool PictureLoaded() const { return pictureLoaded_; }
  bool Center() const { return center_; }
  bool Stretch() const { return stretch_; }
  // The area inside the sunken border.
  QRect ClientArea() const { return rect().adjusted(kBorder, kBorder, -kBorder, -kBorder); }
  // What the box shows before its first load: "(DBImage1)".
  QString PlaceholderText() const;
  // The loaded picture; null when the field is blank.
  const QImage& Picture() const { return picture_; }
  // Where the picture's top-left corner lands, in client coordinates:
  // centred, negative where the picture is wider or taller than the client.
  QPoint PictureOffset() const;

  // DataSource, DataField, Center, Stretch and the common control
  // properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void ReadField(data::TField* field) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void PaintBorder(QPainter& p) const;

  QImage picture_;
  bool pictureLoaded_ = false;
  bool center_ = true;
  bool stretch_ = false;
};

}  // namespace pellory::ui
