// The base of every window of the program: built from its stored
// description, shown centred the first time, run modally, closed and
// released as the shell prescribes.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <vector>

#include "pellory/shell/described_component.h"
#include "pellory/shell/stored_font.h"

class QEventLoop;
class QScrollArea;

namespace pellory::shell {

class StoredWindow : public QMainWindow, public DescribedComponent {
  Q_OBJECT
 public:
  enum class CloseAction { None, Hide, Free, Minimize };
  enum class Placement { Designed, ScreenCenter };
  enum class Border { Sizeable, Dialog };

  explicit StoredWindow(QWidget* parent = nullptr);
  ~StoredWindow() override;

  // The class name under which the stored description is registered.
  virtual QString ClassName() const = 0;

  // Reads the stored description, sends the loaded notifications, then runs
  // OnCreate (whose error goes to the error display). Raises when the
  // description is missing or a property cannot be read.
  void Construct();

  std::function<void()> OnCreate;
  std::function<void(bool& canClose)> OnCloseQuery;
  std::function<void(CloseAction& action)> OnClose;

  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result);
  bool Creating() const { return creating_; }
  bool Modal() const { return modal_; }
  int HelpContext() const override { return helpContext_; }
  const StoredFont& Font() const { return font_; }
  // The outer size the description asks for, frame and menu bar included,
  // scaled for the screen (screen_scaling.h).
  QSize OuterSize() const { return outerSize_; }
  // The client size the description asks for; invalid when it gives none.
  QSize ClientSize() const { return clientSize_; }
  Border BorderStyle() const { return border_; }
  // The resolution the description was made for and the text height of its
  // font there; 0 when not stored.
  int PixelsPerInch() const { return pixelsPerInch_; }
  int TextHeight() const { return textHeight_; }

  // Runs the window modally and answers its ModalResult.
  int ShowModal();
  void Close();
  // Destroys the window once the event loop next takes the release.
  void Release();

  // The widget the controls sit on, inside the scroll area.
  QWidget* Client() const { return client_; }
  DescribedComponent* FindComponent(const QString& name) const;
  template <class T>
  T* Component(const QString& name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  // Raises when the window has no handler of that name.
  std::function<void()> FindHandler(const QString& name) const;
  bool HasHandler(const QString& name) const { return handlers_.count(name) != 0; }

  // Caption, Left, Top, Width, Height, Color, Menu, Position, HelpContext,
  // OnCreate, Visible, Font.*, PixelsPerInch, TextHeight, OldCreateOrder.
  static const PropertyTable& Properties();
  const PropertyTable& StoredProperties() const override { return Properties(); }
  QObject* Object() override { return this; }

  // Used while reading: the component becomes findable by its name.
  void AddComponent(DescribedComponent* component);

 protected:
  void RegisterHandler(const QString& name, std::function<void()> handler);
  void setVisible(bool visible) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // F1 that no shortcut and no control took: help on the focused control.
  void keyPressEvent(QKeyEvent* event) override;
  // F1 on an open menu: help on its highlighted item.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The resolution of the screen the window is built for: Qt's logical
  // resolution of its screen.
  virtual int ScreenPixelsPerInch() const;

 private:
  void SetPosition(const QString& position);
  void SetClientExtent(Qt::Orientation which, int extent);
  void SetBorderStyle(const QString& style);
  void FinishReading();
  void ArrangeTabOrder();
  void FitOuterSize();
  void ApplyBorder();
  void ScaleToScreen(const std::vector<DescribedComponent*>& loaded);
  void CentreOnScreen();
  int RunModalLoop();
  void WatchMenusForHelp();
  void RequestMenuHelp(QWidget* menu);

  QScrollArea* scroll_ = nullptr;
  QWidget* client_ = nullptr;
  QPointer<QWidget> firstTabStop_;
  QPointer<QWidget> activeControl_;
  StoredFont font_;
  QSize outerSize_{320, 240};
  QSize clientSize_;
  Border border_ = Border::Sizeable;
  QString menuName_;
  QString activeControlName_;
  Placement placement_ = Placement::Designed;
  int helpContext_ = 0;
  int pixelsPerInch_ = 0;
  int textHeight_ = 0;
  int modalResult_ = 0;
  bool creating_ = false;
  bool visibleRequested_ = false;
  bool placed_ = false;
  bool shownOnce_ = false;
  bool modal_ = false;
  QEventLoop* modalLoop_ = nullptr;
  struct Entry {
    QPointer<QObject> object;  // Null once a half-read component is gone.
    DescribedComponent* component;
  };
  std::vector<Entry> components_;
  std::map<QString, std::function<void()>> handlers_;
};

}  // namespace pellory::shell
