#include "pellory/shell/hint_controller.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QToolTip>
#include <QVariant>
#include <QWidget>

namespace pellory::shell {

namespace {

constexpr char kShowHintProperty[] = "pelloryShowHint";

// Only the tool-tip delays differ from the platform's style.
class HintTimingStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* ret) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return HintController::kHintPause;
    if (hint == SH_ToolTip_FallAsleepDelay) return HintController::kHintHidePause;
    return QProxyStyle::styleHint(hint, option, widget, ret);
  }
};

}  // namespace

HintController::HintController(QObject* parent) : QObject(parent) {
  if (qApp) qApp->installEventFilter(this);
}

void HintController::SetShowHint(QWidget* w, bool on) {
  w->setProperty(kShowHintProperty, on);
}

void HintController::ClearShowHint(QWidget* w) {
  w->setProperty(kShowHintProperty, QVariant());
}

bool HintController::ShowsHints(const QWidget* w) {
  for (; w; w = w->parentWidget()) {
    const QVariant v = w->property(kShowHintProperty);
    if (v.isValid()) return v.toBool();
  }
  return false;
}

QString HintController::HintFor(const QWidget* w) {
  for (; w; w = w->parentWidget())
    if (!w->toolTip().isEmpty()) return w->toolTip();
  return {};
}

void HintController::InstallTimings() {
  if (!qApp || dynamic_cast<HintTimingStyle*>(QApplication::style())) return;
  QApplication::setStyle(new HintTimingStyle);
}

bool HintController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  const QString text = enabled_ && ShowsHints(widget) ? HintFor(widget) : QString();
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), text, widget, {}, kHintHidePause);
  }
  return true;  // Handled here for the whole parent chain.
}

}  // namespace pellory::shell
