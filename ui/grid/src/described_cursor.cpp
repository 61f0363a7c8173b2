#include "pellory/ui/grid/described_cursor.h"

#include "pellory/shell/shell_error.h"
#include "pellory/shell/stored_window.h"

namespace pellory::ui {

DescribedTable::DescribedTable(const shell::CreationContext& context) : QObject(context.window) {}

void DescribedTable::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("DatabaseName")) {
    table_.SetDatabaseName(shell::StringValue(value).toStdString());
  } else if (path == QLatin1String("TableName")) {
    table_.SetTableName(shell::StringValue(value).toStdString());
  } else if (path == QLatin1String("ReadOnly")) {
    table_.SetReadOnly(shell::BoolValue(value));
  } else if (path == QLatin1String("ControlType")) {
    std::vector<std::string> entries;
    for (const QString& entry : shell::StringListValue(value))
      entries.push_back(entry.toStdString());
    table_.SetControlType(std::move(entries));
  } else if (path == QLatin1String("SyncSQLByRange") || path == QLatin1String("NarrowSearch") ||
             path == QLatin1String("ValidateWithMask")) {
    shell::BoolValue(value);
  } else {
    UnknownProperty(path);
  }
}

void DescribedTable::NotifyLoaded() {
  table_.SetName(Name().toStdString());
}

DescribedDataSource::DescribedDataSource(const shell::CreationContext& context)
    : QObject(context.window), window_(context.window) {}

void DescribedDataSource::SetStoredProperty(const QString& path, const shell::StoredValue& value) {
  if (path == QLatin1String("DataSet"))
    dataSetName_ = shell::StringValue(value);
  else
    UnknownProperty(path);
}

void DescribedDataSource::NotifyLoaded() {
  if (dataSetName_.isEmpty()) return;
  auto* table = window_ ? window_->Component<DescribedTable>(dataSetName_) : nullptr;
  if (!table)
    throw shell::ShellError(QStringLiteral("%1: Component %2 not found").arg(Name(), dataSetName_));
  source_.SetDataSet(&table->Table());
}

}  // namespace pellory::ui
