#include "pellory/shell/described_control.h"

#include <QVariant>

#include "pellory/shell/hint_controller.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/system_colors.h"

namespace pellory::shell {

QColor StoredColor(const QString& name) {
  static const std::pair<const char*, QColor> kColors[] = {
      {"clBlack", Qt::black},
      {"clWhite", Qt::white},
      {"clBtnFace", ColorOf(SystemColor::BtnFace)},
      {"clBtnShadow", ColorOf(SystemColor::BtnShadow)},
      {"clBtnHighlight", ColorOf(SystemColor::BtnHighlight)},
      {"clWindow", ColorOf(SystemColor::Window)},
      {"clWindowText", ColorOf(SystemColor::WindowText)},
      {"clWindowFrame", ColorOf(SystemColor::WindowFrame)},
      {"clHighlight", ColorOf(SystemColor::Highlight)},
      {"clHighlightText", ColorOf(SystemColor::HighlightText)},
      {"clSilver", QColor(192, 192, 192)},
      {"clGray", QColor(128, 128, 128)},
      {"clYellow", QColor(255, 255, 0)},
  };
  for (const auto& [stored, color] : kColors)
    if (name == QLatin1String(stored)) return color;
  throw ShellError(QStringLiteral("Invalid property value"));
}

DescribedControl::DescribedControl(QWidget* self, const CreationContext& context, Focus focus)
    : self_(self), tabStop_(focus == Focus::TabStop) {
  if (context.window) font_ = context.window->Font();
  self_->setFont(font_.ToQFont());
  self_->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::NoFocus);
}

void DescribedControl::FontChanged() {
  self_->setFont(font_.ToQFont());
}

bool DescribedControl::SetFontProperty(const QString& path, const StoredValue& value) {
  if (path == QLatin1String("Font.Name")) {
    font_.name = StringValue(value);
  } else if (path == QLatin1String("Font.Height")) {
    font_.height = IntValue(value);
  } else if (path == QLatin1String("Font.Color")) {
    font_.color = StoredColor(StringValue(value));
  } else if (path == QLatin1String("Font.Style")) {
    font_.style = IntValue(value);
  } else if (path == QLatin1String("Font.Charset") || path == QLatin1String("ParentFont")) {
    return true;  // Only the default character set exists here.
  } else {
    return false;
  }
  FontChanged();
  return true;
}

void DescribedControl::SetStoredProperty(const QString& path, const StoredValue& value) {
  if (SetFontProperty(path, value)) return;
  QRect g = self_->geometry();
  if (path == QLatin1String("Left")) {
    g.moveLeft(IntValue(value));
  } else if (path == QLatin1String("Top")) {
    g.moveTop(IntValue(value));
  } else if (path == QLatin1String("Width")) {
    g.setWidth(IntValue(value));
  } else if (path == QLatin1String("Height")) {
    g.setHeight(IntValue(value));
  } else if (path == QLatin1String("TabOrder")) {
    tabOrder_ = IntValue(value);
    return;
  } else if (path == QLatin1String("TabStop")) {
    tabStop_ = BoolValue(value);
    self_->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::NoFocus);
    return;
  } else if (path == QLatin1String("HelpContext")) {
    helpContext_ = IntValue(value);
    return;
  } else if (path == QLatin1String("Hint")) {
    self_->setToolTip(StringValue(value));
    return;
  } else if (path == QLatin1String("ShowHint")) {
    HintController::SetShowHint(self_, BoolValue(value));
    return;
  } else if (path == QLatin1String("ParentShowHint")) {
    if (BoolValue(value)) HintController::ClearShowHint(self_);
    return;
  } else if (path == QLatin1String("Visible")) {
    self_->setVisible(BoolValue(value));
    return;
  } else if (path == QLatin1String("Enabled")) {
    self_->setEnabled(BoolValue(value));
    return;
  } else {
    UnknownProperty(path);
  }
  self_->setGeometry(g);
}

}  // namespace pellory::shell
