#include "pellory/ui/about/tbitbtn.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/controls/resource_bitmap.h"

static void InitAboutGlyphResources() {
  Q_INIT_RESOURCE(about_glyphs);
}

namespace pellory::ui {

QImage OkGlyph() {
  InitAboutGlyphResources();
  return LoadResourceBitmap(QStringLiteral(":/glyphs/BBOK"));
}

TBitBtn::Layout TBitBtn::LayOut(QSize face, QSize glyph, int captionWidth, int margin,
                                int spacing) {
  const int free = face.width() - glyph.width() - captionWidth;
  if (margin < 0 && spacing < 0) margin = spacing = std::max(0, free / 3);
  if (margin < 0) margin = std::max(0, (free - spacing) / 2);
  const QPoint glyphAt(margin, (face.height() - glyph.height()) / 2);
  const int right = margin + glyph.width();
  QRect caption(right, 0, face.width() - right, face.height());
  if (spacing >= 0) caption = QRect(right + spacing, 0, captionWidth, face.height());
  return {glyphAt, caption};
}

TBitBtn::TBitBtn(const shell::CreationContext& context)
    : QPushButton(context.parentWidget),
      DescribedControl(this, context, Focus::TabStop),
      window_(context.window) {
  setAutoDefault(true);  // Enter presses the button that has the focus.
  connect(this, &QPushButton::clicked, this, [this] { Clicked(); });
}

void TBitBtn::SetKind(Kind kind) {
  kind_ = kind;
  if (kind != Kind::bkOK) return;
  setText(QStringLiteral("OK"));
  modalResult_ = 1;
  SetDefault(true);
  const QImage glyph = OkGlyph();
  normal_ = GlyphPart(glyph, 0, 2);
  disabled_ = GlyphPart(glyph, 1, 2);
  update();
}

void TBitBtn::SetDefault(bool on) {
  default_ = on;
  setDefault(on);
  // Enter reaches the window itself when no control takes it.
  if (window_ && on)
    window_->installEventFilter(this);
  else if (window_)
    window_->removeEventFilter(this);
}

bool TBitBtn::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::KeyPress && isEnabled() && isVisible()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      click();
      return true;
    }
  }
  return QPushButton::eventFilter(watched, event);
}

void TBitBtn::Clicked() {
  if (modalResult_ != 0 && window_) window_->SetModalResult(modalResult_);
  if (OnClick) shell::RunGuarded(OnClick);
}

void TBitBtn::FontChanged() {
  DescribedControl::FontChanged();
  QPalette pal = palette();
  pal.setColor(QPalette::Active, QPalette::ButtonText, Font().color);
  pal.setColor(QPalette::Inactive, QPalette::ButtonText, Font().color);
  setPalette(pal);
}

void TBitBtn::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("Kind")) {
    const QString kind = shell::StringValue(value);
    if (kind == QLatin1String("bkOK"))
      SetKind(Kind::bkOK);
    else if (kind == QLatin1String("bkCustom"))
      SetKind(Kind::bkCustom);
    else
      throw shell::ShellError(QStringLiteral("Invalid property value"));
  } else if (path == QLatin1String("Caption")) {
    setText(shell::StringValue(value));
  } else if (path == QLatin1String("ModalResult")) {
    modalResult_ = shell::IntValue(value);
  } else if (path == QLatin1String("Default")) {
    SetDefault(shell::BoolValue(value));
  } else if (path == QLatin1String("Margin")) {
    margin_ = shell::IntValue(value);
  } else if (path == QLatin1String("Spacing")) {
    spacing_ = shell::IntValue(value);
  } else if (path == QLatin1String("OnClick")) {
    OnClick = window_->FindHandler(shell::HandlerValue(value));
  } else {
    DescribedControl::SetStoredProperty(path, value);
    return;
  }
  update();
}

TBitBtn::Layout TBitBtn::CurrentLayout() const {
  return LayOut(size(), normal_.size(), fontMetrics().horizontalAdvance(text()), margin_, spacing_);
}

void TBitBtn::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  p.drawControl(QStyle::CE_PushButtonBevel, option);
  Layout layout = CurrentLayout();
  if (isDown()) {  // The face's content moves with the pressed face.
    layout.glyph += QPoint(1, 1);
    layout.caption.translate(1, 1);
  }
  const QImage& glyph = isEnabled() || disabled_.isNull() ? normal_ : disabled_;
  if (!glyph.isNull()) p.drawImage(layout.glyph, glyph);
  p.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  p.drawText(layout.caption, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

}  // namespace pellory::ui
