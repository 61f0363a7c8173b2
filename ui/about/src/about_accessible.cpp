#include "about_accessible.h"

#include <QAccessibleWidget>

#include "pellory/shell/accessible_classes.h"
#include "pellory/shell/tapplication.h"
#include "pellory/ui/about/timage.h"
#include "pellory/ui/about/tpanel.h"

namespace pellory::ui {

namespace {

// The image holds the program's icon, so it is named after the program.
class ProgramIconAccessible : public QAccessibleWidget {
 public:
  explicit ProgramIconAccessible(TImage* image) : QAccessibleWidget(image, QAccessible::Graphic) {}

  QString text(QAccessible::Text t) const override {
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && text.isEmpty() && shell::TApplication::Instance())
      text = shell::TApplication::Instance()->Title();
    return text;
  }
};

class PanelAccessible : public QAccessibleWidget {
 public:
  explicit PanelAccessible(TPanel* panel) : QAccessibleWidget(panel, QAccessible::Pane) {}
};

}  // namespace

void InstallAboutBoxAccessibility() {
  shell::RegisterAccessibleClasses({shell::AccessibleOf<TImage, ProgramIconAccessible>(),
                                    shell::AccessibleOf<TPanel, PanelAccessible>()});
}

}  // namespace pellory::ui
