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

void CaptionLabel::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("Caption"))
    SetCaption(shell::StringValue(value));
  else if (path == QLatin1String("AutoSize"))
    SetAutoSize(shell::BoolValue(value));
  else if (path == QLatin1String("WordWrap"))
    SetWordWrap(shell::BoolValue(value));
  else if (path == QLatin1String("Transparent"))
    setAutoFillBackground(!shell::BoolValue(value));
  else
    DescribedControl::SetStoredProperty(path, value);
}

}  // namespace pellory::ui
