// The program's application style: the platform's own, with the hint
// delays of this program, and standard icons that load when first drawn.
#pragma once

#include <QProxyStyle>

namespace pellory::shell {

class ProgramStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override;
  // Every menu bar asks for its extension button's icon when it is built;
  // loading it scans Qt's image plugins at start-up, for a button that
  // shows only when the menus do not fit. Icons asked for without an
  // option are therefore resolved on their first use.
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override;
};

}  // namespace pellory::shell
