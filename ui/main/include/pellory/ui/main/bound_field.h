// What a bound control stores about its field (the data source and the
// field name) and the field link through which it reads that field.
#pragma once

#include <QString>

#include "pellory/data/datalink.h"
#include "pellory/shell/property_table.h"

class QKeyEvent;

namespace pellory::data {
class TDataSource;
class TField;
}  // namespace pellory::data

namespace pellory::ui {

class BoundField {
 public:
  BoundField();
  virtual ~BoundField() = default;
  BoundField(const BoundField&) = delete;
  BoundField& operator=(const BoundField&) = delete;

  QString DataSource() const { return dataSource_; }
  void SetDataSource(const QString& name) { dataSource_ = name; }
  QString DataField() const { return dataField_; }
  void SetDataField(const QString& name) { dataField_ = name; }

  // Attaches the field link to `source` for the stored field name.
  void Bind(data::TDataSource* source, const QString& controlName);
  data::TFieldDataLink& DataLink() { return link_; }
  const data::TFieldDataLink& DataLink() const { return link_; }
  // The linked field, or nullptr while the cursor is closed or unbound.
  data::TField* Field() const { return link_.Field(); }

  // DataSource and DataField over the common control properties: the base
  // of every bound control's table.
  static const shell::PropertyTable& Properties();

 protected:
  // Asks the link to begin editing; on the read-only cursor always refused.
  bool EditRequest() { return link_.Edit(); }
  // Shows the field's value of the current record; nullptr: no field.
  virtual void ReadField(data::TField* field) = 0;
  void Reread() { ReadField(link_.Field()); }

 private:
  QString dataSource_;
  QString dataField_;
  data::TFieldDataLink link_;
};

// The field's value as the control shows it, in the program's text.
QString FieldText(const data::TField* field);

// Whether a key would change the text of an editable box: a printable
// character, Backspace, Delete, Shift+Insert, Ctrl+V or Ctrl+X.
bool KeyChangesText(const QKeyEvent& event);

}  // namespace pellory::ui
