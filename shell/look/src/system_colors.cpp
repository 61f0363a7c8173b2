#include "pellory/shell/system_colors.h"

namespace pellory::shell {

QColor ColorOf(SystemColor c) {
  switch (c) {
    case SystemColor::BtnFace:
      return QColor(192, 192, 192);
    case SystemColor::BtnShadow:
      return QColor(128, 128, 128);
    case SystemColor::BtnHighlight:
      return QColor(255, 255, 255);
    case SystemColor::Window:
      return QColor(255, 255, 255);
    case SystemColor::WindowText:
      return QColor(0, 0, 0);
    case SystemColor::WindowFrame:
      return QColor(0, 0, 0);
    case SystemColor::Highlight:
      return QColor(0, 0, 128);
    case SystemColor::HighlightText:
      return QColor(255, 255, 255);
  }
  return {};
}

QPalette ControlPalette(SystemColor background) {
  QPalette pal;
  const QColor bg = ColorOf(background);
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    pal.setColor(group, QPalette::Window, bg);
    pal.setColor(group, QPalette::Base, bg);
    pal.setColor(group, QPalette::Button, ColorOf(SystemColor::BtnFace));
    pal.setColor(group, QPalette::WindowText, ColorOf(SystemColor::WindowText));
    pal.setColor(group, QPalette::Text, ColorOf(SystemColor::WindowText));
    pal.setColor(group, QPalette::ButtonText, ColorOf(SystemColor::WindowText));
    // Selected text in edit boxes, as every other highlight of the program.
    pal.setColor(group, QPalette::Highlight, ColorOf(SystemColor::Highlight));
    pal.setColor(group, QPalette::HighlightedText, ColorOf(SystemColor::HighlightText));
  }
  pal.setColor(QPalette::Disabled, QPalette::ButtonText, ColorOf(SystemColor::BtnShadow));
  return pal;
}

}  // namespace pellory::shell
