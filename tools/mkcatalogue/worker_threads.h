// Work spread over the processors: items taken in turn by a few threads,
// each with state of its own.
#pragma once

#include <cstddef>
#include <functional>

namespace pellory::mkcatalogue {

// The processors this process may run on; at least 1.
unsigned CoresAvailable();

// Calls makeWorker() once on each of `threads` threads (at least one, at
// most one an item; none for no items), and the worker it made for items 0
// to count - 1 as that thread takes them. The first exception a worker or makeWorker
// throws stops the taking of items and is thrown again here once every
// thread has ended.
using ItemWorker = std::function<void(std::size_t)>;
void RunOnThreads(std::size_t count, unsigned threads,
                  const std::function<ItemWorker()>& makeWorker);

}  // namespace pellory::mkcatalogue
