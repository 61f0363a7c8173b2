// A push button of a stored window; Enter and Space click it while it has
// the focus.
#pragma once

#include <QPushButton>
#include <functional>

#include "pellory/shell/described_control.h"

namespace pellory::ui {

class TButton : public QPushButton, public shell::DescribedControl {
  Q_OBJECT
 public:
  explicit TButton(const shell::CreationContext& context);

  QString Caption() const { return text(); }
  // The click handler; runs inside the guard.
  std::function<void()> OnClick;

  // Caption, OnClick and the common control properties.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }

 protected:
  void FontChanged() override;
};

}  // namespace pellory::ui
