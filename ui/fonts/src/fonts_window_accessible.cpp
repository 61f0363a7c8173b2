#include "fonts_window_accessible.h"

#include <QAccessibleWidget>
#include <QEvent>

#include "pellory/shell/accessible_classes.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/fonts/tform1.h"
#include "pellory/ui/fonts/tglfontlistbox.h"
#include "pellory/ui/fonts/tradiogroup.h"

namespace pellory::ui {

namespace {

QString WithoutAccessMark(QString text) {
  text.replace(QLatin1String("&&"), QLatin1String("\x01"));
  text.remove(QLatin1Char('&'));
  return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// The group draws its own frame and caption; a screen reader gets them as
// a grouping named by the caption.
class RadioGroupAccessible : public QAccessibleWidget {
 public:
  explicit RadioGroupAccessible(TRadioGroup* group)
      : QAccessibleWidget(group, QAccessible::Grouping) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
      return WithoutAccessMark(static_cast<TRadioGroup*>(widget())->Caption());
    return QAccessibleWidget::text(t);
  }
};

// Names the list once the window's components all exist.
class NameOnShow : public QObject {
 public:
  explicit NameOnShow(TForm1& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_ && event->type() == QEvent::Show) NameFontList(window_);
    return false;
  }

 private:
  TForm1& window_;
};

}  // namespace

void DescribeFontsWindow(TForm1& window) {
  shell::RegisterAccessibleClasses({shell::AccessibleOf<TRadioGroup, RadioGroupAccessible>()});
  new NameOnShow(window);
}

void NameFontList(TForm1& window) {
  TGLFontListBox* list = window.GLFontListBox1();
  TRadioGroup* group = window.RadioGroup1();
  if (!list || !group) return;
  const QStringList items = group->Items();
  const int index = group->ItemIndex();
  QString name = index >= 0 && index < items.size() ? WithoutAccessMark(items[index]) : QString();
  const QString count = window.Label1() ? window.Label1()->Caption() : QString();
  if (!count.isEmpty()) name += QStringLiteral(", ") + count;
  list->setAccessibleName(name);
}

}  // namespace pellory::ui
