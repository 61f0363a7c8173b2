// The face store written and read back: every kind of face as it was, and
// bytes cut short or changed anywhere refused with a reason, never read as
// another store.
#include "face_store.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pellory::mkcatalogue {
namespace {

FaceStore SampleStore() {
  FaceStore store;
  store.builder = "build 00ff (FreeType 2.12.1, HarfBuzz 6.0.0, fontconfig 2.14.1)";
  store.sharedInputs = "plain face /f/DejaVuSans.ttf; cursive families: z003";
  store.encryption = 0x8848F16E;
  store.blobFile = {2049, 77, 1, {53272576, 1700000000123456789}};
  StoredFace unreadable;
  unreadable.face = {"/f/broken.ttf", 0, std::nullopt};
  unreadable.stamp = {10, 1};
  unreadable.reading.error = "unknown file format";
  StoredFace damaged;
  damaged.face = {"/f/d.ttf", 0, "urw"};
  damaged.stamp = {2000, 2};
  damaged.reading.state = FaceReading::State::Damaged;
  damaged.reading.error = "glyph 30 does not load: invalid composite glyph";
  damaged.reading.facts.family = "Damaged";
  StoredFace variable;
  variable.face = {"/f/Inter.ttc", (3 << 16) | 1, ""};
  variable.stamp = {900000, 3};
  variable.reading.state = FaceReading::State::Sound;
  variable.reading.facts.family = "Inter";
  variable.reading.facts.style = "Thin Italic";
  variable.reading.facts.glyphs = 2548;
  variable.reading.facts.variations = {{{"wght", 100, 400, 900, 100}, {"slnt", -10, 0, 0, -10}}, 3};
  variable.reading.category = Category::ItalicSansSerif;
  variable.reading.rule = "italic by its style flags";
  variable.reading.scripts = "Latin, Greek, Cyrillic";
  variable.record = StoredRecord{"Inter Thin Italic", {0x3000FF, 20000, 1}, {0x1000 | 62, 180, 1}};
  StoredFace leftOut = variable;
  leftOut.face.file = "/f/Inter copy.ttc";
  leftOut.record.reset();
  store.faces = {unreadable, damaged, variable, leftOut};
  return store;
}

std::string Encoded(const FaceStore& store) {
  std::ostringstream out;
  WriteFaceStore(out, store);
  return out.str();
}

TEST(FaceStoreTest, ReadsBackAsWritten) {
  const std::string bytes = Encoded(SampleStore());
  const DecodedFaceStore decoded = DecodeFaceStore(bytes);
  ASSERT_TRUE(decoded.store) << decoded.fault;
  const FaceStore& store = *decoded.store;
  EXPECT_EQ(Encoded(store), bytes);
  EXPECT_EQ(store.builder, SampleStore().builder);
  EXPECT_EQ(store.blobFile, SampleStore().blobFile);
  ASSERT_EQ(store.faces.size(), 4u);
  EXPECT_EQ(store.faces[0].reading.state, FaceReading::State::Unreadable);
  EXPECT_FALSE(store.faces[0].face.foundry);
  EXPECT_EQ(store.faces[1].reading.error, "glyph 30 does not load: invalid composite glyph");
  EXPECT_EQ(store.faces[1].face.foundry, std::optional<std::string>("urw"));
  const StoredFace& inter = store.faces[2];
  EXPECT_EQ(inter.face.index, (3 << 16) | 1);
  EXPECT_EQ(inter.face.foundry, std::optional<std::string>(""));
  EXPECT_EQ(inter.reading.facts.path, "/f/Inter.ttc");
  EXPECT_EQ(inter.reading.facts.variations.InstanceText(), "3 (wght 100, slnt -10)");
  EXPECT_EQ(inter.reading.category, Category::ItalicSansSerif);
  ASSERT_TRUE(inter.record);
  EXPECT_EQ(inter.record->picture, (writer::BlobPointer{0x3000FF, 20000, 1}));
  EXPECT_FALSE(store.faces[3].record);
}

TEST(FaceStoreTest, EveryCutAndEveryChangedByteRefused) {
  const std::string bytes = Encoded(SampleStore());
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    const DecodedFaceStore cut = DecodeFaceStore(std::string_view(bytes).substr(0, size));
    ASSERT_FALSE(cut.store) << "cut to " << size;
    EXPECT_FALSE(cut.fault.empty());
  }
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    std::string changed = bytes;
    changed[at] = static_cast<char>(changed[at] ^ 0x20);
    ASSERT_FALSE(DecodeFaceStore(changed).store) << "byte " << at << " changed";
  }
  EXPECT_FALSE(DecodeFaceStore(bytes + "x").store);
}

}  // namespace
}  // namespace pellory::mkcatalogue
