// libFuzzer target for the Paradox driver. The input is a table and its blob
// file: a 4-byte little-endian length n, then n bytes of .DB, then the .MB.
// Both are written to a private directory and read in full: every record,
// both ways, every field and every blob, then filtered on the first text
// column twice (the second scan answers from the values the first
// collected). The password check is passed by, so encrypted inputs reach
// decryption too.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine_error.h"
#include "table_cursor.h"
#include "table_file.h"

namespace {

namespace fs = std::filesystem;
using namespace pellory::engine;

const fs::path& WorkDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("pellory-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

void Write(const fs::path& file, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void ReadBlobs(TableCursor& cursor, const std::vector<std::uint8_t>& record) {
  std::vector<std::uint8_t> chunk(65536);
  for (const auto& f : cursor.Fields()) {
    if (f.logical_type != PEL_TYPE_BLOB) continue;
    try {
      cursor.BlobOpen(f.number, record.data());
      const std::uint32_t size = cursor.BlobSize(f.number, record.data());
      std::uint32_t got = 0;
      for (std::uint32_t at = 0; at < size; at += got) {
        cursor.BlobRead(f.number, record.data(), at, static_cast<std::uint32_t>(chunk.size()),
                        chunk.data(), &got);
        if (got == 0) break;
      }
      cursor.BlobFree(f.number);
    } catch (const EngineError&) {
    }
  }
}

void Scan(TableCursor& cursor) {
  std::vector<std::uint8_t> record(cursor.Info().record_size);
  std::vector<std::uint8_t> value(512);
  while (cursor.Next(record.data()) == PEL_OK) {
    for (const auto& f : cursor.Fields()) cursor.FieldValue(f.number, record.data(), value.data());
    ReadBlobs(cursor, record);
  }
  while (cursor.Prior(record.data()) == PEL_OK) {
  }
}

// "FIELD = 'X*'" over the first text column, X the column name's first byte.
std::vector<std::uint8_t> PrefixFilter(const pel_field_descriptor& field) {
  std::vector<std::uint8_t> b;
  auto u16 = [&](unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
  const char text[2] = {field.name[0] ? field.name[0] : 'A', 0};
  u16(2), u16(10 + 42 + 2 + 2), u16(0xFFFF), u16(10), u16(52);
  u32(3), u32(3), u16(0), u16(1), u16(16), u16(28);
  u32(4), u32(13), u16(field.number), u16(0);
  u32(5), u32(14), u16(1), u16(2), u16(2);
  b.push_back('F'), b.push_back(0), b.push_back(static_cast<std::uint8_t>(text[0])), b.push_back(0);
  return b;
}

void ScanFiltered(TableCursor& cursor) {
  for (const auto& f : cursor.Fields()) {
    if (f.logical_type != PEL_TYPE_CHARACTER) continue;
    TableFilter* filter = nullptr;
    try {
      filter = cursor.AddFilter(PrefixFilter(f));
    } catch (const EngineError&) {
      return;  // built without filter evaluation
    }
    filter->active = true;
    std::vector<std::uint8_t> record(cursor.Info().record_size);
    for (int pass = 0; pass < 2; ++pass) {
      try {
        cursor.ToStart();
        while (cursor.Next(record.data()) == PEL_OK) {
        }
        cursor.CountPassing();
        while (cursor.Prior(record.data()) == PEL_OK) {
        }
      } catch (const EngineError&) {
      }
    }
    cursor.DropFilter(filter);
    return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::size_t dbSize = data[0] | (data[1] << 8) | (data[2] << 16) | (std::size_t{data[3]} << 24);
  data += 4;
  size -= 4;
  if (dbSize > size) dbSize = size;
  const fs::path db = WorkDir() / "t.db";
  Write(db, data, dbSize);
  Write(WorkDir() / "t.mb", data + dbSize, size - dbSize);
  try {
    auto file = std::make_unique<TableFile>(db.string());
    file->Open();
    TableCursor cursor(std::move(file), false);
    try {
      Scan(cursor);
    } catch (const EngineError&) {
    }
    ScanFiltered(cursor);
  } catch (const EngineError&) {
  }
  return 0;
}
