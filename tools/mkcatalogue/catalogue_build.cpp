#include "catalogue_build.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "bmp_image.h"
#include "catalogue_table.h"
#include "face_merge.h"
#include "face_scripts.h"
#include "file_names.h"
#include "font_facts.h"
#include "font_sources.h"
#include "record_text.h"
#include "sample_picture.h"
#include "shape_measures.h"
#include "staging_dir.h"

namespace pellory::mkcatalogue {
namespace {

constexpr char kTool[] = "pellory-mkcatalogue: ";

// Thrown for "nothing to catalogue", which has its own exit code.
struct NoFonts : std::runtime_error {
  using std::runtime_error::runtime_error;
};

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

std::string FileAndFormat(const FontFacts& f) {
  std::string text = f.path.string();
  if (f.faceIndex) text += " face " + std::to_string(f.faceIndex);
  return text + " (" + f.format + ")";
}

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

// One line for each face found in more than one file, then a count.
void LogMerges(const std::vector<MergedFace>& faces, std::size_t files, std::ostream& log) {
  std::size_t leftOut = 0;
  for (const auto& face : faces) {
    if (face.leftOut.empty()) continue;
    leftOut += face.leftOut.size();
    log << kTool << "one record for " << FontNameFor(face.kept.family, face.kept.style) << ": kept "
        << FileAndFormat(face.kept) << "; left out ";
    for (std::size_t i = 0; i < face.leftOut.size(); ++i)
      log << (i ? ", " : "") << FileAndFormat(face.leftOut[i]);
    log << '\n';
  }
  if (leftOut > 0)
    log << kTool << Count(files, "font", "fonts") << " hold "
        << Count(faces.size(), "face", "faces") << "; " << Count(leftOut, "copy", "copies")
        << " left out\n";
}

// The kept file of a face first, then the others.
std::vector<const FontFacts*> Copies(const MergedFace& face) {
  std::vector<const FontFacts*> copies{&face.kept};
  for (const auto& other : face.leftOut) copies.push_back(&other);
  return copies;
}

struct RecordContext {
  Shaper* plain;  // null: none
  std::set<std::string> cursiveFamilies;
  FileNameAllocator fileNames;
  FontNameAllocator fontNames;
  std::ostream* report;  // null: no report
  std::map<Category, std::size_t> categories{};
};

// "Normal Sans Serif 812, Normal Serif 403, ...", in the catalogue's order.
std::string CategoryCounts(const std::map<Category, std::size_t>& counts) {
  std::string text;
  for (Category c : kAllCategories) {
    const auto it = counts.find(c);
    text += (text.empty() ? "" : ", ") + std::string(CategoryText(c)) + ' ' +
            std::to_string(it == counts.end() ? 0 : it->second);
  }
  return text;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

CatalogueRecord RecordFor(const FontFacts& f, FT_Face face, RecordContext& context) {
  const FaceCoverage coverage = ReadFaceCoverage(face, f.family);
  ShapeFacts shape = ReadShapeFacts(face, coverage, f.family);
  shape.configuredCursive = context.cursiveFamilies.count(Lower(f.family)) > 0;
  const CategoryDecision decision = DecideCategory(shape);
  ++context.categories[decision.category];
  const std::string name = context.fontNames.Assign(FontNameFor(f.family, f.style));
  const SampleKind kind =
      decision.category == Category::Wingdings ? SampleKind::Symbols : SampleKind::Text;
  CatalogueRecord r;
  r.fontName = ToTableText(name);
  r.description = ToTableText(DescriptionFor(f, coverage.ScriptNames()));
  r.fileName = context.fileNames.Assign(f.path.filename().string());
  r.category = std::string(CategoryText(decision.category));
  Shaper shaper(face);
  r.picture =
      WithGraphicHeader(EncodeGreyBmp(DrawSample(shaper, context.plain, name, kind, coverage)));
  if (context.report)
    *context.report << name << '\t' << r.category << '\t' << ExplainDecision(decision, shape)
                    << "; scripts " << (coverage.scripts.empty() ? "none" : coverage.ScriptNames())
                    << '\t' << f.path.string() << '\n';
  return r;
}

void WriteFontRecords(const std::filesystem::path& directory, const BuildOptions& options,
                      std::ostream& log, std::ostream& report) {
  if (options.fontsDir && !std::filesystem::is_directory(*options.fontsDir))
    throw std::runtime_error("no font directory " + options.fontsDir->string());
  FreeTypeLibrary library = OpenFreeType();
  const auto files =
      options.fontsDir ? DirectoryFaces(library.get(), *options.fontsDir) : FontconfigFaces();
  if (files.empty()) throw NoFonts("no fonts found");
  auto facts = ReadAllFacts(library.get(), files, options, log);
  if (facts.empty())
    throw NoFonts("none of the " + std::to_string(files.size()) + " fonts found could be read");
  const std::size_t readable = facts.size();
  const auto faces = MergeSameFaces(std::move(facts));
  if (!options.quiet) LogMerges(faces, readable, log);
  std::string ignored;
  const FontFace plain = OpenFace(library.get(), PlainFaceFile(), 0, &ignored);
  std::optional<Shaper> plainShaper;
  if (plain) plainShaper.emplace(plain.get());
  RecordContext context{plainShaper ? &*plainShaper : nullptr,
                        CursiveFamilies(),
                        {},
                        {},
                        options.report ? &report : nullptr};
  CatalogueTable table(directory, options.password);
  Progress progress(log, options.quiet, static_cast<std::uint32_t>(faces.size()), 50,
                    "records written");
  for (std::size_t i = 0; i < faces.size(); ++i) {
    // A file that no longer opens gives way to another copy of its face.
    for (const FontFacts* f : Copies(faces[i])) {
      std::string error;
      if (FontFace face = OpenFace(library.get(), f->path, f->faceIndex, &error)) {
        table.Append(RecordFor(*f, face.get(), context));
        break;
      }
      log << kTool << "warning: skipped " << f->path.string() << ": " << error << '\n';
    }
    progress.Done(static_cast<std::uint32_t>(i + 1));
  }
  if (table.records() == 0) throw NoFonts("no fonts could be read");
  table.Finish();
  if (!options.quiet) log << kTool << "categories: " << CategoryCounts(context.categories) << '\n';
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

int BuildCatalogue(const BuildOptions& options, std::ostream& log, std::ostream& report) {
  try {
    StagingDir staging(options.output);
    if (options.synthetic)
      WriteSyntheticRecords(staging.path(), options, log);
    else
      WriteFontRecords(staging.path(), options, log, report);
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

int BuildCatalogue(const BuildOptions& options, std::ostream& log) {
  return BuildCatalogue(options, log, log);
}

}  // namespace pellory::mkcatalogue
