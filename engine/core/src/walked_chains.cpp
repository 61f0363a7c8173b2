#include "walked_chains.h"

#include <iterator>

namespace pellory::engine {

std::shared_ptr<const BlockChain> WalkedChains::Find(const ChainSource& source) const {
  const auto found = walks_.find(source);
  return found == walks_.end() ? nullptr : found->second.lock();
}

void WalkedChains::Remember(const ChainSource& source,
                            const std::shared_ptr<const BlockChain>& chain) {
  // Forget the walks no table holds any more, so the map stays as small as
  // the set of open tables.
  for (auto at = walks_.begin(); at != walks_.end();)
    at = at->second.expired() ? walks_.erase(at) : std::next(at);
  walks_[source] = chain;
}

}  // namespace pellory::engine
