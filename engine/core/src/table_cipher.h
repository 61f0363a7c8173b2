// Paradox table encryption: the 256-byte unit transform and the checksum a
// password turns into (the value the table's header holds).
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace pellory::engine {

struct CipherKey {
  std::uint8_t a, b, c, d;
};

// Decrypts one 256-byte unit in place.
void DecryptUnit(std::uint8_t* unit, CipherKey key);
// Encrypts one 256-byte unit in place (the inverse of DecryptUnit).
void EncryptUnit(std::uint8_t* unit, CipherKey key);

// Decrypts the 256-byte units of data block number blockNumber (from 1), or
// of its first units when the span holds only part of the block.
void DecryptDataBlock(std::span<std::uint8_t> block, std::uint32_t encryption,
                      std::uint32_t blockNumber);

// Decrypts chosen bytes of stored data blocks. Each decrypted byte comes from
// one stored byte of its 256-byte unit, so a reader decrypts only the bytes
// it looks at: a filter on one column touches a fraction of every record.
class DataBlockCipher {
 public:
  // The byte permutation and the table lookups that stay the same for every
  // unit of blocks whose numbers agree in their low byte.
  struct Plan {
    std::array<std::uint8_t, 256> source;  // stored position y for each x
    std::array<std::uint8_t, 256> mask;    // A[x + a] ^ B[y + b]
  };

  explicit DataBlockCipher(std::uint32_t encryption);
  ~DataBlockCipher();

  // The plan for the stored block numbered blockNumber (from 1), made on
  // first use; readers of many bytes of one block take it once.
  const Plan& PlanFor(std::uint32_t blockNumber);
  // Decrypts count bytes from offset of a stored block with its plan.
  // offset + count must lie inside the block.
  static void Decrypt(const Plan& plan, const std::uint8_t* block, std::size_t offset,
                      std::size_t count, std::uint8_t* out);
  // Like Decrypt, but stops after the first zero byte; answers how many
  // bytes it wrote.
  static std::size_t DecryptText(const Plan& plan, const std::uint8_t* block, std::size_t offset,
                                 std::size_t count, std::uint8_t* out);

  // The same, finding the block's plan.
  void Decrypt(const std::uint8_t* block, std::uint32_t blockNumber, std::size_t offset,
               std::size_t count, std::uint8_t* out) {
    Decrypt(PlanFor(blockNumber), block, offset, count, out);
  }
  std::size_t DecryptText(const std::uint8_t* block, std::uint32_t blockNumber, std::size_t offset,
                          std::size_t count, std::uint8_t* out) {
    return DecryptText(PlanFor(blockNumber), block, offset, count, out);
  }

 private:
  std::uint8_t a_, b_;
  std::unique_ptr<std::array<Plan, 256>> plans_;  // 128 KiB, made on first use
  std::bitset<256> made_;
};

// Decrypts 256-byte units of the blob file; every unit uses the same key.
void DecryptBlobUnits(std::span<std::uint8_t> units, std::uint32_t encryption);
// Encrypts them (the inverse), the key's work done once for all units.
void EncryptBlobUnits(std::span<std::uint8_t> units, std::uint32_t encryption);

// The 32-bit value a password gives; 0 for an empty password.
std::uint32_t PasswordChecksum(std::string_view password);

}  // namespace pellory::engine
