#include "record_view_accessible.h"

#include <QAccessibleWidget>
#include <algorithm>

#include "pellory/shell/accessible_classes.h"
#include "pellory/ui/controls/caption_label.h"
#include "pellory/ui/controls/sample_description.h"
#include "pellory/ui/main/tdbedit.h"
#include "pellory/ui/main/tdbimage.h"
#include "pellory/ui/main/tdbmemo.h"
#include "pellory/ui/main/tdbnavigator.h"
#include "pellory/ui/main/tform2.h"

namespace pellory::ui {

namespace {

// The hidden buttons (the six editing kinds here) are not there for a
// user, so they are left out of the tree rather than marked invisible.
class NavigatorAccessible : public QAccessibleWidget {
 public:
  explicit NavigatorAccessible(TDBNavigator* navigator)
      : QAccessibleWidget(navigator, QAccessible::ToolBar) {}

  int childCount() const override { return int(Shown().size()); }
  QAccessibleInterface* child(int index) const override {
    const std::vector<TNavButton*> shown = Shown();
    if (index < 0 || index >= int(shown.size())) return nullptr;
    return QAccessible::queryAccessibleInterface(shown[size_t(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<TNavButton*> shown = Shown();
    for (size_t i = 0; i < shown.size(); ++i)
      if (child && child->object() == shown[i]) return int(i);
    return -1;
  }

 private:
  std::vector<TNavButton*> Shown() const {
    std::vector<TNavButton*> shown;
    const auto* navigator = static_cast<TDBNavigator*>(widget());
    for (int i = 0; i < kNavigateBtnCount; ++i) {
      TNavButton* button = navigator->Button(TNavigateBtn(i));
      if (!button->isHidden()) shown.push_back(button);
    }
    return shown;
  }
};

// An image named by its caption ("Sample:") and described as the sample
// of the record's font, or as "no picture".
class PictureBoxAccessible : public QAccessibleWidget, public QAccessibleImageInterface {
 public:
  explicit PictureBoxAccessible(TDBImage* box) : QAccessibleWidget(box, QAccessible::Graphic) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Description) return imageDescription();
    return QAccessibleWidget::text(t);
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ImageInterface) return static_cast<QAccessibleImageInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString imageDescription() const override {
    const auto* box = static_cast<TDBImage*>(widget());
    if (!box->PictureLoaded() || box->Picture().isNull()) return QStringLiteral("no picture");
    return SampleDescription(box->Field());
  }
  QSize imageSize() const override { return static_cast<TDBImage*>(widget())->Picture().size(); }
  QPoint imagePosition() const override {
    const auto* box = static_cast<TDBImage*>(widget());
    const QPoint client = box->ClientArea().topLeft() + box->PictureOffset();
    return box->mapToGlobal(client);
  }
};

}  // namespace

void InstallRecordViewAccessibility() {
  shell::RegisterAccessibleClasses({shell::AccessibleOf<TDBNavigator, NavigatorAccessible>(),
                                    shell::AccessibleOf<TDBImage, PictureBoxAccessible>()});
}

void CaptionRecordView(TForm2& window) {
  // Label to captioned control, as they stand side by side in the window.
  const std::pair<int, QWidget*> captions[] = {{1, window.DBEdit1()},
                                               {6, window.DBEdit2()},
                                               {3, window.DBImage1()},
                                               {2, window.DBMemo1()},
                                               {4, window.Label(5)}};
  for (const auto& [label, control] : captions)
    if (window.Label(label) && control) window.Label(label)->setBuddy(control);
  // A box without a caption is named by its field.
  const QList<QLabel*> labels = window.findChildren<QLabel*>();
  for (QWidget* box : window.findChildren<QWidget*>()) {
    const auto* bound = dynamic_cast<const BoundField*>(box);
    const bool captioned = std::any_of(labels.begin(), labels.end(),
                                       [box](const QLabel* l) { return l->buddy() == box; });
    if (bound && !captioned && box->accessibleName().isEmpty())
      box->setAccessibleName(bound->DataField());
  }
}

void AnnouncePicture(TDBImage& box) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(&box, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&event);
}

}  // namespace pellory::ui
