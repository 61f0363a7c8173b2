#include "pellory/shell/stored_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <algorithm>

#include "description_reader.h"
#include "pellory/shell/described_control.h"
#include "pellory/shell/description_registry.h"
#include "pellory/shell/hint_controller.h"
#include "pellory/shell/shell_error.h"
#include "pellory/shell/system_colors.h"
#include "pellory/shell/window_host.h"

namespace pellory::shell {

StoredWindow::StoredWindow(QWidget* parent)
    : QMainWindow(parent), scroll_(new QScrollArea(this)), client_(new QWidget) {
  // Controls keep their place when the window is resized; the scroll area
  // shows scroll bars once the window is smaller than what they cover.
  scroll_->setObjectName(QStringLiteral("clientScroll"));
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(false);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  client_->setObjectName(QStringLiteral("client"));
  scroll_->setWidget(client_);
  setCentralWidget(scroll_);
  setPalette(ControlPalette(SystemColor::BtnFace));
  setFont(font_.ToQFont());
  resize(outerSize_);
}

StoredWindow::~StoredWindow() = default;

void StoredWindow::Construct() {
  creating_ = true;
  const WindowDescription& description = DescriptionRegistry::Find(ClassName());
  std::vector<DescribedComponent*> loaded = DescriptionReader(*this).Read(description);
  ScaleToScreen(loaded);
  for (DescribedComponent* component : loaded) component->NotifyLoaded();
  FinishReading();
  creating_ = false;
  if (OnCreate) RunGuarded(OnCreate);
  if (visibleRequested_) {
    visibleRequested_ = false;
    show();
  }
}

void StoredWindow::FinishReading() {
  if (!menuName_.isEmpty()) {
    DescribedComponent* menu = FindComponent(menuName_);
    auto* bar = menu ? qobject_cast<QMenuBar*>(menu->Object()) : nullptr;
    if (!bar) throw DescriptionReadError(QStringLiteral("Menu %1 not found").arg(menuName_));
    setMenuBar(bar);
    WatchMenusForHelp();
  }
  if (!activeControlName_.isEmpty()) {
    DescribedComponent* control = FindComponent(activeControlName_);
    activeControl_ = control ? qobject_cast<QWidget*>(control->Object()) : nullptr;
    if (!activeControl_)
      throw DescriptionReadError(QStringLiteral("Control %1 not found").arg(activeControlName_));
  }
  QRect covered;
  for (QWidget* child : client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    covered |= child->geometry();
  client_->setFixedSize(covered.right() + 1, covered.bottom() + 1);
  client_->setAutoFillBackground(true);
  ArrangeTabOrder();
  FitOuterSize();
}

void StoredWindow::ArrangeTabOrder() {
  std::vector<DescribedControl*> controls;
  for (const Entry& entry : components_)
    if (auto* control = dynamic_cast<DescribedControl*>(entry.component);
        entry.object && control && control->TabOrder() >= 0)
      controls.push_back(control);
  std::stable_sort(controls.begin(), controls.end(),
                   [](auto* a, auto* b) { return a->TabOrder() < b->TabOrder(); });
  QWidget* previous = nullptr;
  for (DescribedControl* control : controls) {
    auto* widget = static_cast<QWidget*>(control->Object());
    if (widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous) setTabOrder(previous, widget);
    if (!previous) firstTabStop_ = widget;
    previous = widget;
  }
}

void StoredWindow::FitOuterSize() {
  QSize size;
  if (clientSize_.isValid()) {
    // A stored client size is the area below the menu bar.
    size = clientSize_ + QSize(0, menuWidget() ? menuWidget()->sizeHint().height() : 0);
  } else {
    // The stored size is the outer one; the client shrinks by whatever frame
    // the platform reports (none before the window is shown, none offscreen).
    size = outerSize_ - (frameGeometry().size() - geometry().size());
  }
  if (border_ == Border::Dialog)
    setFixedSize(size);
  else
    resize(size);
}

void StoredWindow::ApplyBorder() {
  // A dialog border: a close box but no minimise or maximise box, and the
  // size cannot change (FitOuterSize fixes it).
  if (border_ == Border::Dialog)
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
  else
    setWindowFlags(Qt::Window);
  FitOuterSize();
}

void StoredWindow::SetModalResult(int result) {
  modalResult_ = result;
  if (result != 0 && modalLoop_) modalLoop_->quit();
}

DescribedComponent* StoredWindow::FindComponent(const QString& name) const {
  for (const Entry& entry : components_)
    if (entry.object && entry.component->Name().compare(name, Qt::CaseInsensitive) == 0)
      return entry.component;
  return nullptr;
}

void StoredWindow::AddComponent(DescribedComponent* component) {
  components_.push_back({component->Object(), component});
}

void StoredWindow::RegisterHandler(const QString& name, std::function<void()> handler) {
  handlers_[name] = std::move(handler);
}

std::function<void()> StoredWindow::FindHandler(const QString& name) const {
  const auto it = handlers_.find(name);
  if (it == handlers_.end())
    throw ShellError(QStringLiteral("Invalid property value %1").arg(name));
  return it->second;
}

void StoredWindow::SetPosition(const QString& position) {
  if (position != QLatin1String("poScreenCenter") && position != QLatin1String("poDesigned"))
    throw ShellError(QStringLiteral("Invalid property value"));
  placement_ =
      position == QLatin1String("poScreenCenter") ? Placement::ScreenCenter : Placement::Designed;
}

void StoredWindow::SetClientExtent(Qt::Orientation which, int extent) {
  if (!clientSize_.isValid()) clientSize_ = size();
  if (which == Qt::Horizontal)
    clientSize_.setWidth(extent);
  else
    clientSize_.setHeight(extent);
  FitOuterSize();
}

void StoredWindow::SetBorderStyle(const QString& style) {
  if (style != QLatin1String("bsDialog") && style != QLatin1String("bsSizeable"))
    throw ShellError(QStringLiteral("Invalid property value"));
  border_ = style == QLatin1String("bsDialog") ? Border::Dialog : Border::Sizeable;
  ApplyBorder();
}

const PropertyTable& StoredWindow::Properties() {
  using W = StoredWindow;
  using V = const StoredValue&;
  static const PropertyTable table(
      nullptr,
      {
          Property<W>("Font.Name",
                      [](W& w, V v) {
                        w.font_.name = StringValue(v);
                        w.setFont(w.font_.ToQFont());
                      }),
          Property<W>("Font.Height",
                      [](W& w, V v) {
                        w.font_.height = IntValue(v);
                        w.setFont(w.font_.ToQFont());
                      }),
          Property<W>("Font.Color",
                      [](W& w, V v) {
                        w.font_.color = StoredColor(StringValue(v));
                        w.setFont(w.font_.ToQFont());
                      }),
          Property<W>("Font.Style",
                      [](W& w, V v) {
                        w.font_.style = IntValue(v);
                        w.setFont(w.font_.ToQFont());
                      }),
          // Only the default character set exists here.
          Property<W>("Font.Charset", [](W& w, V) { w.setFont(w.font_.ToQFont()); }),
          Property<W>("Caption", [](W& w, V v) { w.setWindowTitle(StringValue(v)); }),
          Property<W>("Left", [](W& w, V v) { w.move(IntValue(v), w.y()); }),
          Property<W>("Top", [](W& w, V v) { w.move(w.x(), IntValue(v)); }),
          Property<W>("Width",
                      [](W& w, V v) {
                        w.outerSize_.setWidth(IntValue(v));
                        w.FitOuterSize();
                      }),
          Property<W>("Height",
                      [](W& w, V v) {
                        w.outerSize_.setHeight(IntValue(v));
                        w.FitOuterSize();
                      }),
          Property<W>("ClientWidth",
                      [](W& w, V v) { w.SetClientExtent(Qt::Horizontal, IntValue(v)); }),
          Property<W>("ClientHeight",
                      [](W& w, V v) { w.SetClientExtent(Qt::Vertical, IntValue(v)); }),
          Property<W>("BorderStyle", [](W& w, V v) { w.SetBorderStyle(StringValue(v)); }),
          // Found once every component exists.
          Property<W>("ActiveControl", [](W& w, V v) { w.activeControlName_ = StringValue(v); }),
          Property<W>("Color",
                      [](W& w, V v) {
                        QPalette pal = w.palette();
                        pal.setColor(QPalette::Window, StoredColor(StringValue(v)));
                        w.setPalette(pal);
                      }),
          Property<W>("Menu", [](W& w, V v) { w.menuName_ = StringValue(v); }),
          Property<W>("Position", [](W& w, V v) { w.SetPosition(StringValue(v)); }),
          Property<W>("HelpContext", [](W& w, V v) { w.helpContext_ = IntValue(v); }),
          Property<W>("ShowHint", [](W& w, V v) { HintController::SetShowHint(&w, BoolValue(v)); }),
          Event<W>("OnCreate", [](W& w, Handler h) { w.OnCreate = std::move(h); }),
          Property<W>("Visible", [](W& w, V v) { w.setVisible(BoolValue(v)); }),
          Property<W>("PixelsPerInch", [](W& w, V v) { w.pixelsPerInch_ = IntValue(v); }),
          Property<W>("TextHeight", [](W& w, V v) { w.textHeight_ = IntValue(v); }),
          // The creation handler always runs at the end of construction.
          Property<W>("OldCreateOrder", [](W&, V v) { BoolValue(v); }),
      });
  return table;
}

void StoredWindow::setVisible(bool visible) {
  if (visible && creating_) {
    visibleRequested_ = true;  // Shown once construction has finished.
    return;
  }
  if (visible && !placed_ && !isVisible()) {
    placed_ = true;
    if (placement_ == Placement::ScreenCenter) CentreOnScreen();
  }
  QMainWindow::setVisible(visible);
}

void StoredWindow::CentreOnScreen() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize area = screen->geometry().size();
  const QSize outer = frameGeometry().size();
  move(screen->geometry().left() + std::max(0, (area.width() - outer.width()) / 2),
       screen->geometry().top() + std::max(0, (area.height() - outer.height()) / 2));
}

void StoredWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    FitOuterSize();  // The platform may only now report the frame.
    // The active control, else the first tab stop, gets the focus as if
    // reached by Tab, which selects a text box's whole text.
    QWidget* first = activeControl_ ? activeControl_.data() : firstTabStop_.data();
    if (!focusWidget() && first && first->isEnabled()) first->setFocus(Qt::TabFocusReason);
  }
}

void StoredWindow::closeEvent(QCloseEvent* event) {
  // The close box goes the same way as a close command.
  event->ignore();
  RunGuarded([this] { Close(); });
}

void StoredWindow::Close() {
  if (modal_) {
    SetModalResult(2);
    return;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  if (!canClose) return;
  CloseAction action = CloseAction::Hide;
  if (OnClose) OnClose(action);
  if (action == CloseAction::None) return;
  WindowHost* host = WindowHost::Current();
  if (host && host->MainForm() == this) {
    host->Terminate();
  } else if (action == CloseAction::Free) {
    Release();
  } else if (action == CloseAction::Minimize) {
    showMinimized();
  } else {
    hide();
  }
}

void StoredWindow::Release() {
  if (WindowHost* host = WindowHost::Current())
    host->PostRelease(this);
  else
    deleteLater();
}

}  // namespace pellory::shell
