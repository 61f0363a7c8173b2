#include "pellory/ui/controls/sample_description.h"

#include "pellory/data/catalogue.h"
#include "pellory/data/dataset.h"
#include "pellory/data/field.h"

namespace pellory::ui {

QString SampleDescription(const data::TField* picture) {
  const QString none = QStringLiteral("no picture");
  if (!picture || !picture->DataSet()) return none;
  try {
    if (picture->IsNull()) return none;
    const data::TField* name =
        picture->DataSet()->FindField(std::string(data::kCatalogueFields[0].name));
    if (!name) return QStringLiteral("Sample");
    return QStringLiteral("Sample of %1").arg(QString::fromStdString(name->DisplayText()));
  } catch (const std::exception&) {
    return none;  // a record that cannot be read has nothing to describe
  }
}

}  // namespace pellory::ui
