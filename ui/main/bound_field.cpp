#include "ui/main/bound_field.h"

namespace pellory::ui {

bool BoundField::SetBoundProperty(const QString& path, const app::StoredValue& value) {
  if (path == QLatin1String("DataSource"))
    dataSource_ = app::StringValue(value);
  else if (path == QLatin1String("DataField"))
    dataField_ = app::StringValue(value);
  else
    return false;
  return true;
}

}  // namespace pellory::ui
