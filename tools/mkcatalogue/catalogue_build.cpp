#include "catalogue_build.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <vector>

#include "bmp_image.h"
#include "catalogue_table.h"
#include "file_names.h"
#include "font_facts.h"
#include "font_sources.h"
#include "record_text.h"
#include "sample_picture.h"
#include "staging_dir.h"

namespace pellory::mkcatalogue {
namespace {

constexpr char kTool[] = "pellory-mkcatalogue: ";

// Thrown for "nothing to catalogue", which has its own exit code.
struct NoFonts : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Folded(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool FamilyThenStyle(const FontFacts& a, const FontFacts& b) {
  const auto key = [](const FontFacts& f) {
    return std::make_tuple(Folded(f.family), Folded(f.style), f.path, f.faceIndex);
  };
  return key(a) < key(b);
}

class Progress {
 public:
  Progress(std::ostream& log, bool quiet, std::uint32_t total, std::uint32_t step, const char* what)
      : log_(log), quiet_(quiet), total_(total), step_(step), what_(what) {}
  void Done(std::uint32_t n) {
    if (!quiet_ && (n % step_ == 0 || n == total_))
      log_ << kTool << n << " of " << total_ << ' ' << what_ << '\n';
  }

 private:
  std::ostream& log_;
  bool quiet_;
  std::uint32_t total_, step_;
  const char* what_;
};

std::vector<FontFacts> ReadAllFacts(FT_Library library, const std::vector<FaceRef>& faces,
                                    const BuildOptions& options, std::ostream& log) {
  std::vector<FontFacts> all;
  Progress progress(log, options.quiet, static_cast<std::uint32_t>(faces.size()), 50, "fonts read");
  for (std::size_t i = 0; i < faces.size(); ++i) {
    std::string error;
    if (FontFace face = OpenFace(library, faces[i].file, faces[i].index, &error))
      all.push_back(ReadFontFacts(face.get(), faces[i].file, faces[i].index));
    else
      log << kTool << "warning: skipped " << faces[i].file.string() << ": " << error << '\n';
    progress.Done(static_cast<std::uint32_t>(i + 1));
  }
  return all;
}

CatalogueRecord RecordFor(const FontFacts& f, FT_Face face, FT_Face plain,
                          FileNameAllocator& names) {
  const Category category = DecideCategory(f.shape);
  const std::string name = FontNameFor(f.family, f.style);
  const SampleKind kind = category == Category::Wingdings ? SampleKind::Symbols : SampleKind::Text;
  CatalogueRecord r;
  r.fontName = ToTableText(name);
  r.description = ToTableText(DescriptionFor(f));
  r.fileName = names.Assign(f.path.filename().string());
  r.category = std::string(CategoryText(category));
  r.picture = WithGraphicHeader(EncodeGreyBmp(DrawSample(face, plain, name, kind)));
  return r;
}

void WriteFontRecords(const std::filesystem::path& directory, const BuildOptions& options,
                      std::ostream& log) {
  if (options.fontsDir && !std::filesystem::is_directory(*options.fontsDir))
    throw std::runtime_error("no font directory " + options.fontsDir->string());
  FreeTypeLibrary library = OpenFreeType();
  const auto faces =
      options.fontsDir ? DirectoryFaces(library.get(), *options.fontsDir) : FontconfigFaces();
  if (faces.empty()) throw NoFonts("no fonts found");
  auto facts = ReadAllFacts(library.get(), faces, options, log);
  if (facts.empty())
    throw NoFonts("none of the " + std::to_string(faces.size()) + " fonts found could be read");
  std::sort(facts.begin(), facts.end(), FamilyThenStyle);
  std::string ignored;
  const FontFace plain = OpenFace(library.get(), PlainFaceFile(), 0, &ignored);
  CatalogueTable table(directory, options.password);
  FileNameAllocator names;
  Progress progress(log, options.quiet, static_cast<std::uint32_t>(facts.size()), 50,
                    "records written");
  for (std::size_t i = 0; i < facts.size(); ++i) {
    std::string error;
    if (FontFace face = OpenFace(library.get(), facts[i].path, facts[i].faceIndex, &error))
      table.Append(RecordFor(facts[i], face.get(), plain.get(), names));
    else
      log << kTool << "warning: skipped " << facts[i].path.string() << ": " << error << '\n';
    progress.Done(static_cast<std::uint32_t>(i + 1));
  }
  if (table.records() == 0) throw NoFonts("no fonts could be read");
  table.Finish();
}

void WriteSyntheticRecords(const std::filesystem::path& directory, const BuildOptions& options,
                           std::ostream& log) {
  const std::uint32_t count = *options.synthetic;
  const SyntheticRecords records(count, options.mix);
  CatalogueTable table(directory, options.password);
  Progress progress(log, options.quiet, count, 50000, "records written");
  for (std::uint32_t i = 0; i < count; ++i) {
    table.Append(records.Make(i));
    progress.Done(i + 1);
  }
  table.Finish();
}

}  // namespace

int BuildCatalogue(const BuildOptions& options, std::ostream& log) {
  try {
    StagingDir staging(options.output);
    if (options.synthetic)
      WriteSyntheticRecords(staging.path(), options, log);
    else
      WriteFontRecords(staging.path(), options, log);
    staging.Commit();
    if (!options.quiet)
      log << kTool << "wrote " << (options.output / kTableName).string() << ".DB\n";
    return kExitOk;
  } catch (const NoFonts& e) {
    log << kTool << e.what() << '\n';
    return kExitNoFonts;
  } catch (const std::exception& e) {
    log << kTool << e.what() << '\n';
    return kExitFailed;
  }
}

}  // namespace pellory::mkcatalogue
