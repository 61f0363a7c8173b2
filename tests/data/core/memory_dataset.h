// A cursor over records held in memory, standing in for the engine: it keeps
// an engine-like position (before the first, on a record, after the last) and
// counts every primitive call so tests can see what a move cost.
#pragma once

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "pellory/data/blob_field.h"
#include "pellory/data/dataset.h"
#include "pellory/data/field.h"

namespace pellory::data::testing {

class MemoryDataSet : public TDataSet {
 public:
  explicit MemoryDataSet(int recordCount, std::string name = "Table1") {
    SetName(std::move(name));
    for (int i = 1; i <= recordCount; ++i) records.push_back("record " + std::to_string(i));
  }
  ~MemoryDataSet() override {
    if (Active()) SetActive(false);
  }

  // Which record (1-based) a window buffer holds.
  int RecordAt(int index) const {
    const RecordBuffer* buffer = WindowBuffer(index);
    return buffer == nullptr ? 0 : IndexIn(*buffer) + 1;
  }
  int CurrentRecord() const { return IsEmpty() ? 0 : RecordAt(ActiveRecordIndex()); }
  std::vector<int> WindowRecords() const {
    std::vector<int> out;
    for (int i = 0; i < RecordCountInWindow(); ++i) out.push_back(RecordAt(i));
    return out;
  }
  // Puts the engine's position on record (1-based) and re-centres on it.
  void RecentreOn(int record) {
    position = record - 1;
    RecentreOnEngineRecord();
  }

  std::vector<std::string> records;
  int position = -1;  // -1 before the first record, records.size() after the last
  int reads = 0;
  int standOns = 0;
  int failReadAfter = -1;  // throw on the read with this number (counting from 0)
  std::vector<std::string> calls;
  bool logCalls = true;
  std::vector<std::unique_ptr<std::string>> filters;
  std::vector<std::optional<std::string>> blobs;
  const std::string* openBlob = nullptr;
  int blobOpens = 0;
  int blobReads = 0;
  int blobFrees = 0;
  std::string* applied = nullptr;

 protected:
  void GoToStart() override {
    calls.push_back("start");
    position = -1;
  }
  void GoToEnd() override {
    calls.push_back("end");
    position = static_cast<int>(records.size());
  }
  ReadResult ReadRecord(RecordBuffer& buffer, ReadMode mode) override {
    if (failReadAfter >= 0 && reads == failReadAfter) {
      ++reads;
      throw std::runtime_error("read failed");
    }
    ++reads;
    const int size = static_cast<int>(records.size());
    int target = position;
    const int step = mode == ReadMode::Prior ? -1 : 1;
    if (mode != ReadMode::Current) target += step;
    while (target >= 0 && target < size && !Passes(target)) target += step;
    if (target >= size) {
      position = size;
      return ReadResult::AtEnd;
    }
    if (target < 0) {
      position = -1;
      return ReadResult::AtBeginning;
    }
    position = target;
    if (logCalls) calls.push_back("read " + std::to_string(target + 1));
    buffer.data.resize(sizeof target);
    std::memcpy(buffer.data.data(), &target, sizeof target);
    buffer.position = buffer.data;
    buffer.recordNumber = target + 1;
    return ReadResult::Ok;
  }
  void StandOn(const RecordBuffer& buffer) override {
    ++standOns;
    position = IndexIn(buffer.position);
  }
  void OpenCursor() override {
    calls.push_back("open");
    position = -1;
    blobs.resize(records.size());
    ResetBlobSlots();
    for (TField* field : Fields())
      if (auto* blob = dynamic_cast<TBlobField*>(field)) blob->SetBlobSlot(AssignBlobSlot());
    RegisterStoredFilter();
  }
  void CloseCursor() override {
    calls.push_back("close");
    ForgetFilter();
    applied = nullptr;
  }

  // Filters: a text selects the records containing it; "(" does not compile.
  FilterHandle RegisterFilter(const std::string& text, TFilterOptions) override {
    if (text.find('(') != std::string::npos) throw std::runtime_error("Unbalanced filter");
    if (logCalls) calls.push_back("register " + text);
    filters.push_back(std::make_unique<std::string>(text));
    return filters.back().get();
  }
  bool ApplyFilter(FilterHandle handle, bool) override {
    calls.push_back("apply " + *static_cast<std::string*>(handle));
    applied = static_cast<std::string*>(handle);
    return true;
  }
  void LiftFilter(FilterHandle handle) override {
    calls.push_back("lift " + *static_cast<std::string*>(handle));
    applied = nullptr;
  }
  void DropFilter(FilterHandle handle) override {
    calls.push_back("drop " + *static_cast<std::string*>(handle));
    if (applied == handle) applied = nullptr;
    std::erase_if(filters, [handle](const auto& f) { return f.get() == handle; });
  }
  // Blobs: one value (or blank) per record for every blob field.
  bool BlobIsNull(const TField&, const RecordBuffer& buffer) const override {
    return !blobs.at(static_cast<std::size_t>(IndexIn(buffer))).has_value();
  }
  void OpenBlob(const TField&) override {
    ++blobOpens;
    openBlob = &*blobs.at(static_cast<std::size_t>(position));
  }
  std::uint64_t BlobSize(const TField&) override { return openBlob->size(); }
  BlobReadResult ReadBlob(const TField&, std::uint64_t at, std::size_t count,
                          std::string& bytes) override {
    ++blobReads;
    if (at >= openBlob->size()) return BlobReadResult::EndOfBlob;
    bytes = openBlob->substr(static_cast<std::size_t>(at), count);
    return at + count >= openBlob->size() ? BlobReadResult::EndOfBlob : BlobReadResult::Ok;
  }
  void FreeBlob(const TField&) override {
    ++blobFrees;
    openBlob = nullptr;
  }
  // The table's character set here: byte E9 is e-acute.
  std::string TranslateToProgram(const std::string& bytes) const override {
    std::string out;
    for (char c : bytes) out += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
    return out;
  }

  bool Passes(int index) const {
    return applied == nullptr ||
           records[static_cast<std::size_t>(index)].find(*applied) != std::string::npos;
  }
  std::optional<std::string> FieldValue(const TField&, const RecordBuffer& buffer) const override {
    return records.at(static_cast<std::size_t>(IndexIn(buffer)));
  }

  static int IndexIn(const std::vector<std::uint8_t>& bytes) {
    int index = 0;
    std::memcpy(&index, bytes.data(), sizeof index);
    return index;
  }
  static int IndexIn(const RecordBuffer& buffer) { return IndexIn(buffer.data); }
};

}  // namespace pellory::data::testing
