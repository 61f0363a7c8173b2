#include "about_accessible.h"

#include <QAccessibleWidget>

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

QAccessibleInterface* AboutBoxFactory(const QString&, QObject* object) {
  if (auto* image = qobject_cast<TImage*>(object)) return new ProgramIconAccessible(image);
  if (auto* panel = qobject_cast<TPanel*>(object))
    return new QAccessibleWidget(panel, QAccessible::Pane);
  return nullptr;
}

}  // namespace

void InstallAboutBoxAccessibility() {
  static const bool installed = (QAccessible::installFactory(&AboutBoxFactory), true);
  (void)installed;
}

}  // namespace pellory::ui
