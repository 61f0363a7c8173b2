// The part of a described component that every visible control shares:
// place and size, font, tab order, help context and hint.
#pragma once

#include <QWidget>

#include "pellory/shell/described_component.h"
#include "pellory/shell/stored_font.h"

namespace pellory::shell {

class DescribedControl : public DescribedComponent {
 public:
  enum class Focus { TabStop, NoTabStop };

  DescribedControl(QWidget* self, const CreationContext& context, Focus focus);

  int TabOrder() const { return tabOrder_; }
  bool TabStop() const { return tabStop_; }
  int HelpContext() const { return helpContext_; }
  const StoredFont& Font() const { return font_; }

  // Left, Top, Width, Height, TabOrder, TabStop, HelpContext, Hint,
  // ShowHint, ParentShowHint, ParentFont, Visible, Enabled and Font.*.
  static const PropertyTable& Properties();
  const PropertyTable& StoredProperties() const override { return Properties(); }
  QObject* Object() override { return self_; }

 protected:
  QWidget* Widget() const { return self_; }
  // Called after any Font.* property changed; applies the font by default.
  virtual void FontChanged();

 private:
  void SetGeometryPart(void (*change)(QRect&, int), const StoredValue& value);
  void SetTabStop(bool on);

  QWidget* self_;
  StoredFont font_;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  int helpContext_ = 0;
};

// Colour names of the descriptions ("clBlack", "clBtnFace"...) as colours;
// raises "Invalid property value" for others.
QColor StoredColor(const QString& name);

}  // namespace pellory::shell
