#include "font_records.h"

#include <sys/file.h>

#include <fstream>
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

fs::path BlobFileOf(const fs::path& directory) {
  return directory / (std::string(kTableName) + ".MB");
}

// Bytes of the blob file a value takes: a block of its own, or its 16-byte
// units of a shared one.
std::uint64_t BlobBytes(const writer::BlobPointer& p) {
  if (p.pointer == 0) return 0;
  if ((p.pointer & 0xFF) == 0xFF) return (std::uint64_t{p.length} + 9 + 4095) / 4096 * 4096;
  return (std::uint64_t{p.length} + 15) / 16 * 16;
}

// Builds with more unused space in their blob file write it anew.
constexpr double kMostUnused = 0.25;

// The catalogue being updated: its face store, when its readings hold for
// this build and its blob file is the one the store points into, as the
// last build left it.
class EarlierCatalogue {
 public:
  EarlierCatalogue(const fs::path& output, const FaceStore& next, bool quiet, std::ostream& log)
      : output_(output), quiet_(quiet), log_(log), store_(Load(next)) {}

  FaceStore* store() { return store_ ? &*store_ : nullptr; }

  // Gives the store up (and the listed faces their stored ones) when more
  // than a quarter of the blob file would be unused once the records of the
  // faces still listed and unchanged are kept: the catalogue is then written
  // anew.
  void CheckUnused(std::vector<ListedFace>& faces) {
    if (!store_) return;
    std::uint64_t used = 4096;
    for (const ListedFace& f : faces)
      if (f.stored && f.stored->record)
        used += BlobBytes(f.stored->record->picture) + BlobBytes(f.stored->record->description);
    const double size = static_cast<double>(store_->blobFile.stamp.size);
    if (size > 0 && static_cast<double>(used) >= size * (1 - kMostUnused)) return;
    for (ListedFace& f : faces) f.stored = nullptr;
    store_.reset();
    ReadAll("its blob file holds more than a quarter of unused space");
  }

 private:
  std::optional<FaceStore> Load(const FaceStore& next) {
    const fs::path file = output_ / kFaceStoreName;
    std::error_code error;
    if (!fs::exists(file, error)) return ReadAll("no face store of an earlier build");
    DecodedFaceStore decoded = ReadFaceStore(file);
    if (!decoded.store) {
      log_ << kRecordsTool << "warning: cannot use the face store " << file.string() << ": "
           << decoded.fault << "; every face is read and the catalogue written anew\n";
      return std::nullopt;
    }
    if (next.builder.empty())
      return ReadAll("this pellory-mkcatalogue has no build ID to know its face stores by");
    if (decoded.store->builder != next.builder)
      return ReadAll(file.string() + " was written by another build of pellory-mkcatalogue");
    if (decoded.store->sharedInputs != next.sharedInputs)
      return ReadAll("the plain face or fontconfig's cursive families changed since");
    if (decoded.store->encryption != next.encryption)
      return ReadAll("its table had another password");
    const std::optional<BlobFileIdentity> blobs = IdentityOf(BlobFileOf(output_));
    if (!blobs || *blobs != decoded.store->blobFile || blobs->links != 1)
      return ReadAll("its blob file is not as the last build left it");
    return std::move(decoded.store);
  }

  std::nullopt_t ReadAll(const std::string& why) {
    if (!quiet_)
      log_ << kRecordsTool << "updating " << output_.string() << ": " << why
           << "; every face is read and the catalogue written anew\n";
    return std::nullopt;
  }

  fs::path output_;
  bool quiet_;
  std::ostream& log_;
  std::optional<FaceStore> store_;
};

using FileAndIndex = std::pair<std::string, int>;  // file, face index

// The listed faces with their files' stamps and, where the file, face and
// stamp are those of a stored face, that stored face.
std::vector<ListedFace> StampFaces(const std::vector<FaceRef>& refs, FaceStore* store) {
  std::map<FileAndIndex, StoredFace*> stored;
  if (store)
    for (StoredFace& s : store->faces) stored[{s.face.file.string(), s.face.index}] = &s;
  std::vector<ListedFace> listed;
  listed.reserve(refs.size());
  for (const FaceRef& ref : refs) {
    ListedFace face{ref, StampOf(ref.file), nullptr};
    const auto it = stored.find({ref.file.string(), ref.index});
    if (it != stored.end()) {
      StoredFace& s = *it->second;
      if (face.stamp && *face.stamp == s.stamp && s.face.foundry == ref.foundry) face.stored = &s;
      stored.erase(it);  // one listed face a stored one
    }
    listed.push_back(std::move(face));
  }
  return listed;
}

void LogUpdate(const fs::path& output, const std::vector<ListedFace>& faces, const FaceStore& store,
               std::ostream& log) {
  std::size_t unchanged = 0;
  std::set<FileAndIndex> listed;
  for (const ListedFace& f : faces) {
    unchanged += f.stored ? 1 : 0;
    listed.insert({f.face.file.string(), f.face.index});
  }
  std::size_t gone = 0;
  for (const StoredFace& s : store.faces)
    gone += listed.count({s.face.file.string(), s.face.index}) ? 0 : 1;
  log << kRecordsTool << "updating " << output.string() << ": " << Count(unchanged, "face", "faces")
      << " unchanged since the last build, " << faces.size() - unchanged << " new or changed, "
      << gone << " gone\n";
}

// A listed face's reading, what it was listed as, and its record of the
// last build when it is unchanged since.
struct ListedReading {
  const FaceRef* face;
  FaceReading* reading;
  const StoredRecord* last;
};

// Names each record, points at the picture and description the blob file
// holds where the last build wrote them as they are now, draws the picture
// of a face whose name the table changed or that had no record, and writes
// the record.
class RecordWriter {
 public:
  RecordWriter(CatalogueTable& table, const ReadingInputs& inputs, std::ostream* report)
      : table_(table), inputs_(inputs), report_(report) {}

  // The face's record as the new store keeps it; none when the face cannot
  // be drawn as it was read, having changed since.
  std::optional<StoredRecord> Append(const ListedReading& listed) {
    const FaceReading& reading = *listed.reading;
    const FontFacts& f = reading.facts;
    const std::string wanted = FontNameFor(f.family, f.style);
    const std::string name = fontNames_.Assign(wanted);
    CatalogueRecord r;
    if (listed.last && listed.last->name == name && listed.last->picture.pointer != 0) {
      r.picture = writer::StoredBlob{listed.last->picture, {}};
    } else if (name == wanted && !reading.picture.pixels.empty()) {
      r.picture = EncodeGreyGraphic(reading.picture);
    } else {
      const std::optional<GreyImage> drawn = Reader().Draw(*listed.face, name);
      if (!drawn) return std::nullopt;
      r.picture = EncodeGreyGraphic(*drawn);
    }
    std::string description = ToTableText(DescriptionFor(f, reading.scripts));
    if (listed.last && listed.last->description.pointer != 0 &&
        listed.last->description.length == description.size())
      r.description = writer::StoredBlob{listed.last->description, std::move(description)};
    else
      r.description = std::move(description);
    ++categories_[reading.category];
    r.fontName = ToTableText(name);
    r.fileName = fileNames_.Assign(f.path.filename().string());
    r.category = std::string(CategoryText(reading.category));
    if (report_)
      *report_ << name << '\t' << r.category << '\t' << reading.rule << "; scripts "
               << (reading.scripts.empty() ? "none" : reading.scripts) << '\t' << f.path.string()
               << '\n';
    const RecordBlobs blobs = table_.Append(std::move(r));
    return StoredRecord{name, blobs.picture, blobs.description};
  }

  const std::map<Category, std::size_t>& categories() const { return categories_; }

 private:
  FaceReader& Reader() {
    if (!reader_) reader_.emplace(*inputs_.files, inputs_.plainFile, inputs_.cursiveFamilies);
    return *reader_;
  }

  CatalogueTable& table_;
  const ReadingInputs& inputs_;
  std::ostream* report_;
  FileNameAllocator fileNames_;
  FontNameAllocator fontNames_;
  std::map<Category, std::size_t> categories_;
  std::optional<FaceReader> reader_;  // for pictures drawn here
};

// The face's record from its first sound copy: a damaged copy is told and
// gives way to the next, so a damaged copy never displaces a sound one.
// Answers the copy that made the record and the record, if any.
std::optional<std::pair<const FaceRef*, StoredRecord>> AppendFace(
    const MergedFace& merged, const std::map<FileAndIndex, ListedReading>& readings,
    RecordWriter& writer, bool quiet, std::ostream& log, FaceCounts& counts) {
  std::vector<const FontFacts*> copies{&merged.kept};
  for (const auto& other : merged.leftOut) copies.push_back(&other);
  for (std::size_t i = 0; i < copies.size(); ++i) {
    const FontFacts& f = *copies[i];
    const ListedReading& listed = readings.at({f.path.string(), f.faceIndex});
    const bool sound = listed.reading->state == FaceReading::State::Sound;
    std::optional<StoredRecord> record;
    if (sound) record = writer.Append(listed);
    if (!record) {
      ++counts.damaged;
      log << kRecordsTool << "warning: left out " << FaceName(f) << ": "
          << (sound ? "it changed while the catalogue was built" : listed.reading->error) << '\n';
      continue;
    }
    ++counts.records;
    const std::vector<const FontFacts*> rest(copies.begin() + static_cast<long>(i) + 1,
                                             copies.end());
    counts.copies += rest.size();
    if (!rest.empty() && !quiet) LogMerge(f, rest, log);
    return std::make_pair(listed.face, std::move(*record));
  }
  return std::nullopt;
}

void SaveFaceStore(const fs::path& directory, const FaceStore& store) {
  // Not flushed to the disk: a store lost in a crash is a full build next
  // time, never a wrong catalogue.
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
  FaceStore next{BuilderIdentity(),
                 SharedInputsText(inputs.plainFile, cursive),
                 writer::TableEncryption(options.password),
                 {},
                 {}};
  std::optional<EarlierCatalogue> earlier;
  if (options.update) earlier.emplace(options.output, next, options.quiet, log);
  std::vector<ListedFace> listed = StampFaces(refs, earlier ? earlier->store() : nullptr);
  if (earlier) {
    earlier->CheckUnused(listed);
    if (!earlier->store())
      listed = StampFaces(refs, nullptr);
    else if (!options.quiet)
      LogUpdate(options.output, listed, *earlier->store(), log);
  }
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
    const StoredFace* stored = listed[i].stored;
    byFace[{listed[i].face.file.string(), listed[i].face.index}] = {
        &listed[i].face, &readings[i], stored && stored->record ? &*stored->record : nullptr};
  }
  if (facts.empty())
    throw NoFonts("none of the " + std::to_string(refs.size()) + " fonts found could be read");
  const std::vector<MergedFace> faces = MergeSameFaces(std::move(facts));

  const bool adding = earlier && earlier->store();
  const fs::path blobFile = adding ? BlobFileOf(options.output) : BlobFileOf(directory);
  CatalogueTable table(directory, options.password, adding ? blobFile : fs::path());
  RecordWriter writer(table, inputs, options.report ? &report : nullptr);
  std::map<const FaceRef*, StoredRecord> records;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    if (auto made = AppendFace(faces[i], byFace, writer, options.quiet, log, counts))
      records.insert(std::move(*made));
    if (!options.quiet && ((i + 1) % 50 == 0 || i + 1 == faces.size()))
      log << kRecordsTool << (i + 1) << " of " << faces.size()
          << " faces done: " << Count(counts.records, "record", "records") << " written\n";
  }
  if (!options.quiet) log << kRecordsTool << CountsLine(counts) << '\n';
  if (table.records() == 0) throw NoFonts("no fonts could be read");
  table.Finish();
  if (!options.quiet)
    log << kRecordsTool << "categories: " << CategoryCounts(writer.categories()) << '\n';

  const std::optional<BlobFileIdentity> written = IdentityOf(blobFile);
  if (!written) throw std::runtime_error("cannot look at " + blobFile.string());
  next.blobFile = *written;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (!listed[i].stamp) continue;  // read again next time
    readings[i].picture = {};
    const auto record = records.find(&listed[i].face);
    next.faces.push_back(
        {listed[i].face, *listed[i].stamp, std::move(readings[i]),
         record == records.end() ? std::nullopt : std::optional(std::move(record->second))});
  }
  SaveFaceStore(directory, next);
}

}  // namespace pellory::mkcatalogue
