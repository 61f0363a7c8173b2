#include "program_style.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "pellory/shell/hint_controller.h"

namespace pellory::shell {

namespace {

// A standard icon fetched from the style the first time it is measured or
// drawn.
class DeferredStandardIcon : public QIconEngine {
 public:
  DeferredStandardIcon(QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
      : style_(style), which_(which), widget_(const_cast<QWidget*>(widget)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Resolved().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Resolved().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Resolved().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Resolved().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Resolved().availableSizes(mode, state);
  }
  bool isNull() override { return Resolved().isNull(); }
  QString key() const override { return QStringLiteral("pellory-deferred-standard"); }
  QIconEngine* clone() const override {
    auto* copy = new DeferredStandardIcon(style_, which_, widget_);
    copy->icon_ = icon_;
    return copy;
  }

 private:
  const QIcon& Resolved() {
    if (!icon_) {
      QStyle* style = style_ ? style_.data() : QApplication::style();
      icon_ = style ? style->standardIcon(which_, nullptr, widget_) : QIcon();
    }
    return *icon_;
  }

  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  QPointer<QWidget> widget_;
  std::optional<QIcon> icon_;
};

}  // namespace

int ProgramStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* ret) const {
  if (hint == SH_ToolTip_WakeUpDelay) return HintController::kHintPause;
  if (hint == SH_ToolTip_FallAsleepDelay) return HintController::kHintHidePause;
  return QProxyStyle::styleHint(hint, option, widget, ret);
}

QIcon ProgramStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                 const QWidget* widget) const {
  if (option) return QProxyStyle::standardIcon(which, option, widget);
  return QIcon(new DeferredStandardIcon(baseStyle(), which, widget));
}

}  // namespace pellory::shell
