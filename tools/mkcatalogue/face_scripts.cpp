#include "face_scripts.h"

#include <hb.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "glyph_raster.h"

namespace pellory::mkcatalogue {
namespace {

// What we know of a script beyond what Unicode says: the words of family
// names made for it, how many letters a face needs to cover it (when not
// the default), and our line of text in it. The order decides between
// name words: kana and Hangul come before Han, as "CJK" names all three.
struct ScriptFacts {
  const char* iso;
  const char* name;
  std::vector<std::string_view> nameWords;
  int needed;
  const char* sample;
  // A second line for family names with one of these words.
  std::vector<std::string_view> variantWords;
  const char* variantSample;
};

// Fewer letters than this are the odd extras of a face made for another
// script (DejaVu Sans maps a few of many).
constexpr int kLettersToCover = 15;

const std::vector<ScriptFacts>& Table() {
  static const std::vector<ScriptFacts> table = {
      {"Latn", "Latin", {"Latin"}, 20, kPangram, {}, nullptr},
      {"Grek", "Greek", {"Greek"}, 40, "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία", {}, nullptr},
      {"Cyrl",
       "Cyrillic",
       {"Cyrillic"},
       48,
       "Съешь же ещё этих мягких французских булок",
       {},
       nullptr},
      {"Armn", "Armenian", {"Armenian"}, 60, "Բոլոր մարդիկ ծնվում են ազատ", {}, nullptr},
      {"Hebr", "Hebrew", {"Hebrew"}, 22, "דג סקרן שט בים מאוכזב ולפתע מצא חברה", {}, nullptr},
      {"Arab",
       "Arabic",
       {"Arabic", "Naskh", "Kufi", "Nastaliq", "Urdu", "Persian"},
       28,
       "نص حكيم له سر قاطع وذو شأن عظيم",
       {},
       nullptr},
      {"Deva", "Devanagari", {"Devanagari", "Hindi"}, 40, "सभी मनुष्य जन्म से स्वतन्त्र हैं", {}, nullptr},
      {"Beng",
       "Bengali",
       {"Bengali", "Bangla"},
       30,
       "সমস্ত মানুষ স্বাধীনভাবে জন্মগ্রহণ করে",
       {},
       nullptr},
      {"Guru", "Gurmukhi", {"Gurmukhi", "Punjabi"}, 25, "ਸਤਿ ਸ੍ਰੀ ਅਕਾਲ", {}, nullptr},
      {"Gujr", "Gujarati", {"Gujarati"}, 30, "નમસ્તે", {}, nullptr},
      {"Orya", "Oriya", {"Oriya", "Odia"}, 30, "ନମସ୍କାର", {}, nullptr},
      {"Taml",
       "Tamil",
       {"Tamil"},
       22,
       "மனிதப் பிறவியினர் சகலரும் சுதந்திரமாகவே பிறக்கின்றனர்",
       {},
       nullptr},
      {"Telu", "Telugu", {"Telugu"}, 35, "నమస్కారం", {}, nullptr},
      {"Knda", "Kannada", {"Kannada"}, 35, "ನಮಸ್ಕಾರ", {}, nullptr},
      {"Mlym", "Malayalam", {"Malayalam"}, 35, "നമസ്കാരം", {}, nullptr},
      {"Sinh", "Sinhala", {"Sinhala"}, 35, "ආයුබෝවන්", {}, nullptr},
      {"Thai", "Thai", {"Thai"}, 40, "เป็นมนุษย์สุดประเสริฐเลิศคุณค่า", {}, nullptr},
      {"Laoo", "Lao", {"Lao"}, 20, "ສະບາຍດີ", {}, nullptr},
      {"Tibt", "Tibetan", {"Tibetan"}, 30, "བཀྲ་ཤིས་བདེ་ལེགས།", {}, nullptr},
      {"Mymr", "Myanmar", {"Myanmar", "Burmese"}, 30, "မင်္ဂလာပါ", {}, nullptr},
      {"Geor", "Georgian", {"Georgian"}, 30, "ყველა ადამიანი იბადება თავისუფალი", {}, nullptr},
      {"Ethi", "Ethiopic", {"Ethiopic", "Amharic"}, 200, "ሰላም ለዓለም", {}, nullptr},
      {"Khmr", "Khmer", {"Khmer"}, 35, "សួស្តី", {}, nullptr},
      {"Cher", "Cherokee", {"Cherokee"}, 40, "ᏣᎳᎩ ᎦᏬᏂᎯᏍᏗ", {}, nullptr},
      {"Syrc", "Syriac", {"Syriac"}, 20, "ܫܠܡܐ ܥܠܡܐ", {}, nullptr},
      {"Thaa", "Thaana", {"Thaana", "Dhivehi"}, 20, "ދިވެހި ބަސް", {}, nullptr},
      {"Nkoo", "N'Ko", {"NKo"}, 20, "ߒߞߏ ߞߊ߲", {}, nullptr},
      {"Tfng", "Tifinagh", {"Tifinagh"}, 30, "ⴰⵣⵓⵍ ⵜⴰⵎⴰⵣⵉⵖⵜ", {}, nullptr},
      // Set horizontally: the picture's 124 pixels, less the name line,
      // hold about three letters of a vertical column, which is no line.
      {"Mong", "Mongolian", {"Mongolian"}, 30, "ᠮᠣᠩᠭᠣᠯ ᠬᠡᠯᠡ", {}, nullptr},
      // No line of ours: the run of its own characters.
      {"Nshu", "Nushu", {"Nushu"}, 15, "", {}, nullptr},
      {"Hang",
       "Hangul",
       {"KR", "Korean", "Hangul"},
       2000,
       "다람쥐 헌 쳇바퀴에 타고파",
       {},
       nullptr},
      {"Hira", "Hiragana", {"JP", "Japanese"}, 70, "色は匂へど散りぬるを", {}, nullptr},
      {"Kana", "Katakana", {}, 70, "イロハニホヘト チリヌルヲ", {}, nullptr},
      {"Hani",
       "Han",
       {"CJK", "SC", "TC", "HK", "Chinese"},
       2000,
       "我能吞下玻璃而不伤身体",
       {"TC", "HK"},
       "我能吞下玻璃而不傷身體"},
  };
  return table;
}

// Names of further scripts, for the description; others show their code.
const std::map<std::string, const char*>& MoreNames() {
  static const std::map<std::string, const char*> names = {
      {"Adlm", "Adlam"},      {"Bali", "Balinese"},
      {"Bamu", "Bamum"},      {"Batk", "Batak"},
      {"Bopo", "Bopomofo"},   {"Bugi", "Buginese"},
      {"Cakm", "Chakma"},     {"Cans", "Canadian Syllabics"},
      {"Copt", "Coptic"},     {"Goth", "Gothic"},
      {"Java", "Javanese"},   {"Kali", "Kayah Li"},
      {"Lepc", "Lepcha"},     {"Limb", "Limbu"},
      {"Lisu", "Lisu"},       {"Mtei", "Meetei Mayek"},
      {"Ogam", "Ogham"},      {"Olck", "Ol Chiki"},
      {"Runr", "Runic"},      {"Samr", "Samaritan"},
      {"Saur", "Saurashtra"}, {"Sund", "Sundanese"},
      {"Tale", "Tai Le"},     {"Tavt", "Tai Viet"},
      {"Tglg", "Tagalog"},    {"Vaii", "Vai"},
      {"Yiii", "Yi"},
  };
  return names;
}

std::string IsoCode(hb_script_t script) {
  char tag[5] = {};
  hb_tag_to_string(hb_script_to_iso15924_tag(script), tag);
  return tag;
}

const ScriptFacts* FactsOf(std::string_view iso) {
  for (const ScriptFacts& facts : Table())
    if (iso == facts.iso) return &facts;
  return nullptr;
}

std::string NameOf(const std::string& iso) {
  if (const ScriptFacts* facts = FactsOf(iso)) return facts->name;
  const auto it = MoreNames().find(iso);
  return it != MoreNames().end() ? it->second : iso;
}

bool IsSymbol(hb_unicode_general_category_t category) {
  return category == HB_UNICODE_GENERAL_CATEGORY_OTHER_SYMBOL ||
         category == HB_UNICODE_GENERAL_CATEGORY_MATH_SYMBOL ||
         category == HB_UNICODE_GENERAL_CATEGORY_PRIVATE_USE;
}

bool IsLetter(hb_unicode_general_category_t category) {
  return category == HB_UNICODE_GENERAL_CATEGORY_UPPERCASE_LETTER ||
         category == HB_UNICODE_GENERAL_CATEGORY_LOWERCASE_LETTER ||
         category == HB_UNICODE_GENERAL_CATEGORY_TITLECASE_LETTER ||
         category == HB_UNICODE_GENERAL_CATEGORY_OTHER_LETTER;
}

struct LetterTally {
  int letters = 0;
  std::u32string first;  // the first letters mapped, for a sample of letters
};

constexpr std::size_t kSampleLetters = 16;

std::vector<std::string_view> Words(std::string_view family) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= family.size(); ++i) {
    if (i < family.size() && family[i] != ' ' && family[i] != '-' && family[i] != '_') continue;
    if (i > start) words.push_back(family.substr(start, i - start));
    start = i + 1;
  }
  return words;
}

CoveredScript Covered(const std::string& iso, const LetterTally& tally, std::string_view family) {
  CoveredScript script{NameOf(iso), iso, tally.letters, {}, EncodeUtf8(tally.first)};
  if (const ScriptFacts* facts = FactsOf(iso)) {
    script.sample = facts->sample;
    if (facts->variantSample && NameHasWord(family, facts->variantWords))
      script.sample = facts->variantSample;
  }
  return script;
}

// The script the face was made for: one its name speaks of; else Latin
// when covered, unless the face holds thousands of ideographs or
// syllables, which no Latin face carries as extras; else the script of
// the most letters.
std::size_t MainScript(const std::vector<CoveredScript>& scripts, std::string_view family) {
  for (const ScriptFacts& facts : Table()) {
    if (!NameHasWord(family, facts.nameWords)) continue;
    for (std::size_t i = 0; i < scripts.size(); ++i)
      if (scripts[i].isoCode == facts.iso) return i;
  }
  std::size_t best = 0, latin = scripts.size(), cjk = scripts.size();
  for (std::size_t i = 0; i < scripts.size(); ++i) {
    const std::string& iso = scripts[i].isoCode;
    if (scripts[i].letters > scripts[best].letters) best = i;
    if (iso == "Latn") latin = i;
    if ((iso == "Hani" || iso == "Hang") &&
        (cjk == scripts.size() || scripts[i].letters > scripts[cjk].letters))
      cjk = i;
  }
  if (cjk != scripts.size()) return cjk;
  return latin != scripts.size() ? latin : best;
}

// Known scripts in the table's order, then the others by code.
int Rank(const std::string& iso) {
  const auto& table = Table();
  for (std::size_t i = 0; i < table.size(); ++i)
    if (iso == table[i].iso) return static_cast<int>(i);
  return static_cast<int>(table.size());
}

}  // namespace

bool NameHasWord(std::string_view family, const std::vector<std::string_view>& wanted) {
  const auto same = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::tolower(static_cast<unsigned char>(x)) ==
                    std::tolower(static_cast<unsigned char>(y));
           });
  };
  for (std::string_view word : Words(family))
    for (std::string_view w : wanted)
      if (same(word, w)) return true;
  return false;
}

bool FaceCoverage::Covers(std::string_view isoCode) const {
  return std::any_of(scripts.begin(), scripts.end(),
                     [&](const CoveredScript& s) { return s.isoCode == isoCode; });
}

std::string FaceCoverage::ScriptNames() const {
  std::string names;
  for (const CoveredScript& s : scripts) names += (names.empty() ? "" : ", ") + s.name;
  return names;
}

FaceCoverage ReadFaceCoverage(FT_Face face, std::string_view family) {
  FaceCoverage coverage;
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return coverage;
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  std::map<std::string, LetterTally> tallies;
  hb_script_t lastScript = HB_SCRIPT_INVALID;
  LetterTally* tally = nullptr;
  FT_UInt glyph = 0;
  for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0;
       c = FT_Get_Next_Char(face, c, &glyph)) {
    ++coverage.mapped;
    const auto category = hb_unicode_general_category(unicode, static_cast<hb_codepoint_t>(c));
    if (IsSymbol(category)) ++coverage.symbols;
    if (!IsLetter(category)) continue;
    coverage.latinCapitals += c >= U'A' && c <= U'Z';
    coverage.latinSmallLetters += c >= U'a' && c <= U'z';
    const hb_script_t script = hb_unicode_script(unicode, static_cast<hb_codepoint_t>(c));
    if (script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED) continue;
    if (script != lastScript || !tally) {  // characters of one script come in runs
      tally = &tallies[IsoCode(script)];
      lastScript = script;
    }
    ++tally->letters;
    if (tally->first.size() < kSampleLetters) tally->first += static_cast<char32_t>(c);
  }
  for (const auto& [iso, t] : tallies) {
    const ScriptFacts* facts = FactsOf(iso);
    if (t.letters < (facts ? facts->needed : kLettersToCover)) continue;
    coverage.scripts.push_back(Covered(iso, t, family));
    coverage.setsText = coverage.setsText || iso != "Grek";
  }
  // Latin counts by its capitals or by its small letters alone.
  if (!coverage.Covers("Latn") &&
      std::max(coverage.latinCapitals, coverage.latinSmallLetters) >= Table().front().needed) {
    coverage.scripts.push_back(Covered("Latn", tallies["Latn"], family));
    coverage.setsText = true;
  }
  std::stable_sort(coverage.scripts.begin(), coverage.scripts.end(),
                   [](const CoveredScript& a, const CoveredScript& b) {
                     return Rank(a.isoCode) < Rank(b.isoCode);
                   });
  if (!coverage.scripts.empty()) {
    const std::size_t main = MainScript(coverage.scripts, family);
    std::rotate(coverage.scripts.begin(), coverage.scripts.begin() + static_cast<long>(main),
                coverage.scripts.begin() + static_cast<long>(main) + 1);
  }
  return coverage;
}

std::string DrawableText(FT_Face face, std::string_view text) {
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  std::u32string kept;
  for (char32_t c : DecodeUtf8(text)) {
    if (c == U' ' || c == 0x200C || c == 0x200D || FT_Get_Char_Index(face, c) != 0) {
      if (c != U' ' || (!kept.empty() && kept.back() != U' ')) kept += c;
      continue;
    }
    const auto category = hb_unicode_general_category(unicode, c);
    if (IsLetter(category) || category == HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK ||
        category == HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK)
      return {};
  }
  while (!kept.empty() && kept.back() == U' ') kept.pop_back();
  return EncodeUtf8(kept);
}

bool MapsAll(FT_Face face, std::string_view text) {
  for (char32_t c : DecodeUtf8(text)) {
    if (c == U' ' || c == 0x200C || c == 0x200D) continue;
    if (FT_Get_Char_Index(face, c) == 0) return false;
  }
  return true;
}

}  // namespace pellory::mkcatalogue
