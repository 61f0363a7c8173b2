#include "pellory/ui/grid/described_cursor.h"

#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"

namespace pellory::ui {

DescribedTable::DescribedTable(const shell::CreationContext& context) : QObject(context.window) {}

const shell::PropertyTable& DescribedTable::Properties() {
  using shell::Property;
  using T = DescribedTable;
  using V = const shell::StoredValue&;
  static const shell::PropertyTable table(
      nullptr,
      {
          Property<T>(
              "DatabaseName",
              [](T& t, V v) { t.table_.SetDatabaseName(shell::StringValue(v).toStdString()); }),
          Property<T>(
              "TableName",
              [](T& t, V v) { t.table_.SetTableName(shell::StringValue(v).toStdString()); }),
          Property<T>("ReadOnly", [](T& t, V v) { t.table_.SetReadOnly(shell::BoolValue(v)); }),
          Property<T>("ControlType",
                      [](T& t, V v) {
                        std::vector<std::string> entries;
                        for (const QString& entry : shell::StringListValue(v))
                          entries.push_back(entry.toStdString());
                        t.table_.SetControlType(std::move(entries));
                      }),
          Property<T>("SyncSQLByRange", [](T&, V v) { shell::BoolValue(v); }),
          Property<T>("NarrowSearch", [](T&, V v) { shell::BoolValue(v); }),
          Property<T>("ValidateWithMask", [](T&, V v) { shell::BoolValue(v); }),
      });
  return table;
}

void DescribedTable::NotifyLoaded() {
  table_.SetName(Name().toStdString());
}

DescribedDataSource::DescribedDataSource(const shell::CreationContext& context)
    : QObject(context.window), window_(context.window) {}

const shell::PropertyTable& DescribedDataSource::Properties() {
  using S = DescribedDataSource;
  static const shell::PropertyTable table(
      nullptr, {shell::Property<S>("DataSet", [](S& s, const shell::StoredValue& v) {
        s.dataSetName_ = shell::StringValue(v);
      })});
  return table;
}

void DescribedDataSource::NotifyLoaded() {
  if (dataSetName_.isEmpty()) return;
  auto* table = window_ ? window_->Component<DescribedTable>(dataSetName_) : nullptr;
  if (!table)
    throw shell::ShellError(QStringLiteral("%1: Component %2 not found").arg(Name(), dataSetName_));
  source_.SetDataSet(&table->Table());
}

}  // namespace pellory::ui
