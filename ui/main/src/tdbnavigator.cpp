#include "pellory/ui/main/tdbnavigator.h"

#include <QEvent>

#include "pellory/data/datalink.h"
#include "pellory/data/dataset.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/system_colors.h"
#include "pellory/shell/tapplication.h"

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
  throw shell::ShellError(QStringLiteral("Invalid property value"));
}

}  // namespace

// The navigator's view of its cursor: every notification re-evaluates the
// buttons.
class NavigatorLink : public data::TDataLink {
 public:
  explicit NavigatorLink(TDBNavigator& navigator) : navigator_(navigator) {}

 protected:
  void HandleActiveState() override { navigator_.UpdateButtons(); }
  void HandleDataChange() override { navigator_.UpdateButtons(); }

 private:
  TDBNavigator& navigator_;
};

TDBNavigator::TDBNavigator(const shell::CreationContext& context)
    : QWidget(context.parentWidget), DescribedControl(this, context, Focus::NoTabStop) {
  setAutoFillBackground(true);
  setPalette(shell::ControlPalette(shell::SystemColor::BtnFace));
  for (int i = 0; i < kNavigateBtnCount; ++i) {
    buttons_[size_t(i)] = new TNavButton(TNavigateBtn(i), this);
    buttons_[size_t(i)]->setObjectName(QLatin1String(kKindNames[i]));
    visible_.insert(TNavigateBtn(i));
    TNavButton* button = buttons_[size_t(i)];
    connect(button, &QAbstractButton::clicked, this, [this, button] {
      shell::RunGuarded([this, button] {
        try {
          BtnClick(button->Kind());
        } catch (...) {
          button->CancelPress();  // a failed step ends the repeat
          throw;
        }
      });
    });
  }
  link_ = std::make_unique<NavigatorLink>(*this);
  ApplyHints();
}

TDBNavigator::~TDBNavigator() = default;

void TDBNavigator::Bind(data::TDataSource* source) {
  link_->SetDataSource(source);
  UpdateButtons();
}

void TDBNavigator::BtnClick(TNavigateBtn kind) {
  data::TDataSet* cursor = link_->DataSet();
  if (!cursor || !cursor->Active()) return;
  switch (kind) {
    case TNavigateBtn::nbFirst:
      cursor->First();
      break;
    case TNavigateBtn::nbPrior:
      cursor->Prior();
      break;
    case TNavigateBtn::nbNext:
      cursor->Next();
      break;
    case TNavigateBtn::nbLast:
      cursor->Last();
      break;
    default:
      break;
  }
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
    TNavButton* button = buttons_[size_t(i)];
    button->setToolTip(own.isEmpty() ? QLatin1String(kDefaultHints[i]) : own);
    button->setAccessibleName(button->toolTip());  // a screen reader says the hint
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
  const data::TDataSet* cursor = link_ ? link_->DataSet() : nullptr;
  const bool active = isEnabled() && link_ && link_->Active() && cursor;
  for (TNavButton* button : buttons_) {
    bool enabled = false;
    if (active) {
      switch (button->Kind()) {
        case TNavigateBtn::nbFirst:
        case TNavigateBtn::nbPrior:
          enabled = !cursor->Bof();
          break;
        case TNavigateBtn::nbNext:
        case TNavigateBtn::nbLast:
          enabled = !cursor->Eof();
          break;
        default:
          break;
      }
    }
    button->setEnabled(enabled);
  }
}

const shell::PropertyTable& TDBNavigator::Properties() {
  using shell::Property;
  using N = TDBNavigator;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      &DescribedControl::Properties(),
      {
          Property<N>("DataSource", [](N& n, V v) { n.dataSource_ = shell::StringValue(v); }),
          Property<N>("VisibleButtons",
                      [](N& n, V v) {
                        std::set<TNavigateBtn> kinds;
                        for (const QString& name : shell::StringListValue(v))
                          kinds.insert(KindNamed(name));
                        n.SetVisibleButtons(kinds);
                      }),
          Property<N>("Hints", [](N& n, V v) { n.SetHints(shell::StringListValue(v)); }),
          Property<N>("Flat",
                      [](N& n, V v) {
                        n.flat_ = shell::BoolValue(v);
                        for (TNavButton* button : n.buttons_) button->setAutoRaise(n.flat_);
                      }),
      });
  return table;
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
