// The record window: filling, resizing, reading one record forward or back,
// and the moves built on them.
#include <algorithm>
#include <exception>

#include "pellory/data/datalink.h"
#include "pellory/data/dataset.h"
#include "pellory/data/datasource.h"

namespace pellory::data {

void TDataSet::ClearWindow() {
  recordCount_ = 0;
  activeRecord_ = 0;
  enginePosition_ = kNoPosition;
  bof_ = true;
  eof_ = true;
}

int TDataSet::WantedWindowSize() const {
  int size = 1;
  for (const TDataSource* source : dataSources_)
    for (const TDataLink* link : source->links_) size = std::max(size, link->BufferCount());
  return size;
}

void TDataSet::UpdateWindowSize() {
  if (!opened_) return;
  const int wanted = WantedWindowSize();
  if (wanted != windowSize_) ResizeWindow(wanted);
}

template <typename Fn>
static void ForEachActiveLink(const std::vector<TDataSource*>& sources, Fn fn) {
  for (TDataSource* source : sources)
    for (TDataLink* link : source->Links())
      if (link->Active()) fn(*link);
}

void TDataSet::DropFrontBuffers(int count) {
  if (count <= 0) return;
  std::rotate(buffers_.begin(), buffers_.begin() + count, buffers_.begin() + recordCount_);
  recordCount_ -= count;
  activeRecord_ -= count;
  enginePosition_ = enginePosition_ >= count ? enginePosition_ - count : kNoPosition;
  ForEachActiveLink(dataSources_, [count](TDataLink& link) {
    link.firstRecord_ = std::max(0, link.firstRecord_ - count);
  });
}

void TDataSet::ResizeWindow(int size) {
  if (size < windowSize_ && recordCount_ > 0) {
    int keepFrom = activeRecord_;
    ForEachActiveLink(dataSources_, [&keepFrom](TDataLink& link) {
      keepFrom = std::min(keepFrom, link.firstRecord_);
    });
    // The current record must stay inside the smaller window.
    keepFrom = std::max(keepFrom, activeRecord_ - size + 1);
    DropFrontBuffers(keepFrom);
    if (recordCount_ > size) recordCount_ = size;
    if (enginePosition_ >= recordCount_) enginePosition_ = kNoPosition;
  }
  buffers_.resize(static_cast<std::size_t>(size) + 1);
  for (auto& buffer : buffers_)
    if (!buffer) buffer = std::make_unique<RecordBuffer>();
  windowSize_ = size;
  FillWindow();
}

void TDataSet::FillWindow() {
  while (recordCount_ < windowSize_ && ReadForward()) {
  }
  int readBack = 0;
  while (recordCount_ < windowSize_ && ReadBackward()) ++readBack;
  if (readBack > 0)
    ForEachActiveLink(dataSources_, [readBack](TDataLink& link) { link.firstRecord_ += readBack; });
}

void TDataSet::PositionOn(int index) {
  if (enginePosition_ == index) return;
  StandOn(*buffers_[static_cast<std::size_t>(index)]);
  enginePosition_ = index;
}

RecordBuffer& TDataSet::ScratchBuffer() {
  return *buffers_[static_cast<std::size_t>(recordCount_)];
}

void TDataSet::ReadInto(RecordBuffer& buffer, ReadMode mode, ReadResult& result) {
  // A record read into a buffer never keeps the blob values of the one before.
  buffer.blobSlots.assign(static_cast<std::size_t>(BlobSlotCount()), std::nullopt);
  buffer.recordNumber = -1;
  try {
    result = ReadRecord(buffer, mode);
  } catch (...) {
    enginePosition_ = kNoPosition;
    throw;
  }
}

bool TDataSet::ReadForward() {
  if (recordCount_ > 0) PositionOn(recordCount_ - 1);
  ReadResult result{};
  ReadInto(ScratchBuffer(), ReadMode::Next, result);
  if (result != ReadResult::Ok) {
    enginePosition_ = kNoPosition;
    return false;
  }
  if (recordCount_ == 0) {
    recordCount_ = 1;
    activeRecord_ = 0;
    bof_ = eof_ = false;
  } else if (recordCount_ < windowSize_) {
    ++recordCount_;
  } else {
    std::rotate(buffers_.begin(), buffers_.begin() + 1, buffers_.end());
  }
  enginePosition_ = recordCount_ - 1;
  return true;
}

bool TDataSet::ReadBackward() {
  if (recordCount_ > 0) PositionOn(0);
  ReadResult result{};
  ReadInto(ScratchBuffer(), ReadMode::Prior, result);
  if (result != ReadResult::Ok) {
    enginePosition_ = kNoPosition;
    return false;
  }
  // The scratch buffer becomes the first; when full, the last one falls out
  // and becomes the scratch buffer.
  std::rotate(buffers_.begin(), buffers_.begin() + recordCount_,
              buffers_.begin() + recordCount_ + 1);
  if (recordCount_ == 0) {
    recordCount_ = 1;
    activeRecord_ = 0;
    bof_ = eof_ = false;
  } else if (recordCount_ < windowSize_) {
    ++recordCount_;
    ++activeRecord_;
  }
  enginePosition_ = 0;
  return true;
}

bool TDataSet::ReadCurrentIntoScratch() {
  ReadResult result{};
  for (ReadMode mode : {ReadMode::Current, ReadMode::Next, ReadMode::Prior}) {
    ReadInto(ScratchBuffer(), mode, result);
    if (result == ReadResult::Ok) return true;
  }
  return false;
}

void TDataSet::RecentreOnEngineRecord() {
  ClearWindow();
  if (!ReadCurrentIntoScratch()) {
    SendEvent(DataEvent::DataSetChanged);
    return;
  }
  // The window was cleared, so the scratch buffer is the first one.
  recordCount_ = 1;
  activeRecord_ = 0;
  enginePosition_ = 0;
  bof_ = eof_ = false;
  for (int i = 0; i < (windowSize_ - 1) / 2 && ReadBackward(); ++i) {
  }
  while (recordCount_ < windowSize_ && ReadForward()) {
  }
  while (recordCount_ < windowSize_ && ReadBackward()) {
  }
  SendEvent(DataEvent::DataSetChanged);
}

void TDataSet::RereadCurrentRecord() {
  if (IsEmpty()) return;
  PositionOn(activeRecord_);
  RecordBuffer& buffer = *buffers_[static_cast<std::size_t>(activeRecord_)];
  // The same record again: the values other blob fields cached stay valid,
  // so a picture read on every load does not make the memo read again too.
  std::vector<std::optional<std::string>> slots = std::move(buffer.blobSlots);
  ReadResult result{};
  ReadInto(buffer, ReadMode::Current, result);
  if (result == ReadResult::Ok) buffer.blobSlots = std::move(slots);
}

// --- moves ---------------------------------------------------------------

void TDataSet::BeginMove() {
  CheckActive();
  SendEvent(DataEvent::CheckBrowse);
  if (BeforeScroll) BeforeScroll(*this);
}

void TDataSet::First() {
  RefillFromEdge(true);
}

void TDataSet::Last() {
  RefillFromEdge(false);
}

// First and Last: refill the window from one edge of the table. A failed read
// still sets the edge flag and notifies before the error goes on.
void TDataSet::RefillFromEdge(bool fromStart) {
  BeginMove();
  ClearWindow();
  std::exception_ptr error;
  try {
    if (fromStart) {
      GoToStart();
    } else {
      GoToEnd();
    }
    while (recordCount_ < windowSize_ && (fromStart ? ReadForward() : ReadBackward())) {
    }
  } catch (...) {
    error = std::current_exception();
  }
  (fromStart ? bof_ : eof_) = true;
  SendEvent(DataEvent::DataSetChanged);
  if (AfterScroll) AfterScroll(*this);
  if (error) std::rethrow_exception(error);
}

int TDataSet::StepForward(int steps, int& scroll) {
  int taken = 0;
  for (; taken < steps; ++taken) {
    if (activeRecord_ < recordCount_ - 1) {
      ++activeRecord_;
      continue;
    }
    const bool full = recordCount_ == windowSize_;
    if (!ReadForward()) {
      eof_ = true;
      break;
    }
    activeRecord_ = recordCount_ - 1;
    if (full) --scroll;
  }
  return taken;
}

int TDataSet::StepBack(int steps, int& scroll) {
  int taken = 0;
  for (; taken < steps; ++taken) {
    if (activeRecord_ > 0) {
      --activeRecord_;
      continue;
    }
    const bool full = recordCount_ == windowSize_;
    if (!ReadBackward()) {
      bof_ = true;
      break;
    }
    activeRecord_ = 0;
    if (full) ++scroll;
  }
  return -taken;
}

int TDataSet::MoveBy(int distance) {
  BeginMove();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  bof_ = eof_ = false;
  const int notedCount = recordCount_;
  int scroll = 0;
  int taken = 0;
  std::exception_ptr error;
  try {
    // Widened before negating so that the most negative int cannot overflow.
    taken = distance > 0 ? StepForward(distance, scroll)
                         : StepBack(static_cast<int>(std::min<long long>(
                                        -static_cast<long long>(distance), 0x7fffffff)),
                                    scroll);
  } catch (...) {
    error = std::current_exception();
  }
  if (recordCount_ == notedCount)
    SendEvent(DataEvent::DataSetScrolled, scroll);
  else
    SendEvent(DataEvent::DataSetChanged);
  if (AfterScroll) AfterScroll(*this);
  if (error) std::rethrow_exception(error);
  return taken;
}

}  // namespace pellory::data
