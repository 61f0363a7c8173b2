// What a bound control stores about its field: the data source and the
// field name. The field link that reads the field attaches to these once
// the catalogue layer provides data sources; until then the control shows
// its construction state.
#pragma once

#include <QString>

#include "app/window_description.h"

namespace pellory::ui {

class BoundField {
 public:
  QString DataSource() const { return dataSource_; }
  void SetDataSource(const QString& name) { dataSource_ = name; }
  QString DataField() const { return dataField_; }
  void SetDataField(const QString& name) { dataField_ = name; }

 protected:
  // Takes DataSource and DataField; answers whether `path` was one of them.
  bool SetBoundProperty(const QString& path, const app::StoredValue& value);

 private:
  QString dataSource_;
  QString dataField_;
};

}  // namespace pellory::ui
