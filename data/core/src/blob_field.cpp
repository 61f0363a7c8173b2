#include "pellory/data/blob_field.h"

#include "pellory/data/blob_stream.h"
#include "pellory/data/dataset.h"

namespace pellory::data {

TBlobField::TBlobField(std::string fieldName, TFieldType type, int size)
    : TField(std::move(fieldName), type, size) {}

bool TBlobField::IsNull() const {
  const TDataSet* dataSet = DataSet();
  if (dataSet == nullptr) return true;
  const RecordBuffer* buffer = dataSet->ActiveBuffer();
  return buffer == nullptr || dataSet->BlobIsNull(*this, *buffer);
}

std::string TBlobField::AsString() const {
  TBlobStream stream(*this);
  const std::uint64_t size = stream.Size();
  std::string text;
  // Read in pieces so that a wrong size from the engine cannot ask for an
  // absurd allocation up front.
  while (stream.Position() < size) {
    const std::uint64_t want = std::min<std::uint64_t>(size - stream.Position(), 1 << 20);
    const std::string piece = stream.Read(static_cast<std::size_t>(want));
    if (piece.empty()) throw StreamReadError();
    text += piece;
  }
  return text;
}

std::string TBlobField::DisplayText() const {
  if (DataType() == ftMemo) return AsString();
  if (IsNull()) return {};
  switch (DataType()) {
    case ftGraphic:
      return "(Graphic)";
    case ftFmtMemo:
      return "(Formatted memo)";
    case ftParadoxOle:
    case ftDBaseOle:
      return "(OLE)";
    case ftTypedBinary:
      return "(Binary)";
    default:
      return "(Blob)";
  }
}

TMemoField::TMemoField(std::string fieldName, int size)
    : TBlobField(std::move(fieldName), ftMemo, size) {
  SetTransliterate(true);
}

TGraphicField::TGraphicField(std::string fieldName, int size)
    : TBlobField(std::move(fieldName), ftGraphic, size) {}

BitmapImage TGraphicField::LoadBitmap() const {
  return LoadStoredBitmap(*this);
}

BitmapImage LoadStoredBitmap(const TBlobField& field) {
  TBlobStream stream(field);
  const std::uint64_t size = stream.Size();
  if (size >= 8) {
    const std::string head = stream.Read(8);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(head.data());
    if (StoredPictureOffset({bytes, head.size()}, size) == 0)
      stream.Seek(0, TBlobStream::Origin::Beginning);
  }
  std::string rest;
  while (stream.Position() < size) {
    const std::uint64_t want = std::min<std::uint64_t>(size - stream.Position(), 1 << 20);
    const std::string piece = stream.Read(static_cast<std::size_t>(want));
    if (piece.empty()) break;  // the decoder reports what is missing
    rest += piece;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(rest.data());
  return DecodeBitmap({bytes, rest.size()});
}

}  // namespace pellory::data
