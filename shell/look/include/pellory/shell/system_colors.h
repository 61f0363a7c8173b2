// The system colours the windows are described with. They are fixed to the
// classic desktop scheme so that every machine paints the same pixels.
#pragma once

#include <QColor>
#include <QPalette>

namespace pellory::shell {

enum class SystemColor {
  BtnFace,
  BtnShadow,
  BtnHighlight,
  Window,
  WindowText,
  WindowFrame,
  Highlight,
  HighlightText
};

QColor ColorOf(SystemColor c);

// A palette for a control: `background` behind, window text in front,
// selected text in the highlight colours.
QPalette ControlPalette(SystemColor background);

}  // namespace pellory::shell
