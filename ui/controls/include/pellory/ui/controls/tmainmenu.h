// A window's menu bar as a described component; its items are MenuCommand
// sub-components.
#pragma once

#include <QMenuBar>

#include "pellory/shell/described_component.h"

namespace pellory::ui {

class TMainMenu : public QMenuBar, public shell::DescribedComponent {
  Q_OBJECT
 public:
  explicit TMainMenu(const shell::CreationContext& context);

  // Design-time placement only; nothing else is stored for the bar itself.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  QObject* Object() override { return this; }
};

}  // namespace pellory::ui
