// Paradox table encryption: the 256-byte unit transform and the checksum a
// password turns into (the value the table's header holds).
#pragma once

#include <cstdint>
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

// The first out.size() bytes (at most 256) of data block number blockNumber
// decrypted from its still encrypted first unit, which stays as it is. Each
// byte comes from one byte of the unit, so walking the block chain needs no
// whole-unit decryption.
void DecryptBlockStart(const std::uint8_t* unit, std::uint32_t encryption,
                       std::uint32_t blockNumber, std::span<std::uint8_t> out);

// Decrypts 256-byte units of the blob file; every unit uses the same key.
void DecryptBlobUnits(std::span<std::uint8_t> units, std::uint32_t encryption);

// The 32-bit value a password gives; 0 for an empty password.
std::uint32_t PasswordChecksum(std::string_view password);

}  // namespace pellory::engine
