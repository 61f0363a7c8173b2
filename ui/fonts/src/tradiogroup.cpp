#include "pellory/ui/fonts/tradiogroup.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>

#include "pellory/shell/stored_font.h"
#include "pellory/shell/stored_window.h"
#include "pellory/shell/system_colors.h"
#include "pellory/shell/tapplication.h"

namespace pellory::ui {

namespace {

// The letter after the single "&" of a caption, upper case; none without one.
QChar Accelerator(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return caption[i + 1].toUpper();
    ++i;
  }
  return {};
}

// Clicks anywhere on the button's rectangle count, not only on its circle
// and caption.
class GroupButton : public QRadioButton {
 public:
  GroupButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace

TRadioGroup::TRadioGroup(const shell::CreationContext& context)
    : QWidget(context.parentWidget),
      DescribedControl(this, context, Focus::TabStop),
      window_(context.window) {
  // The checked button takes the focus for the group.
  setFocusPolicy(Qt::TabFocus);
}

void TRadioGroup::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

QStringList TRadioGroup::Items() const {
  QStringList items;
  for (const QRadioButton* button : buttons_) items.append(button->text());
  return items;
}

void TRadioGroup::SetItems(const QStringList& items) {
  for (QRadioButton* button : buttons_) delete button;
  buttons_.clear();
  for (qsizetype i = 0; i < items.size(); ++i) {
    auto* button = new GroupButton(items[i], this);
    button->setObjectName(QStringLiteral("%1Button%2").arg(objectName()).arg(i));
    button->installEventFilter(this);
    connect(button, &QRadioButton::toggled, this,
            [this, i](bool checked) { Toggled(int(i), checked); });
    buttons_.push_back(button);
    button->show();
  }
  ArrangeButtons();
  const int recorded = itemIndex_;
  itemIndex_ = -1;
  Check(recorded < Count() ? recorded : -1);
}

QRadioButton* TRadioGroup::Button(int index) const {
  return index >= 0 && index < Count() ? buttons_[size_t(index)] : nullptr;
}

void TRadioGroup::SetItemIndex(int index) {
  if (window_ && window_->Creating()) {
    // While reading: remembered, and checked without a click.
    itemIndex_ = index;
    Check(index);
    return;
  }
  if (QRadioButton* button = Button(index)) {
    button->setChecked(true);  // A change runs OnClick through Toggled.
  } else if (itemIndex_ != -1) {
    Check(-1);
  }
}

void TRadioGroup::Check(int index) {
  for (int i = 0; i < Count(); ++i) {
    QRadioButton* button = buttons_[size_t(i)];
    const QSignalBlocker quiet(button);
    button->setAutoExclusive(false);
    button->setChecked(i == index);
    button->setAutoExclusive(true);
  }
  if (index >= 0 && index < Count()) itemIndex_ = index;
  for (int i = 0; i < Count(); ++i)
    buttons_[size_t(i)]->setFocusPolicy(i == itemIndex_ ? Qt::StrongFocus : Qt::ClickFocus);
  setFocusProxy(Button(itemIndex_));
}

void TRadioGroup::Toggled(int index, bool checked) {
  if (!checked) return;
  const bool changed = index != itemIndex_;
  Check(index);
  if (changed && OnClick) shell::RunGuarded(OnClick);
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  // Rows share what the caption leaves; the remainder is split above and below.
  const int n = Count();
  const int h = shell::TextHeight(font());
  const int free = height() - h - 5;
  const int rowHeight = free / n;
  int top = h + 1 + (free % n) / 2;
  for (QRadioButton* button : buttons_) {
    button->setGeometry(8, top, width() - 10, rowHeight);
    top += rowHeight;
  }
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ArrangeButtons();
}

void TRadioGroup::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) ArrangeButtons();
}

void TRadioGroup::paintEvent(QPaintEvent*) {
  using shell::SystemColor;
  QPainter painter(this);
  const int h = shell::TextHeight(font());
  // An etched frame: a shadow line with a highlight line inside it.
  const QRect frame(0, h / 2, width() - 1, height() - h / 2 - 1);
  painter.setPen(shell::ColorOf(SystemColor::BtnHighlight));
  painter.drawRect(frame.translated(1, 1).adjusted(0, 0, -1, -1));
  painter.setPen(shell::ColorOf(SystemColor::BtnShadow));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
  if (caption_.isEmpty()) return;
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine;
  const QRect text = painter.boundingRect(QRect(8, 0, width() - 16, h), flags, caption_);
  painter.fillRect(text, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(text, flags, caption_);
}

bool TRadioGroup::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  for (int i = 0; i < Count(); ++i)
    if (watched == buttons_[size_t(i)]) {
      if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
      return KeyOnButton(i, key->key());
    }
  return false;
}

bool TRadioGroup::KeyOnButton(int index, int key) {
  int target = -1;
  if (key == Qt::Key_Up || key == Qt::Key_Left) {
    target = (index + Count() - 1) % Count();
  } else if (key == Qt::Key_Down || key == Qt::Key_Right) {
    target = (index + 1) % Count();
  } else {
    // A choice's letter typed on the group checks that choice.
    for (int i = 0; i < Count() && target < 0; ++i) {
      const QChar letter = Accelerator(buttons_[size_t(i)]->text());
      if (!letter.isNull() && int(letter.unicode()) == key) target = i;
    }
  }
  if (target < 0) return false;
  QRadioButton* button = buttons_[size_t(target)];
  button->setFocus(Qt::TabFocusReason);
  button->setChecked(true);
  return true;
}

const shell::PropertyTable& TRadioGroup::Properties() {
  using G = TRadioGroup;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          shell::Property<G>("Caption", [](G& g, V v) { g.SetCaption(shell::StringValue(v)); }),
          shell::Property<G>("Items", [](G& g, V v) { g.SetItems(shell::StringListValue(v)); }),
          shell::Property<G>("ItemIndex", [](G& g, V v) { g.SetItemIndex(shell::IntValue(v)); }),
          shell::Event<G>("OnClick", [](G& g, shell::Handler h) { g.OnClick = std::move(h); }),
      });
  return table;
}

}  // namespace pellory::ui
