#include "pellory/ui/controls/caption_label.h"

#include <QFontMetrics>

#include "pellory/shell/stored_font.h"

namespace pellory::ui {

CaptionLabel::CaptionLabel(const shell::CreationContext& context)
    : QLabel(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setAutoFillBackground(true);
  setContentsMargins(0, 0, 0, 0);
  setIndent(0);
}

void CaptionLabel::SetCaption(const QString& caption) {
  setText(caption);
  FitToText();
}

void CaptionLabel::SetAutoSize(bool on) {
  autoSize_ = on;
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
  if (!autoSize_) return;
  const QFontMetrics metrics(font());
  resize(metrics.horizontalAdvance(text()), shell::TextHeight(font()));
}

void CaptionLabel::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("Caption"))
    SetCaption(shell::StringValue(value));
  else if (path == QLatin1String("AutoSize"))
    SetAutoSize(shell::BoolValue(value));
  else if (path == QLatin1String("Transparent"))
    setAutoFillBackground(!shell::BoolValue(value));
  else
    DescribedControl::SetStoredProperty(path, value);
}

}  // namespace pellory::ui
