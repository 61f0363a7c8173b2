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
#include "face_record.h"
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

// What became of the faces listed, counted for the closing line.
struct FaceCounts {
  std::size_t listed = 0, unreadable = 0, damaged = 0, copies = 0, records = 0;
};

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

std::string FaceName(const FontFacts& f) {
  std::string text = f.path.string();
  if (f.FaceNumber()) text += " face " + std::to_string(f.FaceNumber());
  if (f.variations.instance) text += " instance " + std::to_string(f.variations.instance);
  return text;
}

std::vector<FontFacts> ReadAllFacts(FT_Library library, const std::vector<FaceRef>& faces,
                                    const BuildOptions& options, std::ostream& log,
                                    FaceCounts& counts) {
  std::vector<FontFacts> all;
  counts.listed = faces.size();
  for (std::size_t i = 0; i < faces.size(); ++i) {
    std::string error;
    if (FontFace face = OpenFace(library, faces[i].file, faces[i].index, &error)) {
      all.push_back(ReadFontFacts(face.get(), faces[i].file, faces[i].index,
                                  faces[i].foundry ? &*faces[i].foundry : nullptr));
    } else {
      ++counts.unreadable;
      log << kTool << "warning: skipped " << faces[i].file.string() << ": " << error << '\n';
    }
    if (!options.quiet && ((i + 1) % 50 == 0 || i + 1 == faces.size()))
      log << kTool << (i + 1) << " of " << faces.size() << " faces opened: " << all.size()
          << " read, " << counts.unreadable << " skipped\n";
  }
  return all;
}

std::string FileAndFormat(const FontFacts& f) {
  return FaceName(f) + " (" + f.format + ")";
}

// The face's copies the record was not made from.
void LogMerge(const FontFacts& kept, const std::vector<const FontFacts*>& leftOut,
              std::ostream& log) {
  log << kTool << "one record for " << FontNameFor(kept.family, kept.style) << ": kept "
      << FileAndFormat(kept) << "; left out ";
  for (std::size_t i = 0; i < leftOut.size(); ++i)
    log << (i ? ", " : "") << FileAndFormat(*leftOut[i]);
  log << '\n';
}

// The kept file of a face first, then the others.
std::vector<const FontFacts*> Copies(const MergedFace& face) {
  std::vector<const FontFacts*> copies{&face.kept};
  for (const auto& other : face.leftOut) copies.push_back(&other);
  return copies;
}

struct RecordContext {
  SharedInputs shared;
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

CatalogueRecord RecordFor(const FontFacts& f, FT_Face face, FaceRecord& read,
                          RecordContext& context) {
  ++context.categories[read.decision.category];
  const std::string wanted = FontNameFor(f.family, f.style);
  const std::string name = context.fontNames.Assign(wanted);
  if (name != wanted) read.picture = DrawFacePicture(face, read, name, context.shared);
  CatalogueRecord r;
  r.fontName = ToTableText(name);
  r.description = ToTableText(DescriptionFor(f, read.coverage.ScriptNames()));
  r.fileName = context.fileNames.Assign(f.path.filename().string());
  r.category = std::string(CategoryText(read.decision.category));
  r.picture = WithGraphicHeader(EncodeGreyBmp(read.picture));
  if (context.report)
    *context.report << name << '\t' << r.category << '\t'
                    << ExplainDecision(read.decision, read.shape) << "; scripts "
                    << (read.coverage.scripts.empty() ? "none" : read.coverage.ScriptNames())
                    << '\t' << f.path.string() << '\n';
  return r;
}

// The face's record from its first sound copy: a copy that does not open
// or is damaged is told and gives way to the next, so a damaged copy never
// displaces a sound one. Answers whether a record was appended.
bool AppendFace(FT_Library library, const MergedFace& merged, RecordContext& context,
                CatalogueTable& table, const BuildOptions& options, std::ostream& log,
                FaceCounts& counts) {
  const std::vector<const FontFacts*> copies = Copies(merged);
  for (std::size_t i = 0; i < copies.size(); ++i) {
    const FontFacts& f = *copies[i];
    std::string error;
    FontFace face = OpenFace(library, f.path, f.faceIndex, &error);
    FaceOutcome outcome;
    if (face) outcome = ReadFace(face.get(), f, FontNameFor(f.family, f.style), context.shared);
    if (!face || !outcome.record) {
      ++counts.damaged;
      log << kTool << "warning: left out " << FaceName(f) << ": " << (face ? outcome.fault : error)
          << '\n';
      continue;
    }
    table.Append(RecordFor(f, face.get(), *outcome.record, context));
    ++counts.records;
    const std::vector<const FontFacts*> rest(copies.begin() + static_cast<long>(i) + 1,
                                             copies.end());
    counts.copies += rest.size();
    if (!rest.empty() && !options.quiet) LogMerge(f, rest, log);
    return true;
  }
  return false;
}

// "2,204 faces listed: 2,180 records, 20 copies of other faces left out, 3
// damaged and 1 unreadable"
std::string CountsLine(const FaceCounts& c) {
  return Count(c.listed, "face", "faces") + " listed: " + Count(c.records, "record", "records") +
         ", " + Count(c.copies, "copy", "copies") + " of other faces left out, " +
         std::to_string(c.damaged) + " damaged and " + std::to_string(c.unreadable) +
         " unreadable left out";
}

void WriteFontRecords(const std::filesystem::path& directory, const BuildOptions& options,
                      std::ostream& log, std::ostream& report) {
  if (options.fontsDir && !std::filesystem::is_directory(*options.fontsDir))
    throw std::runtime_error("no font directory " + options.fontsDir->string());
  FreeTypeLibrary library = OpenFreeType();
  const auto files =
      options.fontsDir ? DirectoryFaces(library.get(), *options.fontsDir) : FontconfigFaces();
  if (files.empty()) throw NoFonts("no fonts found");
  FaceCounts counts;
  auto facts = ReadAllFacts(library.get(), files, options, log, counts);
  if (facts.empty())
    throw NoFonts("none of the " + std::to_string(files.size()) + " fonts found could be read");
  const auto faces = MergeSameFaces(std::move(facts));
  std::string ignored;
  const FontFace plain = OpenFace(library.get(), PlainFaceFile(), 0, &ignored);
  std::optional<Shaper> plainShaper;
  if (plain) plainShaper.emplace(plain.get());
  // A damaged plain face would write every name it draws as garbage.
  if (plainShaper && !TableFault(plain.get(), *plainShaper).empty()) plainShaper.reset();
  const std::set<std::string> cursive = CursiveFamilies();
  RecordContext context{{plainShaper ? &*plainShaper : nullptr, &cursive},
                        {},
                        {},
                        options.report ? &report : nullptr};
  CatalogueTable table(directory, options.password);
  for (std::size_t i = 0; i < faces.size(); ++i) {
    AppendFace(library.get(), faces[i], context, table, options, log, counts);
    if (!options.quiet && ((i + 1) % 50 == 0 || i + 1 == faces.size()))
      log << kTool << (i + 1) << " of " << faces.size()
          << " faces done: " << Count(counts.records, "record", "records") << " written\n";
  }
  if (!options.quiet) log << kTool << CountsLine(counts) << '\n';
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
