// Blob fields over the in-memory record source: the slot caching rule
// (counted in engine reads), the graphic header, memo text conversion.
#include <gtest/gtest.h>

#include <cstring>

#include "memory_dataset.h"
#include "pellory/data/blob_stream.h"

namespace pellory::data::testing {
namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 2 x 1 bitmap file, 24 bits per pixel: a red pixel then a blue one.
std::string TwoPixelBitmap() {
  std::string info;
  PutLe(info, 40, 4);
  PutLe(info, 2, 4);
  PutLe(info, 1, 4);
  PutLe(info, 1, 2);
  PutLe(info, 24, 2);
  info.append(24, '\0');
  const std::string pixels("\x00\x00\xFF\xFF\x00\x00\x00\x00", 8);  // B G R, row padded to 8
  std::string file = "BM";
  PutLe(file, static_cast<std::uint32_t>(14 + info.size() + pixels.size()), 4);
  PutLe(file, 0, 4);
  PutLe(file, 54, 4);
  return file + info + pixels;
}

std::string WithGraphicHeader(const std::string& bitmap, std::uint32_t size) {
  std::string out;
  PutLe(out, 1, 2);
  PutLe(out, 0x0100, 2);
  PutLe(out, size, 4);
  return out + bitmap;
}

struct PictureTable {
  explicit PictureTable(std::vector<std::optional<std::string>> values)
      : table(static_cast<int>(values.size())) {
    picture =
        static_cast<TGraphicField*>(&table.AddField(std::make_unique<TGraphicField>("Sample3")));
    memo = static_cast<TMemoField*>(&table.AddField(std::make_unique<TMemoField>("Description")));
    table.blobs = std::move(values);
    table.Open();
  }
  MemoryDataSet table;
  TGraphicField* picture;
  TMemoField* memo;
};

TEST(BlobSlots, APictureWithTheHeaderIsReadOncePerVisit) {
  const std::string bmp = TwoPixelBitmap();
  PictureTable t(
      {WithGraphicHeader(bmp, static_cast<std::uint32_t>(bmp.size())), std::string("x")});
  const BitmapImage first = t.picture->LoadBitmap();
  EXPECT_EQ(first.width, 2);
  const int reads = t.table.blobReads;
  EXPECT_GT(reads, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(t.picture->LoadBitmap().pixels, first.pixels);
  EXPECT_EQ(t.table.blobReads, reads);
  // Leaving the record and coming back reads it again, once.
  t.table.Next();
  t.table.Prior();
  t.picture->LoadBitmap();
  t.picture->LoadBitmap();
  EXPECT_EQ(t.table.blobReads, 2 * reads);
  EXPECT_EQ(t.table.blobFrees, t.table.blobOpens);
}

TEST(BlobSlots, APictureWithoutTheHeaderIsReadOnEveryLoad) {
  PictureTable t({TwoPixelBitmap()});
  t.picture->LoadBitmap();
  const int reads = t.table.blobReads;
  t.picture->LoadBitmap();
  t.picture->LoadBitmap();
  EXPECT_EQ(t.table.blobReads, 3 * reads);
  EXPECT_EQ(t.table.blobOpens, 3);
  EXPECT_EQ(t.table.blobFrees, 3);
}

TEST(BlobSlots, TheHeaderedPictureDecodesLikeTheBareOne) {
  const std::string bmp = TwoPixelBitmap();
  PictureTable t({bmp, WithGraphicHeader(bmp, static_cast<std::uint32_t>(bmp.size()))});
  const BitmapImage bare = t.picture->LoadBitmap();
  t.table.Next();
  const BitmapImage headed = t.picture->LoadBitmap();
  EXPECT_EQ(bare.pixels, headed.pixels);
  ASSERT_EQ(bare.pixels.size(), 2U);
  EXPECT_EQ(bare.pixels[0], 0xFFFF0000U);
  EXPECT_EQ(bare.pixels[1], 0xFF0000FFU);
}

struct BadPicture {
  const char* name;
  std::string value;
  const char* message;
};

class PictureFailures : public ::testing::TestWithParam<BadPicture> {};

TEST_P(PictureFailures, FailWithTheDecodersText) {
  PictureTable t({GetParam().value});
  try {
    t.picture->LoadBitmap();
    FAIL() << "expected a failure";
  } catch (const BitmapError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    BlobSlots, PictureFailures,
    ::testing::Values(BadPicture{"FiveBytes", "BMxyz", "Stream read error"},
                      BadPicture{"NotABitmap", std::string(20, 'Q'), "Bitmap image is not valid"},
                      // Looks like a header but its size is wrong: read from 0, so the
                      // first bytes are not "BM".
                      BadPicture{"HeaderWithWrongSize", WithGraphicHeader(TwoPixelBitmap(), 3),
                                 "Bitmap image is not valid"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(BlobSlots, BlankAndEmptyCursorGiveAnEmptyPicture) {
  PictureTable blank({std::nullopt});
  EXPECT_TRUE(blank.picture->IsNull());
  EXPECT_TRUE(blank.picture->LoadBitmap().IsEmpty());
  EXPECT_EQ(blank.table.blobOpens, 0);
  PictureTable zero({std::string()});
  EXPECT_TRUE(zero.picture->LoadBitmap().IsEmpty());
  PictureTable none({});
  EXPECT_TRUE(none.picture->IsNull());
  EXPECT_TRUE(none.picture->LoadBitmap().IsEmpty());
  EXPECT_EQ(none.memo->AsString(), "");
}

TEST(BlobSlots, ADisplayTextNamesTheKindOfValueAndAMemoShowsItsText) {
  PictureTable t({TwoPixelBitmap(), std::nullopt});
  EXPECT_EQ(t.picture->DisplayText(), "(Graphic)");
  EXPECT_EQ(t.memo->DisplayText(), t.memo->AsString());
  t.table.Next();
  EXPECT_EQ(t.picture->DisplayText(), "") << "blank";
  TBlobField binary("Data");
  EXPECT_EQ(binary.DisplayText(), "") << "no cursor: blank";
}

TEST(MemoText, IsConvertedAndComesFromTheSlotTheSecondTime) {
  const std::string stored("Caf\xE9\r\nline two\0end", 19);
  PictureTable t({stored});
  const std::string expected("Caf\xC3\xA9\r\nline two\0end", 20);
  EXPECT_EQ(t.memo->AsString(), expected);
  const int reads = t.table.blobReads;
  EXPECT_EQ(t.memo->AsString(), expected);
  EXPECT_EQ(t.table.blobReads, reads);
  // The picture field of the same record has its own slot.
  EXPECT_FALSE(t.picture->IsNull());
}

TEST(MemoText, StaysCachedWhileAHeaderlessPictureIsReadAgain) {
  struct TwoBlobs : MemoryDataSet {
    using MemoryDataSet::MemoryDataSet;
    // The picture column holds a bare bitmap, the memo column text.
    void OpenBlob(const TField& field) override {
      MemoryDataSet::OpenBlob(field);
      if (field.DataType() == ftGraphic) openBlob = &picture;
    }
    std::string picture = TwoPixelBitmap();
  };
  TwoBlobs table(1);
  auto& picture =
      static_cast<TGraphicField&>(table.AddField(std::make_unique<TGraphicField>("Sample3")));
  auto& memo = table.AddField(std::make_unique<TMemoField>("Description"));
  table.blobs = {std::string("a description")};
  table.Open();
  EXPECT_EQ(memo.AsString(), "a description");
  const int memoReads = table.blobReads;
  for (int load = 0; load < 3; ++load) {
    EXPECT_EQ(picture.LoadBitmap().width, 2);
    const int before = table.blobReads;
    EXPECT_EQ(memo.AsString(), "a description");
    EXPECT_EQ(table.blobReads, before);
  }
  EXPECT_GT(table.blobReads, memoReads);
}

TEST(MemoText, ABlobThatEndsEarlyIsAStreamReadError) {
  struct ShortBlobs : MemoryDataSet {
    using MemoryDataSet::MemoryDataSet;
    std::uint64_t BlobSize(const TField&) override { return 1000; }
  };
  ShortBlobs table(1);
  auto& memo = table.AddField(std::make_unique<TMemoField>("Description"));
  table.blobs = {std::string("short")};
  table.Open();
  EXPECT_THROW(memo.AsString(), StreamReadError);
}

TEST(BlobStreams, SeekAndReadPiecesFromTheSlot) {
  PictureTable t({std::string("0123456789")});
  {
    TBlobStream fill(*t.memo);
    fill.Read(10);
  }
  TBlobStream stream(*t.memo);
  EXPECT_TRUE(stream.Cached());
  EXPECT_EQ(stream.Size(), 10U);
  stream.Seek(-3, TBlobStream::Origin::End);
  EXPECT_EQ(stream.Read(100), "789");
  stream.Seek(2, TBlobStream::Origin::Beginning);
  stream.Seek(1, TBlobStream::Origin::Current);
  EXPECT_EQ(stream.Read(2), "34");
  stream.Seek(50, TBlobStream::Origin::Beginning);
  EXPECT_EQ(stream.Read(1), "");
}

}  // namespace
}  // namespace pellory::data::testing
