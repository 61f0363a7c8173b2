// What a screen reader says about a sample picture: whose sample it is, or
// that the record has none. The picture box and the grid's picture cells
// say the same.
#pragma once

#include <QString>

namespace pellory::data {
class TField;
}  // namespace pellory::data

namespace pellory::ui {

// "Sample of " and the font name of the picture field's current record;
// "no picture" when the field is missing or blank.
QString SampleDescription(const data::TField* picture);

}  // namespace pellory::ui
