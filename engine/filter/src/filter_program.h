// Filter evaluation: a filter buffer (binary expression format version 2) is
// checked whole against the table's columns once, then asked per record
// whether the record passes.
//
// Comparison rules the engine applies:
//  - Strings compare byte by byte in the table's own code page, up to their
//    first zero byte; the case flag folds only the ASCII letters A-Z, since
//    the evaluator does not know which code page the bytes are in.
//  - A compare node with partial length p matches when the value has at least
//    p bytes and its first p bytes equal the constant's first p bytes.
//  - LIKE treats '%' as any run of characters and '_' as any one character;
//    LIKE over a blob field matches the blob's whole bytes, zero bytes
//    included (RecordFields::ReadBlob), with no cap on their number.
//    Blobs and bytes fields compare otherwise only by is-blank/is-not-blank.
//  - A blank value passes only is-blank: every comparison with a blank value,
//    not-equal included, is false (NOT still inverts that result).
//  - Numbers of different kinds compare by value; BCD values exactly.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "pellory/engine.h"

namespace pellory::engine::filter {

// The record under test, as the engine lets the evaluator see it.
class RecordFields {
 public:
  virtual ~RecordFields() = default;
  // Field `number` (from 1) in the engine's value format (engine.h); false
  // when the field cannot be read, which makes the comparison fail.
  virtual bool Read(std::uint16_t number, std::vector<std::uint8_t>& value, bool& blank) const = 0;
  // The bytes of blob field `number` (a memo's text, in the table's code
  // page, like the constants), for LIKE over a memo; asked for only by such
  // comparisons. An engine that does not read blobs while filtering keeps
  // this default, and such comparisons fail. Errors it throws end the
  // evaluation and reach the engine's caller.
  virtual bool ReadBlob(std::uint16_t /*number*/, std::vector<std::uint8_t>& /*bytes*/,
                        bool& /*blank*/) const {
    return false;
  }
};

// Deepest node nesting a buffer may have; the filter compiler keeps to it.
inline constexpr int kMaxFilterDepth = 1000;

class FilterProgram {
 public:
  // Copies and checks the buffer; nullptr with *error set when refused.
  static std::unique_ptr<FilterProgram> Check(std::span<const std::uint8_t> buffer,
                                              std::span<const pel_field_descriptor> columns,
                                              std::string* error);
  ~FilterProgram();
  FilterProgram(const FilterProgram&) = delete;
  FilterProgram& operator=(const FilterProgram&) = delete;

  // One call at a time per program (the engine serialises its calls).
  bool Passes(const RecordFields& record) const;
  // The numbers of the fields the program reads, each once, in rising order.
  std::vector<std::uint16_t> FieldsRead() const;

  struct Checked;  // the decoded nodes; defined in the sources

 private:
  explicit FilterProgram(std::unique_ptr<Checked> checked);
  std::unique_ptr<Checked> checked_;
};

}  // namespace pellory::engine::filter
