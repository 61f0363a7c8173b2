// A stored window's cursor and data source as described components: the
// cursor's table, read-only flag and control-type list come from the
// window's description, and the data source finds its cursor by name once
// the whole description has been read.
#pragma once

#include <QObject>

#include "pellory/data/datasource.h"
#include "pellory/data/table.h"
#include "pellory/shell/described_component.h"

namespace pellory::ui {

class DescribedTable : public QObject, public shell::DescribedComponent {
  Q_OBJECT
 public:
  explicit DescribedTable(const shell::CreationContext& context);

  data::TwwTable& Table() { return table_; }

  // DatabaseName, TableName, ReadOnly, ControlType, and the search and
  // validation settings SyncSQLByRange, NarrowSearch and ValidateWithMask,
  // which a cursor that is only browsed does not use.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  // The cursor takes the component's name, which its errors begin with.
  void NotifyLoaded() override;
  QObject* Object() override { return this; }

 private:
  data::TwwTable table_;
};

class DescribedDataSource : public QObject, public shell::DescribedComponent {
  Q_OBJECT
 public:
  explicit DescribedDataSource(const shell::CreationContext& context);

  data::TwwDataSource& Source() { return source_; }

  // DataSet: the name of the window's cursor.
  static const shell::PropertyTable& Properties();
  const shell::PropertyTable& StoredProperties() const override { return Properties(); }
  void NotifyLoaded() override;
  QObject* Object() override { return this; }

 private:
  data::TwwDataSource source_;
  shell::StoredWindow* window_;
  QString dataSetName_;
};

}  // namespace pellory::ui
