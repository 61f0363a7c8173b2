#include "pellory/shell/hint_controller.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QVariant>
#include <QWidget>

#include "program_style.h"

namespace pellory::shell {

namespace {

constexpr char kShowHintProperty[] = "pelloryShowHint";

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
  if (!qApp || dynamic_cast<ProgramStyle*>(QApplication::style())) return;
  QApplication::setStyle(new ProgramStyle);
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
