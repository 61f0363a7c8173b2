// A small catalogue and the ways the fault-injection tests damage it: every
// class of truncation and a sample of byte changes in the header, the field
// descriptors and names, the block chain, the records and the blob file,
// each with what reading the damaged catalogue may then give.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace pellory::testkit {

inline constexpr const char* kFaultPassword = "mirabo";
inline constexpr std::uint32_t kFaultRecords = 40;

// pelloryfont.DB and .MB in `dir`, encrypted, in 1 KiB blocks, with the
// catalogue's five columns. Descriptions and pictures lie in the record, in
// shared blocks and in blocks of their own of the blob file; some are blank.
// Every picture is an 8-bit BMP behind the 8-byte graphic header.
void WriteFaultCatalogue(const std::filesystem::path& dir);

// One way of damaging the catalogue in a directory holding a copy of it.
struct Fault {
  std::string region;  // the part of the files it damages
  std::string name;
  std::function<void(const std::filesystem::path& dir)> apply;
  // What reading the damaged copy may give. Whatever is not allowed here
  // reads exactly as from the undamaged catalogue.
  bool errorAllowed = true;  // a clear error while opening or reading records
  bool anyRecords = false;   // records that differ from the undamaged ones
  // The records read may be only the first ones of the undamaged catalogue.
  bool fewerRecords = false;
  std::set<std::uint32_t> changedRecords;  // records that may differ
  std::set<std::uint32_t> changedBlobs;    // records whose blobs may differ or fail
  bool anyBlobs = false;                   // every blob may differ or fail
};

// The faults for the catalogue WriteFaultCatalogue wrote into `pristine`.
std::vector<Fault> CatalogueFaults(const std::filesystem::path& pristine);

}  // namespace pellory::testkit
