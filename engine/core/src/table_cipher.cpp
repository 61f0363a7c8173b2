#include "table_cipher.h"

#include <algorithm>
#include <array>

#include "cipher_tables.h"

namespace pellory::engine {
namespace {

std::uint8_t U8(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

void DecryptUnit(std::uint8_t* unit, CipherKey key) {
  std::array<std::uint8_t, 256> in;
  std::copy(unit, unit + 256, in.begin());
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t y = U8(kCipherC[x] - key.d);
    unit[x] = in[y] ^ kCipherA[U8(x + key.a)] ^ kCipherB[U8(y + key.b)] ^ kCipherC[U8(y + key.c)];
  }
}

void EncryptUnit(std::uint8_t* unit, CipherKey key) {
  std::array<std::uint8_t, 256> in;
  std::copy(unit, unit + 256, in.begin());
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t y = U8(kCipherC[x] - key.d);
    unit[y] = in[x] ^ kCipherA[U8(x + key.a)] ^ kCipherB[U8(y + key.b)] ^ kCipherC[U8(y + key.c)];
  }
}

namespace {

// The parts of the decrypt transform that stay the same for many units: the
// byte permutation (from d) and the table lookups that depend on a, b, d.
struct UnitPlan {
  std::array<std::uint8_t, 256> source;  // y for each x
  std::array<std::uint8_t, 256> mask;    // A[x + a] ^ B[y + b]
};

UnitPlan MakeUnitPlan(std::uint8_t a, std::uint8_t b, std::uint8_t d) {
  UnitPlan plan;
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t y = U8(kCipherC[x] - d);
    plan.source[x] = y;
    plan.mask[x] = kCipherA[U8(x + a)] ^ kCipherB[U8(y + b)];
  }
  return plan;
}

void Apply(const UnitPlan& plan, std::uint8_t c, std::uint8_t* unit) {
  std::array<std::uint8_t, 256> in;
  std::copy(unit, unit + 256, in.begin());
  for (int x = 0; x < 256; ++x) {
    const std::uint8_t y = plan.source[x];
    unit[x] = in[y] ^ plan.mask[x] ^ kCipherC[U8(y + c)];
  }
}

}  // namespace

void DecryptDataBlock(std::span<std::uint8_t> block, std::uint32_t encryption,
                      std::uint32_t blockNumber) {
  const auto k0 = U8(static_cast<int>(encryption));
  const auto k1 = U8(static_cast<int>(encryption >> 8));
  const UnitPlan plan = MakeUnitPlan(k0, k1, U8(static_cast<int>(blockNumber)));
  for (std::size_t u = 0; u + 256 <= block.size(); u += 256)
    Apply(plan, U8(static_cast<int>(u / 256)), block.data() + u);
}

DataBlockCipher::DataBlockCipher(std::uint32_t encryption)
    : a_(U8(static_cast<int>(encryption))), b_(U8(static_cast<int>(encryption >> 8))) {}

DataBlockCipher::~DataBlockCipher() = default;

const DataBlockCipher::Plan& DataBlockCipher::PlanFor(std::uint32_t blockNumber) {
  const std::uint8_t d = U8(static_cast<int>(blockNumber));
  if (!plans_) plans_ = std::make_unique<std::array<Plan, 256>>();
  Plan& plan = (*plans_)[d];
  if (!made_[d]) {
    const UnitPlan made = MakeUnitPlan(a_, b_, d);
    plan.source = made.source;
    plan.mask = made.mask;
    made_[d] = true;
  }
  return plan;
}

namespace {

// C twice over, so that C[(y + u) mod 256] needs no wrapping for the unit
// numbers of a block (below 128).
const std::array<std::uint8_t, 512> kCipherCTwice = [] {
  std::array<std::uint8_t, 512> twice{};
  for (std::size_t i = 0; i < twice.size(); ++i) twice[i] = kCipherC[i % 256];
  return twice;
}();

}  // namespace

void DataBlockCipher::Decrypt(const Plan& plan, const std::uint8_t* block, std::size_t offset,
                              std::size_t count, std::uint8_t* out) {
  for (std::size_t at = offset, end = offset + count; at < end; ++at) {
    const std::size_t unit = at >> 8;
    const std::uint8_t x = static_cast<std::uint8_t>(at);
    const std::uint8_t y = plan.source[x];
    *out++ = block[unit << 8 | y] ^ plan.mask[x] ^ kCipherCTwice[y + (unit & 0xFF)];
  }
}

std::size_t DataBlockCipher::DecryptText(const Plan& plan, const std::uint8_t* block,
                                         std::size_t offset, std::size_t count, std::uint8_t* out) {
  for (std::size_t done = 0; done < count; ++done) {
    const std::size_t at = offset + done;
    const std::size_t unit = at >> 8;
    const std::uint8_t x = static_cast<std::uint8_t>(at);
    const std::uint8_t y = plan.source[x];
    out[done] = block[unit << 8 | y] ^ plan.mask[x] ^ kCipherCTwice[y + (unit & 0xFF)];
    if (out[done] == 0) return done + 1;
  }
  return count;
}

void DecryptBlobUnits(std::span<std::uint8_t> units, std::uint32_t encryption) {
  const auto k0 = U8(static_cast<int>(encryption));
  const auto k1 = U8(static_cast<int>(encryption >> 8));
  const UnitPlan plan = MakeUnitPlan(k0, k1, U8(k1 + 1));
  for (std::size_t u = 0; u + 256 <= units.size(); u += 256)
    Apply(plan, U8(k0 + 1), units.data() + u);
}

void EncryptBlobUnits(std::span<std::uint8_t> units, std::uint32_t encryption) {
  const auto k0 = U8(static_cast<int>(encryption));
  const auto k1 = U8(static_cast<int>(encryption >> 8));
  UnitPlan plan = MakeUnitPlan(k0, k1, U8(k1 + 1));
  // The unit number is the same for every unit: its lookup joins the mask.
  for (int x = 0; x < 256; ++x) plan.mask[x] ^= kCipherC[U8(plan.source[x] + k0 + 1)];
  std::array<std::uint8_t, 256> in;
  for (std::size_t u = 0; u + 256 <= units.size(); u += 256) {
    std::uint8_t* unit = units.data() + u;
    std::copy(unit, unit + 256, in.begin());
    for (int x = 0; x < 256; ++x) unit[plan.source[x]] = in[x] ^ plan.mask[x];
  }
}

std::uint32_t PasswordChecksum(std::string_view password) {
  if (password.empty()) return 0;
  // Longer passwords are cut: the method works on at most 255 bytes.
  const std::size_t len = std::min<std::size_t>(password.size(), 255);
  std::array<std::uint8_t, 256> buf;
  for (std::size_t i = 0; i < 256; ++i) buf[i] = static_cast<std::uint8_t>(password[i % len]);
  EncryptUnit(buf.data(), {buf[0], buf[1], buf[2], buf[3]});
  const std::uint32_t low = buf[0] + 256u * buf[1];

  for (std::size_t i = 0; i < len; ++i) buf[i] = static_cast<std::uint8_t>(password[i]);
  for (std::size_t i = len; i < 256; ++i)
    buf[i] = kCipherA[buf[i - len]] ^ static_cast<std::uint8_t>(i);
  EncryptUnit(buf.data(), {buf[0], buf[20], buf[40], buf[255]});
  std::uint8_t even = 0, odd = 0;
  for (std::size_t i = 0; i < 256; i += 2) {
    even ^= buf[i];
    odd ^= buf[i + 1];
  }
  std::uint32_t high = even + 256u * odd;
  if (high == 0) high = 1;
  return (high << 16) | low;
}

}  // namespace pellory::engine
