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
    : self_(self), window_(context.window), tabStop_(focus == Focus::TabStop) {
  if (window_) font_ = window_->Font();
  self_->setFont(font_.ToQFont());
  self_->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::NoFocus);
}

void DescribedControl::FontChanged() {
  self_->setFont(font_.ToQFont());
}

void DescribedControl::SetGeometryPart(void (*change)(QRect&, int), const StoredValue& value) {
  QRect g = self_->geometry();
  change(g, IntValue(value));
  self_->setGeometry(g);
}

void DescribedControl::SetOwnFont(void (*change)(StoredFont&, const StoredValue&),
                                  const StoredValue& value) {
  change(font_, value);
  parentFont_ = false;
  FontChanged();
}

void DescribedControl::SetParentFont(bool on) {
  parentFont_ = on;
  if (!on || !window_) return;
  font_ = window_->Font();
  FontChanged();
}

void DescribedControl::SetTabStop(bool on) {
  tabStop_ = on;
  self_->setFocusPolicy(tabStop_ ? Qt::StrongFocus : Qt::NoFocus);
}

const PropertyTable& DescribedControl::Properties() {
  using C = DescribedControl;
  using V = const StoredValue&;
  static const PropertyTable table(
      nullptr,
      {
          Property<C>("Font.Name",
                      [](C& c, V v) {
                        c.SetOwnFont([](StoredFont& f, V value) { f.name = StringValue(value); },
                                     v);
                      }),
          Property<C>("Font.Height",
                      [](C& c, V v) {
                        c.SetOwnFont([](StoredFont& f, V value) { f.height = IntValue(value); }, v);
                      }),
          Property<C>("Font.Color",
                      [](C& c, V v) {
                        c.SetOwnFont([](StoredFont& f,
                                        V value) { f.color = StoredColor(StringValue(value)); },
                                     v);
                      }),
          Property<C>("Font.Style",
                      [](C& c, V v) {
                        c.SetOwnFont([](StoredFont& f, V value) { f.style = IntValue(value); }, v);
                      }),
          // Only the default character set exists here.
          Property<C>("Font.Charset", [](C& c, V) { c.parentFont_ = false; }),
          Property<C>("ParentFont", [](C& c, V v) { c.SetParentFont(BoolValue(v)); }),
          Property<C>("Left",
                      [](C& c, V v) {
                        c.SetGeometryPart([](QRect& g, int left) { g.moveLeft(left); }, v);
                      }),
          Property<C>(
              "Top",
              [](C& c, V v) { c.SetGeometryPart([](QRect& g, int top) { g.moveTop(top); }, v); }),
          Property<C>("Width",
                      [](C& c, V v) {
                        c.SetGeometryPart([](QRect& g, int width) { g.setWidth(width); }, v);
                      }),
          Property<C>("Height",
                      [](C& c, V v) {
                        c.SetGeometryPart([](QRect& g, int height) { g.setHeight(height); }, v);
                      }),
          Property<C>("TabOrder", [](C& c, V v) { c.tabOrder_ = IntValue(v); }),
          Property<C>("TabStop", [](C& c, V v) { c.SetTabStop(BoolValue(v)); }),
          Property<C>("HelpContext", [](C& c, V v) { c.helpContext_ = IntValue(v); }),
          Property<C>("Hint", [](C& c, V v) { c.self_->setToolTip(StringValue(v)); }),
          Property<C>("ShowHint",
                      [](C& c, V v) { HintController::SetShowHint(c.self_, BoolValue(v)); }),
          Property<C>("ParentShowHint",
                      [](C& c, V v) {
                        if (BoolValue(v)) HintController::ClearShowHint(c.self_);
                      }),
          Property<C>("Visible", [](C& c, V v) { c.self_->setVisible(BoolValue(v)); }),
          Property<C>("Enabled", [](C& c, V v) { c.self_->setEnabled(BoolValue(v)); }),
      });
  return table;
}

}  // namespace pellory::shell
