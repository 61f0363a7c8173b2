#include "listed_faces.h"

#include <memory>
#include <mutex>

#include "worker_threads.h"

namespace pellory::mkcatalogue {
namespace {

constexpr char kListedTool[] = "pellory-mkcatalogue: ";

// Tells what became of each face once every face before it is done too.
class OrderedLog {
 public:
  OrderedLog(const std::vector<ListedFace>& faces, const std::vector<FaceReading>& readings,
             std::size_t toOpen, bool quiet, std::ostream& log)
      : faces_(faces),
        readings_(readings),
        done_(faces.size(), false),
        toOpen_(toOpen),
        quiet_(quiet),
        log_(log) {}

  void Finished(std::size_t i) {
    const std::lock_guard lock(lock_);
    done_[i] = true;
    for (; next_ < done_.size() && done_[next_]; ++next_) Tell(next_);
  }

 private:
  void Tell(std::size_t i) {
    const bool unreadable = readings_[i].state == FaceReading::State::Unreadable;
    if (unreadable)
      log_ << kListedTool << "warning: skipped " << faces_[i].face.file.string() << ": "
           << readings_[i].error << '\n';
    if (faces_[i].stored) return;
    ++opened_;
    skipped_ += unreadable ? 1 : 0;
    if (!quiet_ && (opened_ % 50 == 0 || opened_ == toOpen_))
      log_ << kListedTool << opened_ << " of " << toOpen_ << " faces opened: " << opened_ - skipped_
           << " read, " << skipped_ << " skipped\n";
  }

  const std::vector<ListedFace>& faces_;
  const std::vector<FaceReading>& readings_;
  std::vector<bool> done_;
  std::size_t toOpen_;
  bool quiet_;
  std::ostream& log_;
  std::mutex lock_;
  std::size_t next_ = 0, opened_ = 0, skipped_ = 0;
};

}  // namespace

std::vector<FaceReading> ReadListedFaces(const std::vector<ListedFace>& faces,
                                         const ReadingInputs& inputs, std::ostream& log) {
  std::vector<FaceReading> readings(faces.size());
  std::vector<std::size_t> toOpen;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    if (faces[i].stored)
      readings[i] = std::move(faces[i].stored->reading);
    else
      toOpen.push_back(i);
  }
  OrderedLog told(faces, readings, toOpen.size(), inputs.quiet, log);
  for (std::size_t i = 0; i < faces.size() && (toOpen.empty() || i < toOpen.front()); ++i)
    told.Finished(i);  // the kept faces before the first to open
  RunOnThreads(toOpen.size(), inputs.threads, [&]() -> ItemWorker {
    // Made on the thread that uses it, with a FreeType of its own.
    auto reader =
        std::make_shared<FaceReader>(*inputs.files, inputs.plainFile, inputs.cursiveFamilies);
    return [&, reader](std::size_t k) {
      const std::size_t i = toOpen[k];
      readings[i] = reader->Read(faces[i].face);
      told.Finished(i);
      // The kept faces up to the next one to open.
      for (std::size_t j = i + 1; j < faces.size() && faces[j].stored; ++j) told.Finished(j);
    };
  });
  return readings;
}

}  // namespace pellory::mkcatalogue
