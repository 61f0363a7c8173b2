#include "ui/main/tdbnavigator.h"

#include <QEvent>

#include "app/shell_error.h"
#include "ui/common/system_colors.h"

namespace pellory::ui {

namespace {

constexpr const char* kKindNames[kNavigateBtnCount] = {"nbFirst",  "nbPrior",  "nbNext", "nbLast",
                                                       "nbInsert", "nbDelete", "nbEdit", "nbPost",
                                                       "nbCancel", "nbRefresh"};

// The control's own texts, replaced by the non-empty entries of Hints.
constexpr const char* kDefaultHints[kNavigateBtnCount] = {
    "First record",  "Prior record", "Next record", "Last record", "Insert record",
    "Delete record", "Edit record",  "Post edit",   "Cancel edit", "Refresh data"};

TNavigateBtn KindNamed(const QString& name) {
  for (int i = 0; i < kNavigateBtnCount; ++i)
    if (name == QLatin1String(kKindNames[i])) return TNavigateBtn(i);
  throw app::ShellError(QStringLiteral("Invalid property value"));
}

}  // namespace

TDBNavigator::TDBNavigator(const app::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  setAutoFillBackground(true);
  setPalette(ControlPalette(SystemColor::BtnFace));
  for (int i = 0; i < kNavigateBtnCount; ++i) {
    buttons_[size_t(i)] = new TNavButton(TNavigateBtn(i), this);
    buttons_[size_t(i)]->setObjectName(QLatin1String(kKindNames[i]));
    visible_.insert(TNavigateBtn(i));
  }
  ApplyHints();
}

void TDBNavigator::SetVisibleButtons(const std::set<TNavigateBtn>& kinds) {
  visible_ = kinds;
  Layout();
}

void TDBNavigator::SetHints(const QStringList& hints) {
  hints_ = hints;
  ApplyHints();
}

void TDBNavigator::ApplyHints() {
  for (int i = 0; i < kNavigateBtnCount; ++i) {
    const QString own = i < hints_.size() ? hints_[i] : QString();
    buttons_[size_t(i)]->setToolTip(own.isEmpty() ? QLatin1String(kDefaultHints[i]) : own);
  }
}

void TDBNavigator::Layout() {
  if (laying_) return;
  laying_ = true;
  const int n = std::max<int>(1, int(visible_.size()));
  const int w = std::max(width(), n * kMinButtonWidth);
  const int h = std::max(height(), kMinButtonHeight);
  const int buttonWidth = w / n;
  // Not aligned, so the navigator trims itself to a whole number of buttons.
  resize(n * buttonWidth, h);
  int left = 0;
  for (TNavButton* button : buttons_) {
    if (visible_.count(button->Kind())) {
      button->setGeometry(left, 0, buttonWidth, h);
      button->show();
      left += buttonWidth;
    } else {
      button->setGeometry(width() + 1, 0, buttonWidth, h);
      button->hide();
    }
  }
  laying_ = false;
}

void TDBNavigator::UpdateButtons() {
  // No cursor is attached yet, so every button is disabled.
  for (TNavButton* button : buttons_) button->setEnabled(false);
}

void TDBNavigator::SetStoredProperty(const QString& path, const app::StoredValue& value) {
  if (path == QLatin1String("DataSource")) {
    dataSource_ = app::StringValue(value);
  } else if (path == QLatin1String("VisibleButtons")) {
    std::set<TNavigateBtn> kinds;
    for (const QString& name : app::StringListValue(value)) kinds.insert(KindNamed(name));
    SetVisibleButtons(kinds);
  } else if (path == QLatin1String("Hints")) {
    SetHints(app::StringListValue(value));
  } else if (path == QLatin1String("Flat")) {
    flat_ = app::BoolValue(value);
    for (TNavButton* button : buttons_) button->setAutoRaise(flat_);
  } else {
    DescribedControl::SetStoredProperty(path, value);
  }
}

void TDBNavigator::NotifyLoaded() {
  Layout();
  UpdateButtons();
}

void TDBNavigator::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void TDBNavigator::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) UpdateButtons();
}

}  // namespace pellory::ui
