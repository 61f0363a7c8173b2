// The single-line text box bound to one field. It only displays: it is
// read-only from its creation, and its height follows its font (AutoSize).
// Every key that would change the text asks the field link to begin
// editing, which the read-only cursor refuses without a word.
#pragma once

#include <QLineEdit>

#include "pellory/shell/described_control.h"
#include "pellory/ui/main/bound_field.h"

namespace pellory::ui {

class TDBEdit : public QLineEdit, public shell::DescribedControl, public BoundField {
  Q_OBJECT
 public:
  explicit TDBEdit(const shell::CreationContext& context);

  bool AutoSelect() const { return autoSelect_; }
  bool AutoSize() const { return autoSize_; }
  // The height AutoSize gives: the font's full character height plus eight
  // border pixels.
  int AutoHeight() const;

  // DataSource, DataField, AutoSelect, AutoSize, ReadOnly and the common
  // control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  void NotifyLoaded() override;

 protected:
  void FontChanged() override;
  void ReadField(data::TField* field) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  bool autoSelect_ = true;
  bool autoSize_ = true;
};

}  // namespace pellory::ui
