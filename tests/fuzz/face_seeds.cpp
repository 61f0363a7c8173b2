// pellory-face-seeds OUTPUT_DIRECTORY [EXTRA_DIRECTORY]: the seed corpus of
// the fuzz target fuzz_face, made at build time from Debian's fonts (no
// font is kept in the repository): small subsets of faces of several
// formats and scripts, a variable font with its variations, a colour emoji
// face, a Type 1 face whole, and damaged copies of one subset; then the
// inputs kept in EXTRA_DIRECTORY (fuzz/corpus/fuzz_face/, once-faulty
// inputs). Fonts that are not installed are passed over.
#include <hb-subset.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Seed {
  const char* name;
  const char* font;
  const char* text;  // UTF-8: the characters the subset keeps; null: the file whole
};

const Seed kSeeds[] = {
    {"dejavu-sans", "truetype/dejavu/DejaVuSans.ttf",
     "DejaVu Sans Book Sphinx of black quartz, judge my vow"},
    {"c059-cff", "opentype/urw-base35/C059-Italic.otf", "C059 Italic Sphinx of black quartz"},
    {"inter-variable", "truetype/inter-vf/Inter.var.ttf",
     "Inter Thin Italic Sphinx of black quartz"},
    {"arabic", "truetype/noto/NotoSansArabic-Regular.ttf", "Noto Sans Arabic نص حكيم له سر قاطع"},
    {"devanagari", "truetype/noto/NotoSansDevanagari-Regular.ttf", "Noto सभी मनुष्य जन्म से"},
    {"kristi", "truetype/kristi/Kristi.ttf", "Kristi Medium oeoe ABCDEFGHIKLMNOPRSTUVWXYZ"},
    {"symbols", "truetype/noto/NotoSansSymbols2-Regular.ttf", "Noto ☀☁☂☃☄★☆☇☈☉☊☋"},
    {"emoji", "truetype/noto/NotoColorEmoji.ttf", "😀😁😂🤣"},
    {"dingbats-type1", "X11/Type1/D050000L.pfb", nullptr},
};

std::vector<char> ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const fs::path& file, const char* data, std::size_t size) {
  std::ofstream out(file, std::ios::binary);
  out.write(data, static_cast<std::streamsize>(size));
}

std::vector<char> Subset(const fs::path& font, const char* text) {
  std::vector<char> bytes;
  hb_blob_t* blob = hb_blob_create_from_file_or_fail(font.c_str());
  if (!blob) return bytes;
  hb_face_t* face = hb_face_create(blob, 0);
  hb_subset_input_t* input = hb_subset_input_create_or_fail();
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf8(buffer, text, -1, 0, -1);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  for (unsigned i = 0; i < count; ++i)
    hb_set_add(hb_subset_input_unicode_set(input), infos[i].codepoint);
  if (hb_face_t* subset = input ? hb_subset_or_fail(face, input) : nullptr) {
    hb_blob_t* out = hb_face_reference_blob(subset);
    unsigned length = 0;
    const char* data = hb_blob_get_data(out, &length);
    bytes.assign(data, data + length);
    hb_blob_destroy(out);
    hb_face_destroy(subset);
  }
  hb_buffer_destroy(buffer);
  hb_subset_input_destroy(input);
  hb_face_destroy(face);
  hb_blob_destroy(blob);
  return bytes;
}

// Damaged copies of a subset: cut in half, its table directory zeroed.
void WriteDamaged(const fs::path& out, const std::string& name, std::vector<char> bytes) {
  const std::vector<char> half(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
  Write(out / (name + "-cut"), half.data(), half.size());
  for (std::size_t i = 12; i < bytes.size() && i < 12 + 16 * 8; ++i) bytes[i] = 0;
  Write(out / (name + "-zeroed-directory"), bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: pellory-face-seeds OUTPUT_DIRECTORY [EXTRA_DIRECTORY]\n";
    return 2;
  }
  const fs::path out = argv[1];
  fs::create_directories(out);
  const fs::path fonts = "/usr/share/fonts";
  for (const Seed& seed : kSeeds) {
    const fs::path font = fonts / seed.font;
    if (!fs::exists(font)) continue;
    const std::vector<char> bytes = seed.text ? Subset(font, seed.text) : ReadFile(font);
    if (bytes.empty()) continue;
    Write(out / seed.name, bytes.data(), bytes.size());
    if (std::string(seed.name) == "dejavu-sans") WriteDamaged(out, seed.name, bytes);
  }
  // Never empty: an input that is no font at all.
  const char notAFont[] = "OTTO not a font";
  Write(out / "not-a-font", notAFont, sizeof notAFont - 1);
  if (argc > 2 && fs::is_directory(argv[2]))
    for (const auto& entry : fs::directory_iterator(argv[2]))
      if (entry.is_regular_file())
        fs::copy_file(entry.path(), out / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
  return 0;
}
