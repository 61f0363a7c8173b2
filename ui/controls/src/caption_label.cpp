#include "pellory/ui/controls/caption_label.h"

#include <QFontMetrics>
#include <algorithm>

#include "pellory/shell/stored_font.h"
#include "pellory/shell/stored_window.h"

namespace pellory::ui {

CaptionLabel::CaptionLabel(const shell::CreationContext& context)
    : QLabel(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setAutoFillBackground(true);
  setContentsMargins(0, 0, 0, 0);
  setIndent(0);
  loading_ = context.window && context.window->Creating();
}

void CaptionLabel::NotifyLoaded() {
  loading_ = false;
  FitToText();
}

void CaptionLabel::SetCaption(const QString& caption) {
  setText(caption);
  FitToText();
}

void CaptionLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  FitToText();
}

void CaptionLabel::SetWordWrap(bool on) {
  setWordWrap(on);
  FitToText();
}

void CaptionLabel::FontChanged() {
  DescribedControl::FontChanged();
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, Font().color);
  setPalette(pal);
  FitToText();
}

void CaptionLabel::FitToText() {
  // A wrapping label keeps its stored width, which the caption read before
  // the wrapping would otherwise have replaced.
  if (!autoSize_ || loading_) return;
  const QFontMetrics metrics(font());
  if (!wordWrap()) {
    resize(metrics.horizontalAdvance(text()), shell::TextHeight(font()));
    return;
  }
  // Painting wraps the same way (QPainter::drawText with TextWordWrap).
  const QRect wrapped =
      metrics.boundingRect(QRect(0, 0, width(), 1 << 20), Qt::TextWordWrap, text());
  resize(width(), std::max(shell::TextHeight(font()), wrapped.height()));
}

const shell::PropertyTable& CaptionLabel::Properties() {
  using shell::Property;
  using L = CaptionLabel;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<L>("Caption", [](L& l, V v) { l.SetCaption(shell::StringValue(v)); }),
          Property<L>("AutoSize", [](L& l, V v) { l.SetAutoSize(shell::BoolValue(v)); }),
          Property<L>("WordWrap", [](L& l, V v) { l.SetWordWrap(shell::BoolValue(v)); }),
          Property<L>("Transparent",
                      [](L& l, V v) { l.setAutoFillBackground(!shell::BoolValue(v)); }),
      });
  return table;
}

}  // namespace pellory::ui
