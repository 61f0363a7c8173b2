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

const shell::PropertyTable& CaptionLabel::Properties() {
  using shell::Property;
  using L = CaptionLabel;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<L>("Caption", [](L& l, V v) { l.SetCaption(shell::StringValue(v)); }),
          Property<L>("AutoSize", [](L& l, V v) { l.SetAutoSize(shell::BoolValue(v)); }),
          Property<L>("Transparent",
                      [](L& l, V v) { l.setAutoFillBackground(!shell::BoolValue(v)); }),
      });
  return table;
}

}  // namespace pellory::ui
