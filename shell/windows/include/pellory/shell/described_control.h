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
  int HelpContext() const override { return helpContext_; }
  const StoredFont& Font() const { return font_; }
  // Whether the control shows its window's font; cleared by any Font.*
  // property of its own.
  bool ParentFont() const { return parentFont_; }

  // Left, Top, Width, Height, TabOrder, TabStop, HelpContext, Hint,
  // ShowHint, ParentShowHint, ParentFont, Visible, Enabled and Font.*.
  static const PropertyTable& Properties();
  const PropertyTable& StoredProperties() const override { return Properties(); }
  QObject* Object() override { return self_; }
  // Place and size by m/d; the font becomes the window's scaled one, or,
  // for a font of the control's own, its height is scaled by m/d too.
  void ChangeScale(int m, int d) override;

 protected:
  QWidget* Widget() const { return self_; }
  // Called after any Font.* property changed; applies the font by default.
  virtual void FontChanged();

 private:
  void SetGeometryPart(void (*change)(QRect&, int), const StoredValue& value);
  void SetTabStop(bool on);
  void SetOwnFont(void (*change)(StoredFont&, const StoredValue&), const StoredValue& value);
  void SetParentFont(bool on);

  QWidget* self_;
  const StoredWindow* window_;
  StoredFont font_;
  bool parentFont_ = true;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  int helpContext_ = 0;
};

// Colour names of the descriptions ("clBlack", "clBtnFace"...) as colours;
// raises "Invalid property value" for others.
QColor StoredColor(const QString& name);

}  // namespace pellory::shell
