#include "opentype_face.h"

#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace pellory::specimen {
namespace {

hb_tag_t Tag(const std::string& tag) {
  return hb_tag_from_string(tag.data(), static_cast<int>(tag.size()));
}

std::string TagText(hb_tag_t tag) {
  char text[5] = {};
  hb_tag_to_string(tag, text);
  return std::string(text, strnlen(text, 4));
}

// At most this many axes are read: real fonts have a handful.
constexpr unsigned kMaxAxes = 32;

std::vector<hb_ot_var_axis_info_t> AxisInfos(hb_face_t* face) {
  std::vector<hb_ot_var_axis_info_t> infos(kMaxAxes);
  unsigned count = kMaxAxes;
  hb_ot_var_get_axis_infos(face, 0, &count, infos.data());
  infos.resize(count);
  return infos;
}

QString NameOf(hb_face_t* face, hb_ot_name_id_t id) {
  if (id == HB_OT_NAME_ID_INVALID) return {};
  char text[256];
  unsigned size = sizeof text;
  if (hb_ot_name_get_utf8(face, id, HB_LANGUAGE_INVALID, &size, text) == 0) return {};
  return QString::fromUtf8(text);
}

std::vector<hb_variation_t> Variations(const std::vector<AxisSetting>& axes) {
  std::vector<hb_variation_t> variations;
  for (const AxisSetting& axis : axes)
    variations.push_back({Tag(axis.tag), static_cast<float>(axis.value)});
  return variations;
}

// hb_draw callbacks into a QPainterPath, font units scaled to pixels and
// turned to y downwards.
struct PathDraw {
  QPainterPath path;
  QPointF origin;
  double scale = 1;
  QPointF At(float x, float y) const { return origin + QPointF(x * scale, -y * scale); }
};

hb_draw_funcs_t* PathFunctions() {
  static hb_draw_funcs_t* funcs = [] {
    hb_draw_funcs_t* f = hb_draw_funcs_create();
    hb_draw_funcs_set_move_to_func(
        f,
        [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
          auto* d = static_cast<PathDraw*>(data);
          d->path.moveTo(d->At(x, y));
        },
        nullptr, nullptr);
    hb_draw_funcs_set_line_to_func(
        f,
        [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
          auto* d = static_cast<PathDraw*>(data);
          d->path.lineTo(d->At(x, y));
        },
        nullptr, nullptr);
    hb_draw_funcs_set_quadratic_to_func(
        f,
        [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, float cx, float cy, float x, float y,
           void*) {
          auto* d = static_cast<PathDraw*>(data);
          d->path.quadTo(d->At(cx, cy), d->At(x, y));
        },
        nullptr, nullptr);
    hb_draw_funcs_set_cubic_to_func(
        f,
        [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, float c1x, float c1y, float c2x,
           float c2y, float x, float y, void*) {
          auto* d = static_cast<PathDraw*>(data);
          d->path.cubicTo(d->At(c1x, c1y), d->At(c2x, c2y), d->At(x, y));
        },
        nullptr, nullptr);
    hb_draw_funcs_set_close_path_func(
        f,
        [](hb_draw_funcs_t*, void* data, hb_draw_state_t*, void*) {
          static_cast<PathDraw*>(data)->path.closeSubpath();
        },
        nullptr, nullptr);
    hb_draw_funcs_make_immutable(f);
    return f;
  }();
  return funcs;
}

}  // namespace

QString RegisteredFeatureName(const std::string& tag) {
  static const std::map<std::string, const char*> names = {
      {"aalt", "Access All Alternates"},
      {"afrc", "Alternative Fractions"},
      {"c2pc", "Petite Capitals From Capitals"},
      {"c2sc", "Small Capitals From Capitals"},
      {"calt", "Contextual Alternates"},
      {"case", "Case-Sensitive Forms"},
      {"ccmp", "Glyph Composition/Decomposition"},
      {"clig", "Contextual Ligatures"},
      {"cpsp", "Capital Spacing"},
      {"cswh", "Contextual Swash"},
      {"dlig", "Discretionary Ligatures"},
      {"dnom", "Denominators"},
      {"frac", "Fractions"},
      {"hist", "Historical Forms"},
      {"hlig", "Historical Ligatures"},
      {"kern", "Kerning"},
      {"liga", "Standard Ligatures"},
      {"lnum", "Lining Figures"},
      {"locl", "Localized Forms"},
      {"mark", "Mark Positioning"},
      {"mkmk", "Mark to Mark Positioning"},
      {"numr", "Numerators"},
      {"onum", "Oldstyle Figures"},
      {"ordn", "Ordinals"},
      {"ornm", "Ornaments"},
      {"pcap", "Petite Capitals"},
      {"pnum", "Proportional Figures"},
      {"salt", "Stylistic Alternates"},
      {"sinf", "Scientific Inferiors"},
      {"smcp", "Small Capitals"},
      {"subs", "Subscript"},
      {"sups", "Superscript"},
      {"swsh", "Swash"},
      {"titl", "Titling"},
      {"tnum", "Tabular Figures"},
      {"unic", "Unicase"},
      {"zero", "Slashed Zero"},
  };
  if (const auto it = names.find(tag); it != names.end()) return QString::fromUtf8(it->second);
  const bool numbered = tag.size() == 4 && std::isdigit(static_cast<unsigned char>(tag[2])) &&
                        std::isdigit(static_cast<unsigned char>(tag[3]));
  if (numbered && tag.rfind("ss", 0) == 0)
    return QStringLiteral("Stylistic Set %1").arg(std::stoi(tag.substr(2)));
  if (numbered && tag.rfind("cv", 0) == 0)
    return QStringLiteral("Character Variant %1").arg(std::stoi(tag.substr(2)));
  return {};
}

OpenTypeFace::OpenTypeFace(const std::string& path, int index) {
  if (path.empty()) return;
  hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
  if (!blob) return;
  face_ = hb_face_create(blob, static_cast<unsigned>(index) & 0xFFFF);
  hb_blob_destroy(blob);
  font_ = hb_font_create(face_);
  instance_ = static_cast<unsigned>(index) >> 16;
  if (instance_) hb_font_set_var_named_instance(font_, instance_ - 1);
  for (const hb_tag_t table : {HB_OT_TAG_GSUB, HB_OT_TAG_GPOS}) {
    hb_tag_t tags[512];
    unsigned count = 512;
    hb_ot_layout_table_get_feature_tags(face_, table, 0, &count, tags);
    for (unsigned i = 0; i < count; ++i) features_.push_back(TagText(tags[i]));
  }
  std::sort(features_.begin(), features_.end());
  features_.erase(std::unique(features_.begin(), features_.end()), features_.end());
}

OpenTypeFace::~OpenTypeFace() {
  hb_font_destroy(font_);
  hb_face_destroy(face_);
}

bool OpenTypeFace::Offers(const std::string& tag) const {
  return std::binary_search(features_.begin(), features_.end(), tag);
}

QString OpenTypeFace::FeatureName(const std::string& tag) const {
  unsigned feature = 0;
  hb_ot_name_id_t label = HB_OT_NAME_ID_INVALID;
  if (hb_ot_layout_language_find_feature(face_, HB_OT_TAG_GSUB, 0,
                                         HB_OT_LAYOUT_DEFAULT_LANGUAGE_INDEX, Tag(tag), &feature) &&
      hb_ot_layout_feature_get_name_ids(face_, HB_OT_TAG_GSUB, feature, &label, nullptr, nullptr,
                                        nullptr, nullptr)) {
    const QString own = NameOf(face_, label);
    if (!own.isEmpty()) return own;
  }
  return RegisteredFeatureName(tag);
}

std::vector<VariationAxis> OpenTypeFace::Axes() const {
  std::vector<VariationAxis> axes;
  if (!face_) return axes;
  for (const hb_ot_var_axis_info_t& info : AxisInfos(face_)) {
    if (info.flags & HB_OT_VAR_AXIS_FLAG_HIDDEN) continue;
    axes.push_back({TagText(info.tag), NameOf(face_, info.name_id), info.min_value,
                    info.default_value, info.max_value});
  }
  return axes;
}

// A font of its own (a sub-font would draw at its parent's point), in font
// units, at `axes`, else at the face's named instance.
hb_font_t* OpenTypeFace::FontAt(const std::vector<AxisSetting>& axes) const {
  hb_font_t* font = hb_font_create(face_);
  const int upem = static_cast<int>(hb_face_get_upem(face_));
  hb_font_set_scale(font, upem, upem);
  if (!axes.empty()) {
    const std::vector<hb_variation_t> variations = Variations(axes);
    hb_font_set_variations(font, variations.data(), static_cast<unsigned>(variations.size()));
  } else if (instance_) {
    hb_font_set_var_named_instance(font, instance_ - 1);
  }
  return font;
}

std::vector<AxisSetting> OpenTypeFace::OwnPoint() const {
  std::vector<AxisSetting> point;
  if (!face_) return point;
  const std::vector<hb_ot_var_axis_info_t> infos = AxisInfos(face_);
  float coords[kMaxAxes];
  unsigned coordCount = kMaxAxes;
  const bool named = instance_ && hb_ot_var_named_instance_get_design_coords(
                                      face_, instance_ - 1, &coordCount, coords) == infos.size();
  for (std::size_t i = 0; i < infos.size(); ++i)
    point.push_back({TagText(infos[i].tag), named ? coords[i] : infos[i].default_value});
  return point;
}

ShapedWord OpenTypeFace::Shape(const QString& word, const std::vector<FeatureRequest>& features,
                               double pixelSize, const std::vector<AxisSetting>& axes) const {
  ShapedWord shaped;
  if (!font_) return shaped;
  hb_font_t* font = FontAt(axes);
  const int upem = static_cast<int>(hb_face_get_upem(face_));
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(word.utf16()),
                      static_cast<int>(word.size()), 0, -1);
  hb_buffer_guess_segment_properties(buffer);
  std::vector<hb_feature_t> settings;
  for (const FeatureRequest& f : features)
    settings.push_back({Tag(f.tag), f.value, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END});
  hb_shape(font, buffer, settings.data(), static_cast<unsigned>(settings.size()));
  unsigned count = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, nullptr);
  const double scale = pixelSize / upem;
  double x = 0;
  for (unsigned i = 0; i < count; ++i) {
    shaped.glyphs.append(info[i].codepoint);
    shaped.positions.append(
        QPointF((x + position[i].x_offset) * scale, -position[i].y_offset * scale));
    x += position[i].x_advance;
  }
  shaped.width = x * scale;
  shaped.rightToLeft = hb_buffer_get_direction(buffer) == HB_DIRECTION_RTL;
  hb_buffer_destroy(buffer);
  hb_font_destroy(font);
  return shaped;
}

QPainterPath OpenTypeFace::Outlines(const ShapedWord& word, double pixelSize,
                                    const std::vector<AxisSetting>& axes) const {
  PathDraw draw;
  if (!font_) return draw.path;
  hb_font_t* font = FontAt(axes);
  draw.scale = pixelSize / hb_face_get_upem(face_);
  for (qsizetype i = 0; i < word.glyphs.size(); ++i) {
    draw.origin = word.positions[i];
    hb_font_get_glyph_shape(font, word.glyphs[i], PathFunctions(), &draw);
  }
  hb_font_destroy(font);
  return draw.path;
}

}  // namespace pellory::specimen
