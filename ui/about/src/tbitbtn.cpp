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

void TBitBtn::SetMargin(int margin) {
  margin_ = margin;
  update();
}

void TBitBtn::SetSpacing(int spacing) {
  spacing_ = spacing;
  update();
}

const shell::PropertyTable& TBitBtn::Properties() {
  using shell::Property;
  using B = TBitBtn;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<B>("Kind",
                      [](B& b, V v) {
                        const QString kind = shell::StringValue(v);
                        if (kind == QLatin1String("bkOK"))
                          b.SetKind(Kind::bkOK);
                        else if (kind == QLatin1String("bkCustom"))
                          b.SetKind(Kind::bkCustom);
                        else
                          throw shell::ShellError(QStringLiteral("Invalid property value"));
                      }),
          Property<B>("Caption", [](B& b, V v) { b.setText(shell::StringValue(v)); }),
          Property<B>("ModalResult", [](B& b, V v) { b.SetModalResult(shell::IntValue(v)); }),
          Property<B>("Default", [](B& b, V v) { b.SetDefault(shell::BoolValue(v)); }),
          Property<B>("Margin", [](B& b, V v) { b.SetMargin(shell::IntValue(v)); }),
          Property<B>("Spacing", [](B& b, V v) { b.SetSpacing(shell::IntValue(v)); }),
          shell::Event<B>("OnClick", [](B& b, shell::Handler h) { b.OnClick = std::move(h); }),
      });
  return table;
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
