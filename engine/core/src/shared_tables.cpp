#include "shared_tables.h"

#include <iterator>

namespace pellory::engine {

SharedTable::SharedTable(std::uint16_t firstBlock, std::uint32_t physicalBlocks,
                         std::uint32_t encryption, std::uint64_t recordsAtMost)
    : chain_(firstBlock, physicalBlocks),
      cipher_(encryption != 0 ? std::make_unique<DataBlockCipher>(encryption) : nullptr),
      recordsAtMost_(recordsAtMost) {}

ColumnValues* SharedTable::Column(std::uint16_t field, std::uint16_t valueSize) {
  const auto found = columns_.find(field);
  if (found != columns_.end()) return found->second.get();
  // Each column takes a byte a record; the list of values is small beside it.
  std::uint64_t kept = 1;
  for (const auto& [number, column] : columns_) kept += column ? 1 : 0;
  if (kept * recordsAtMost_ > kColumnBudget) return nullptr;
  return (columns_[field] = std::make_unique<ColumnValues>(valueSize, recordsAtMost_)).get();
}

void SharedTable::GiveUp(std::uint16_t field) {
  columns_[field].reset();
}

std::shared_ptr<SharedTable> SharedTables::Find(const ChainSource& source) const {
  const auto found = tables_.find(source);
  return found == tables_.end() ? nullptr : found->second.lock();
}

void SharedTables::Remember(const ChainSource& source, const std::shared_ptr<SharedTable>& table) {
  // Forget what no table holds any more, so the map stays as small as the
  // set of open tables.
  for (auto at = tables_.begin(); at != tables_.end();)
    at = at->second.expired() ? tables_.erase(at) : std::next(at);
  tables_[source] = table;
}

}  // namespace pellory::engine
