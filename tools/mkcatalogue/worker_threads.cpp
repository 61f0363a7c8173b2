#include "worker_threads.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace pellory::mkcatalogue {

unsigned CoresAvailable() {
  cpu_set_t cores;
  CPU_ZERO(&cores);
  if (sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) > 0)
    return static_cast<unsigned>(CPU_COUNT(&cores));
  return std::max(1u, std::thread::hardware_concurrency());
}

void RunOnThreads(std::size_t count, unsigned threads,
                  const std::function<ItemWorker()>& makeWorker) {
  if (count == 0) return;
  std::atomic<std::size_t> next{0};
  std::mutex failureLock;
  std::exception_ptr failure;
  const auto run = [&] {
    try {
      const ItemWorker work = makeWorker();
      for (std::size_t i; (i = next.fetch_add(1)) < count;) work(i);
    } catch (...) {
      next = count;
      const std::lock_guard lock(failureLock);
      if (!failure) failure = std::current_exception();
    }
  };
  const std::size_t helpers =
      std::clamp<std::size_t>(std::min<std::size_t>(threads, count), 1, 256) - 1;
  std::vector<std::thread> pool;
  pool.reserve(helpers);
  for (std::size_t t = 0; t < helpers; ++t) {
    try {
      pool.emplace_back(run);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: those made do the work
    }
  }
  run();  // this thread is one of them
  for (std::thread& thread : pool) thread.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace pellory::mkcatalogue
