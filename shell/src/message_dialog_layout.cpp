// The message dialog's layout rules: every distance is a fraction of the
// font's average character width (cx) or height (cy), rounded to the
// nearest pixel.
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "pellory/shell/message_dialog.h"
#include "pellory/shell/stored_font.h"

namespace pellory::shell {

namespace {

// Leading and trailing blanks would count towards a caption's width.
constexpr int kCaptionPadding = 8;

int Units(double numerator, double unit, double denominator) {
  return int(std::lround(numerator * unit / denominator));
}

}  // namespace

QFont MessageDialogFont() {
  // The classic message-box font, 8 points at 96 dots per inch.
  StoredFont font;
  font.name = QStringLiteral("MS Sans Serif");
  font.height = -11;
  return font.ToQFont();
}

QString MessageDialogCaption(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error:
      return QObject::tr("Error");
  }
  return {};
}

MessageDialogLayout LayOutMessageDialog(const QFont& font, const QString& text,
                                        const QStringList& buttonCaptions, int screenWidth) {
  const QFontMetrics metrics(font);
  MessageDialogLayout l;
  l.cx = metrics.horizontalAdvance(
             QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
         52.0;
  l.cy = TextHeight(font);
  l.horizontalMargin = Units(8, l.cx, 4);
  l.verticalMargin = Units(8, l.cy, 8);
  l.horizontalSpacing = Units(10, l.cx, 4);
  l.verticalSpacing = Units(10, l.cy, 8);
  l.buttonHeight = Units(14, l.cy, 8);
  l.buttonSpacing = Units(4, l.cx, 4);
  int widestCaption = 0;
  for (const QString& caption : buttonCaptions)
    widestCaption = std::max(widestCaption, metrics.horizontalAdvance(caption));
  l.buttonWidth = std::max(Units(50, l.cx, 4), widestCaption + kCaptionPadding);

  const QRect wrapped =
      metrics.boundingRect(QRect(0, 0, screenWidth / 2, 0), Qt::AlignLeft | Qt::TextWordWrap, text);
  l.icon = QRect(l.horizontalMargin, l.verticalMargin, kMessageIconSize, kMessageIconSize);
  l.text = QRect(l.icon.right() + 1 + l.horizontalSpacing, l.verticalMargin, wrapped.width(),
                 std::max(wrapped.height(), kMessageIconSize));

  const int count = int(buttonCaptions.size());
  const int rowWidth = count * l.buttonWidth + std::max(0, count - 1) * l.buttonSpacing;
  const int iconAndText = kMessageIconSize + l.horizontalSpacing + l.text.width();
  l.client = QSize(std::max(iconAndText, rowWidth) + 2 * l.horizontalMargin,
                   l.text.height() + l.verticalSpacing + l.buttonHeight + 2 * l.verticalMargin);
  const int rowLeft = (l.client.width() - rowWidth) / 2;
  const int rowTop = l.text.bottom() + 1 + l.verticalSpacing;
  for (int i = 0; i < count; ++i)
    l.buttons.emplace_back(rowLeft + i * (l.buttonWidth + l.buttonSpacing), rowTop, l.buttonWidth,
                           l.buttonHeight);
  return l;
}

}  // namespace pellory::shell
