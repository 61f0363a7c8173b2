// An installed face as HarfBuzz reads it, for what Qt does not offer: the
// OpenType features the face has (with their names), words shaped with
// features turned on or off, its variation axes, and words shaped and drawn
// at any point of them. A named instance of a variable face (fontconfig's
// face index with the instance in its high bits) is that instance.
#pragma once

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "specimen_options.h"

struct hb_face_t;
struct hb_font_t;

namespace pellory::specimen {

struct ShapedWord {
  QList<quint32> glyphs;
  QList<QPointF> positions;  // from the word's left end on its baseline, in pixels
  double width = 0;          // pixels
  bool rightToLeft = false;
};

struct VariationAxis {
  std::string tag;  // "wght"
  QString name;     // the face's own: "Weight"
  double minimum = 0, defaultValue = 0, maximum = 0;
};

struct AxisSetting {
  std::string tag;
  double value = 0;
};

class OpenTypeFace {
 public:
  // An empty path makes a face that is not Valid().
  OpenTypeFace(const std::string& path, int index);
  ~OpenTypeFace();
  OpenTypeFace(const OpenTypeFace&) = delete;
  OpenTypeFace& operator=(const OpenTypeFace&) = delete;

  bool Valid() const { return font_ != nullptr; }
  // The tags of the face's GSUB and GPOS features, sorted, each once.
  const std::vector<std::string>& Features() const { return features_; }
  bool Offers(const std::string& tag) const;
  // The face's own name of a feature (stylistic sets and character
  // variants may have one), else the name OpenType registers, else empty.
  QString FeatureName(const std::string& tag) const;
  // The axes a user sees (hidden ones left out).
  std::vector<VariationAxis> Axes() const;
  // Every axis at the face's own point: its named instance's, else the defaults.
  std::vector<AxisSetting> OwnPoint() const;

  // A word shaped at `pixelSize` with `features` (on top of the defaults),
  // at the face's own instance, or at `axes` where given.
  ShapedWord Shape(const QString& word, const std::vector<FeatureRequest>& features,
                   double pixelSize, const std::vector<AxisSetting>& axes = {}) const;
  // The outlines of a shaped word's glyphs at `axes`, placed as shaped.
  QPainterPath Outlines(const ShapedWord& word, double pixelSize,
                        const std::vector<AxisSetting>& axes) const;

 private:
  hb_font_t* FontAt(const std::vector<AxisSetting>& axes) const;

  hb_face_t* face_ = nullptr;
  hb_font_t* font_ = nullptr;
  unsigned instance_ = 0;  // the named instance + 1; 0 for none
  std::vector<std::string> features_;
};

// The name OpenType's registry gives a feature tag ("smcp": "Small
// Capitals", "ss03": "Stylistic Set 3"); empty for a tag it does not name.
QString RegisteredFeatureName(const std::string& tag);

}  // namespace pellory::specimen
