#include "pellory/shell/property_table.h"

namespace pellory::shell {

PropertyTable::PropertyTable(const PropertyTable* base,
                             std::initializer_list<PropertyEntry> entries)
    : base_(base), entries_(entries) {}

const PropertyEntry* PropertyTable::Find(const QString& path) const {
  for (const PropertyTable* table = this; table; table = table->base_)
    for (const PropertyEntry& entry : table->entries_)
      if (entry.path == path) return &entry;
  return nullptr;
}

QStringList PropertyTable::Paths() const {
  QStringList paths;
  for (const PropertyTable* table = this; table; table = table->base_)
    for (const PropertyEntry& entry : table->entries_) paths << entry.path;
  return paths;
}

}  // namespace pellory::shell
