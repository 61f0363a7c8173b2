// Damaged buffers are refused with a reason before any record is tested;
// nothing is read outside the buffer (the sanitizer build checks that).
#include <gtest/gtest.h>

#include <functional>

#include "filter_eval_support.h"

namespace pellory::engine::filter {
namespace {

using namespace testing;

using Buffer = std::vector<std::uint8_t>;

void Put16(Buffer& b, std::size_t at, std::uint16_t v) {
  if (at + 2 <= b.size()) std::memcpy(b.data() + at, &v, 2);
}
void Put32(Buffer& b, std::size_t at, std::uint32_t v) {
  if (at + 4 <= b.size()) std::memcpy(b.data() + at, &v, 4);
}

// "Category ='Capitals San*'": compare node at 10 (flag 18, partial 20, field
// 22, constant 24), field node at 26 (number 34, name 36), constant node at
// 38 (type 46, size 48, literal 50), literals from 52.
const char* const kPrefix = "Category ='Capitals San*'";
// "Category ='Handwriting'": binary node at 10 (left 18, right 20), field
// node at 22, constant node at 34 (type 42, size 44, literal 46), literals from 48.
const char* const kExact = "Category ='Handwriting'";

struct DamageCase {
  const char* name;
  const char* text;
  std::function<void(Buffer&)> damage;
};

void PrintTo(const DamageCase& c, std::ostream* os) {
  *os << c.name;
}

class DamagedBuffers : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedBuffers, AreRefusedWithAReason) {
  Buffer buffer = CompileText(GetParam().text);
  ASSERT_TRUE(Load(buffer)) << "the undamaged buffer is accepted";
  GetParam().damage(buffer);
  std::string error;
  EXPECT_EQ(Load(buffer, &error), nullptr);
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Header, DamagedBuffers,
    ::testing::Values(
        DamageCase{"Empty", kExact, [](Buffer& b) { b.clear(); }},
        DamageCase{"ShorterThanHeader", kExact, [](Buffer& b) { b.resize(9); }},
        DamageCase{"Truncated", kExact, [](Buffer& b) { b.pop_back(); }},
        DamageCase{"TrailingGarbage", kExact, [](Buffer& b) { b.push_back(0); }},
        DamageCase{"TruncatedWithSizeToMatch", kExact,
                   [](Buffer& b) {
                     b.resize(60);
                     Put16(b, 2, 60);
                   }},
        DamageCase{"Version1", kExact, [](Buffer& b) { Put16(b, 0, 1); }},
        DamageCase{"Version3", kExact, [](Buffer& b) { Put16(b, 0, 3); }},
        DamageCase{"NodeCount", kExact, [](Buffer& b) { Put16(b, 4, 3); }},
        DamageCase{"NodeStart", kExact, [](Buffer& b) { Put16(b, 6, 12); }},
        DamageCase{"LiteralStartPastEnd", kExact, [](Buffer& b) { Put16(b, 8, 70); }},
        DamageCase{"LiteralStartAtHeader", kExact, [](Buffer& b) { Put16(b, 8, 10); }},
        DamageCase{"LiteralStartInsideNode", kExact, [](Buffer& b) { Put16(b, 8, 40); }},
        DamageCase{"GapAfterNodes", kExact, [](Buffer& b) {
                     b.insert(b.begin() + 48, {0, 0});
                     Put16(b, 8, 50);
                     Put16(b, 2, static_cast<std::uint16_t>(b.size()));
                   }}));

INSTANTIATE_TEST_SUITE_P(
    Nodes, DamagedBuffers,
    ::testing::Values(
        DamageCase{"UnknownClass", kExact, [](Buffer& b) { Put32(b, 10, 7); }},
        DamageCase{"HugeClass", kExact, [](Buffer& b) { Put32(b, 10, 0xFFFFFFFF); }},
        DamageCase{"UnknownBinaryOperator", kExact, [](Buffer& b) { Put32(b, 14, 13); }},
        DamageCase{"FieldOperatorWrong", kExact, [](Buffer& b) { Put32(b, 26, 14); }},
        DamageCase{"ConstantOperatorWrong", kExact, [](Buffer& b) { Put32(b, 38, 13); }},
        DamageCase{"CompareOperatorLess", kPrefix, [](Buffer& b) { Put32(b, 14, 6); }},
        DamageCase{"RootIsAField", kExact,
                   [](Buffer& b) {
                     Put32(b, 10, 4);
                     Put32(b, 14, 13);  // leaves unused node bytes
                   }},
        DamageCase{"SelfReference", kExact, [](Buffer& b) { Put16(b, 18, 0); }},
        DamageCase{"SharedOperand", kExact, [](Buffer& b) { Put16(b, 20, 12); }},
        DamageCase{"OperandInsideNode", kExact, [](Buffer& b) { Put16(b, 20, 14); }},
        DamageCase{"OperandPastNodeArea", kExact, [](Buffer& b) { Put16(b, 20, 36); }},
        DamageCase{"OperandFarAway", kExact, [](Buffer& b) { Put16(b, 20, 0xFFFF); }},
        DamageCase{"ComparisonOfConditions", kExact, [](Buffer& b) { Put32(b, 14, 10); }},
        DamageCase{"AndOverValues", kExact, [](Buffer& b) { Put32(b, 14, 11); }},
        DamageCase{"NotOverField", kExact,
                   [](Buffer& b) {
                     Put32(b, 10, 1);
                     Put32(b, 14, 9);  // unary NOT of the field node
                   }},
        DamageCase{"ListElementAsOperand", kExact,
                   [](Buffer& b) {
                     Put32(b, 34, 11);
                     Put32(b, 38, 36);
                   }},
        DamageCase{"CaseFlag2", kPrefix, [](Buffer& b) { Put16(b, 18, 2); }},
        DamageCase{"PartialPastConstant", kPrefix, [](Buffer& b) { Put16(b, 20, 13); }},
        DamageCase{"CompareSidesSwapped", kPrefix, [](Buffer& b) {
                     Put16(b, 22, 28);
                     Put16(b, 24, 16);
                   }}));

INSTANTIATE_TEST_SUITE_P(
    FieldsAndConstants, DamagedBuffers,
    ::testing::Values(
        DamageCase{"FieldNumber0", kExact, [](Buffer& b) { Put16(b, 30, 0); }},
        DamageCase{"FieldNumberPastColumns", kExact, [](Buffer& b) { Put16(b, 30, 17); }},
        DamageCase{"FieldOfOtherType", kExact, [](Buffer& b) { Put16(b, 30, 6); }},
        DamageCase{"BlobFieldCompared", kExact, [](Buffer& b) { Put16(b, 30, 5); }},
        DamageCase{"FieldNamePastBuffer", kExact, [](Buffer& b) { Put16(b, 32, 21); }},
        DamageCase{"FieldNameUnterminated", kExact,
                   [](Buffer& b) {
                     b.back() = 'x';
                     Put16(b, 32, 9);
                   }},
        DamageCase{"ConstantTypeBlob", kExact, [](Buffer& b) { Put16(b, 42, 3); }},
        DamageCase{"ConstantTypeUnknown", kExact, [](Buffer& b) { Put16(b, 42, 13); }},
        DamageCase{"ConstantType0", kExact, [](Buffer& b) { Put16(b, 42, 0); }},
        DamageCase{"ConstantSizeZero", kExact, [](Buffer& b) { Put16(b, 44, 0); }},
        DamageCase{"ConstantPastBuffer", kExact, [](Buffer& b) { Put16(b, 44, 13); }},
        DamageCase{"ConstantLiteralPastBuffer", kExact, [](Buffer& b) { Put16(b, 46, 10); }},
        DamageCase{"TextWithoutZero", kExact, [](Buffer& b) { Put16(b, 44, 11); }},
        DamageCase{"IntegerOfWrongSize", "Total = 5", [](Buffer& b) { Put16(b, 44, 2); }},
        DamageCase{"BcdDigitOutOfRange", "Amount = 1", [](Buffer& b) { b[b.size() - 1] = 0x0A; }},
        DamageCase{"BcdPrecision", "Amount = 1", [](Buffer& b) { b[b.size() - 18] = 31; }},
        DamageCase{"BcdDecimals", "Amount = 1", [](Buffer& b) { b[b.size() - 17] = 33; }},
        DamageCase{"LikeOverNumbers", "Count = 1", [](Buffer& b) { Put32(b, 14, 30); }},
        DamageCase{"InWithoutList", "Count IN (1)", [](Buffer& b) { Put32(b, 34, 5); }},
        DamageCase{"ListLoopsBack", "Count IN (1, 2)", [](Buffer& b) {
                     // The second element (at 50 in the node area) points at the first.
                     Put16(b, 10 + 50 + 10, 24);
                   }}));

// Builds a chain of NOT nodes over "Flag" (compiled form), nested `depth` deep.
Buffer NotChain(int depth) {
  Buffer inner = CompileText("Flag");
  const std::size_t innerNodes = inner[8] - 10u;
  const std::size_t nots = static_cast<std::size_t>(depth);
  Buffer out(10);
  for (std::size_t i = 0; i < nots; ++i) {
    Buffer node(10, 0);
    Put32(node, 0, 1);
    Put32(node, 4, 9);
    Put16(node, 8, static_cast<std::uint16_t>((i + 1) * 10));
    out.insert(out.end(), node.begin(), node.end());
  }
  // Shift the inner node offsets by the NOT nodes in front of them.
  Buffer nodes(inner.begin() + 10, inner.begin() + 10 + static_cast<long>(innerNodes));
  const auto shift = static_cast<std::uint16_t>(nots * 10);
  for (std::size_t at : {8u, 10u}) Put16(nodes, at, static_cast<std::uint16_t>(nodes[at] + shift));
  out.insert(out.end(), nodes.begin(), nodes.end());
  out.insert(out.end(), inner.begin() + 10 + static_cast<long>(innerNodes), inner.end());
  Put16(out, 0, 2);
  Put16(out, 2, static_cast<std::uint16_t>(out.size()));
  Put16(out, 4, 0xFFFF);
  Put16(out, 6, 10);
  Put16(out, 8, static_cast<std::uint16_t>(10 + nots * 10 + innerNodes));
  return out;
}

TEST(DeepBuffers, NestingIsBoundedBeforeEvaluation) {
  FakeRecord record;
  record.Set("Flag", LittleEndian<std::int16_t>(1));
  const auto shallow = Load(NotChain(3));
  ASSERT_TRUE(shallow);
  EXPECT_FALSE(shallow->Passes(record)) << "NOT NOT NOT Flag";
  const auto deepest = Load(NotChain(kMaxFilterDepth - 3));
  ASSERT_TRUE(deepest);
  EXPECT_EQ(deepest->Passes(record), (kMaxFilterDepth - 3) % 2 == 0);
  std::string error;
  EXPECT_EQ(Load(NotChain(kMaxFilterDepth), &error), nullptr);
  EXPECT_EQ(error, "the nodes are nested too deeply");
}

TEST(DeepBuffers, CompilerOutputStaysWithinTheEnginesDepth) {
  std::string text = "Count = 0";
  for (int i = 1; i < 900; ++i) text += " OR Count = " + std::to_string(i);
  FakeRecord record;
  record.Set("Count", LittleEndian<std::int16_t>(899));
  const auto program = Load(CompileText(text));
  ASSERT_TRUE(program);
  EXPECT_TRUE(program->Passes(record));
}

}  // namespace
}  // namespace pellory::engine::filter
