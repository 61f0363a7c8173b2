#include "font_records.h"

#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bmp_image.h"
#include "build_identity.h"
#include "catalogue_table.h"
#include "face_merge.h"
#include "face_reading.h"
#include "face_store.h"
#include "file_names.h"
#include "font_sources.h"
#include "listed_faces.h"
#include "record_text.h"
#include "worker_threads.h"

namespace pellory::mkcatalogue {
namespace {

namespace fs = std::filesystem;

constexpr char kRecordsTool[] = "pellory-mkcatalogue: ";

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

std::string FileAndFormat(const FontFacts& f) {
  return FaceName(f) + " (" + f.format + ")";
}

// The face's copies the record was not made from.
void LogMerge(const FontFacts& kept, const std::vector<const FontFacts*>& leftOut,
              std::ostream& log) {
  log << kRecordsTool << "one record for " << FontNameFor(kept.family, kept.style) << ": kept "
      << FileAndFormat(kept) << "; left out ";
  for (std::size_t i = 0; i < leftOut.size(); ++i)
    log << (i ? ", " : "") << FileAndFormat(*leftOut[i]);
  log << '\n';
}

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

// "2,204 faces listed: 2,180 records, 20 copies of other faces left out, 3
// damaged and 1 unreadable"
std::string CountsLine(const FaceCounts& c) {
  return Count(c.listed, "face", "faces") + " listed: " + Count(c.records, "record", "records") +
         ", " + Count(c.copies, "copy", "copies") + " of other faces left out, " +
         std::to_string(c.damaged) + " damaged and " + std::to_string(c.unreadable) +
         " unreadable left out";
}

// The face store of the catalogue being updated when its readings hold for
// this build; otherwise says why every face is read.
std::optional<FaceStore> EarlierStore(const fs::path& output, const std::string& builder,
                                      const std::string& sharedInputs, bool quiet,
                                      std::ostream& log) {
  const fs::path file = output / kFaceStoreName;
  const auto readAll = [&](const std::string& why) {
    if (!quiet)
      log << kRecordsTool << "updating " << output.string() << ": " << why
          << "; every face is read\n";
    return std::nullopt;
  };
  std::error_code error;
  if (!fs::exists(file, error))
    return readAll("no face store of an earlier build (" + file.string() + ")");
  DecodedFaceStore decoded = ReadFaceStore(file);
  if (!decoded.store) {
    log << kRecordsTool << "warning: cannot use the face store " << file.string() << ": "
        << decoded.fault << "; every face is read\n";
    return std::nullopt;
  }
  if (builder.empty())
    return readAll("this pellory-mkcatalogue carries no build ID to know its face stores by");
  if (decoded.store->builder != builder)
    return readAll(file.string() + " was written by another build of pellory-mkcatalogue");
  if (decoded.store->sharedInputs != sharedInputs)
    return readAll("the plain face or fontconfig's cursive families changed since " +
                   file.string() + " was written");
  return std::move(decoded.store);
}

using FileAndIndex = std::pair<std::string, int>;  // file, face index

// The listed faces with their files' stamps and, where the file, face and
// stamp are those of a stored face, its stored reading.
std::vector<ListedFace> StampFaces(const std::vector<FaceRef>& refs, FaceStore* store,
                                   const fs::path& output, bool quiet, std::ostream& log) {
  std::map<FileAndIndex, StoredFace*> stored;
  if (store)
    for (StoredFace& s : store->faces) stored[{s.face.file.string(), s.face.index}] = &s;
  std::vector<ListedFace> listed;
  listed.reserve(refs.size());
  std::size_t unchanged = 0, found = 0;
  for (const FaceRef& ref : refs) {
    ListedFace face{ref, StampOf(ref.file), nullptr};
    const auto it = stored.find({ref.file.string(), ref.index});
    if (it != stored.end()) {
      ++found;
      StoredFace& s = *it->second;
      if (face.stamp && *face.stamp == s.stamp && s.face.foundry == ref.foundry) face.stored = &s;
      stored.erase(it);  // one listed face a stored one
    }
    unchanged += face.stored ? 1 : 0;
    listed.push_back(std::move(face));
  }
  if (store && !quiet)
    log << kRecordsTool << "updating " << output.string() << ": "
        << Count(unchanged, "face", "faces") << " unchanged since the last build, "
        << refs.size() - unchanged << " new or changed, " << store->faces.size() - found
        << " gone\n";
  return listed;
}

// Names each record, draws again the picture of a face whose name the
// table changed, and writes the record.
class RecordWriter {
 public:
  RecordWriter(CatalogueTable& table, const ReadingInputs& inputs, std::ostream& log,
               std::ostream* report)
      : table_(table), inputs_(inputs), log_(log), report_(report) {}

  // False when the face cannot be drawn as it was read: changed since, or,
  // a picture from the face store being damaged, read again as damaged.
  bool Append(const FaceRef& face, FaceReading& reading) {
    const FontFacts& f = reading.facts;
    const std::string wanted = FontNameFor(f.family, f.style);
    const std::string name = fontNames_.Assign(wanted);
    const GreyImage* picture = PictureOf(face, reading);
    if (!picture) return false;
    if (name != wanted) {
      std::optional<GreyImage> redrawn = Reader().Redraw(face, name);
      if (!redrawn) return false;
      scratch_ = std::move(*redrawn);
      picture = &scratch_;
    }
    ++categories_[reading.category];
    CatalogueRecord r;
    r.fontName = ToTableText(name);
    r.description = ToTableText(DescriptionFor(f, reading.scripts));
    r.fileName = fileNames_.Assign(f.path.filename().string());
    r.category = std::string(CategoryText(reading.category));
    r.picture = EncodeGreyGraphic(*picture);
    if (report_)
      *report_ << name << '\t' << r.category << '\t' << reading.rule << "; scripts "
               << (reading.scripts.empty() ? "none" : reading.scripts) << '\t' << f.path.string()
               << '\n';
    table_.Append(std::move(r));
    return true;
  }

  const std::map<Category, std::size_t>& categories() const { return categories_; }

 private:
  FaceReader& Reader() {
    if (!reader_) reader_.emplace(*inputs_.files, inputs_.plainFile, inputs_.cursiveFamilies);
    return *reader_;
  }

  // The picture as read, or unpacked from the face store; a stored
  // picture that is damaged has the face read again in its place.
  const GreyImage* PictureOf(const FaceRef& face, FaceReading& reading) {
    if (!reading.picture.pixels.empty()) return &reading.picture;
    if (UnpackPicture(reading.packed, scratch_)) return &scratch_;
    log_ << kRecordsTool << "warning: the face store's picture of " << face.file.string()
         << " is damaged: the face is read again\n";
    reading = Reader().Read(face);
    if (reading.state != FaceReading::State::Sound) return nullptr;
    return &reading.picture;
  }

  CatalogueTable& table_;
  const ReadingInputs& inputs_;
  std::ostream& log_;
  std::ostream* report_;
  FileNameAllocator fileNames_;
  FontNameAllocator fontNames_;
  std::map<Category, std::size_t> categories_;
  std::optional<FaceReader> reader_;  // for faces drawn or read again
  GreyImage scratch_;                 // the picture at hand, when not the reading's own
};

// A listed face's reading and what it was listed as.
struct ListedReading {
  const FaceRef* face;
  FaceReading* reading;
};

// The face's record from its first sound copy: a damaged copy is told and
// gives way to the next, so a damaged copy never displaces a sound one.
void AppendFace(const MergedFace& merged, const std::map<FileAndIndex, ListedReading>& readings,
                RecordWriter& writer, bool quiet, std::ostream& log, FaceCounts& counts) {
  std::vector<const FontFacts*> copies{&merged.kept};
  for (const auto& other : merged.leftOut) copies.push_back(&other);
  for (std::size_t i = 0; i < copies.size(); ++i) {
    const FontFacts& f = *copies[i];
    const ListedReading& read = readings.at({f.path.string(), f.faceIndex});
    const bool sound = read.reading->state == FaceReading::State::Sound;
    if (!sound || !writer.Append(*read.face, *read.reading)) {
      ++counts.damaged;
      log << kRecordsTool << "warning: left out " << FaceName(f) << ": "
          << (sound ? "it changed while the catalogue was built" : read.reading->error) << '\n';
      continue;
    }
    ++counts.records;
    const std::vector<const FontFacts*> rest(copies.begin() + static_cast<long>(i) + 1,
                                             copies.end());
    counts.copies += rest.size();
    if (!rest.empty() && !quiet) LogMerge(f, rest, log);
    return;
  }
}

void SaveFaceStore(const fs::path& directory, const FaceStore& store) {
  const fs::path file = directory / kFaceStoreName;
  std::ofstream out(file, std::ios::binary);
  WriteFaceStore(out, store);
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

void WriteFontRecords(const fs::path& directory, const BuildOptions& options, std::ostream& log,
                      std::ostream& report) {
  if (options.fontsDir && !fs::is_directory(*options.fontsDir))
    throw std::runtime_error("no font directory " + options.fontsDir->string());
  std::vector<FaceRef> refs;
  {
    const FreeTypeLibrary library = OpenFreeType();
    refs = options.fontsDir ? DirectoryFaces(library.get(), *options.fontsDir) : FontconfigFaces();
  }
  if (refs.empty()) throw NoFonts("no fonts found");
  const std::set<std::string> cursive = CursiveFamilies();
  FontFiles files;  // outlives every face opened from it
  const ReadingInputs inputs{&files, PlainFaceFile(), &cursive,
                             options.threads ? options.threads : CoresAvailable(), options.quiet};
  FaceStore next{BuilderIdentity(), SharedInputsText(inputs.plainFile, cursive), {}};
  std::optional<FaceStore> earlier;
  if (options.update)
    earlier = EarlierStore(options.output, next.builder, next.sharedInputs, options.quiet, log);
  const std::vector<ListedFace> listed =
      StampFaces(refs, earlier ? &*earlier : nullptr, options.output, options.quiet, log);
  std::vector<FaceReading> readings = ReadListedFaces(listed, inputs, log);

  FaceCounts counts;
  counts.listed = refs.size();
  std::vector<FontFacts> facts;
  std::map<FileAndIndex, ListedReading> byFace;
  for (std::size_t i = 0; i < readings.size(); ++i) {
    if (readings[i].state == FaceReading::State::Unreadable) {
      ++counts.unreadable;
      continue;
    }
    facts.push_back(readings[i].facts);
    byFace[{listed[i].face.file.string(), listed[i].face.index}] = {&listed[i].face, &readings[i]};
  }
  if (facts.empty())
    throw NoFonts("none of the " + std::to_string(refs.size()) + " fonts found could be read");
  const std::vector<MergedFace> faces = MergeSameFaces(std::move(facts));

  CatalogueTable table(directory, options.password);
  RecordWriter writer(table, inputs, log, options.report ? &report : nullptr);
  for (std::size_t i = 0; i < faces.size(); ++i) {
    AppendFace(faces[i], byFace, writer, options.quiet, log, counts);
    if (!options.quiet && ((i + 1) % 50 == 0 || i + 1 == faces.size()))
      log << kRecordsTool << (i + 1) << " of " << faces.size()
          << " faces done: " << Count(counts.records, "record", "records") << " written\n";
  }
  if (!options.quiet) log << kRecordsTool << CountsLine(counts) << '\n';
  if (table.records() == 0) throw NoFonts("no fonts could be read");
  table.Finish();
  if (!options.quiet)
    log << kRecordsTool << "categories: " << CategoryCounts(writer.categories()) << '\n';

  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (!listed[i].stamp) continue;  // read again next time
    readings[i].picture = {};
    next.faces.push_back({listed[i].face, *listed[i].stamp, std::move(readings[i])});
  }
  SaveFaceStore(directory, next);
}

}  // namespace pellory::mkcatalogue
