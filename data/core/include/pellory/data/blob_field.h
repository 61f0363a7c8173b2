// Blob fields: values read only when asked, through a blob stream, and kept
// in the record buffer's slot afterwards.
#pragma once

#include <string>

#include "pellory/data/bitmap.h"
#include "pellory/data/field.h"

namespace pellory::data {

class TBlobField : public TField {
 public:
  explicit TBlobField(std::string fieldName, TFieldType type = ftBlob, int size = 0);

  // Index of this field's slot in each record buffer, -1 while unbound.
  int BlobSlot() const { return blobSlot_; }
  void SetBlobSlot(int slot) { blobSlot_ = slot; }
  bool Modified() const { return false; }

  bool IsNull() const override;
  // The whole value (converted when Transliterate); "Stream read error" when
  // fewer bytes come than the value's size.
  std::string AsString() const override;
  // The kind of value in parentheses ("(Graphic)"), empty when blank: bytes
  // are no text. A memo shows its text.
  std::string DisplayText() const override;

 private:
  int blobSlot_ = -1;
};

class TMemoField : public TBlobField {
 public:
  explicit TMemoField(std::string fieldName, int size = 0);
};

class TGraphicField : public TBlobField {
 public:
  explicit TGraphicField(std::string fieldName, int size = 0);

  // Reads the stored picture (skipping a graphic header) and decodes it; an
  // empty value or an empty cursor gives an empty image.
  BitmapImage LoadBitmap() const;
};

// The picture stored in any blob field of the current record, read as
// TGraphicField::LoadBitmap reads it; errors are raised.
BitmapImage LoadStoredBitmap(const TBlobField& field);

}  // namespace pellory::data
