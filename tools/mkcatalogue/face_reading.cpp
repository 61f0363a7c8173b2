#include "face_reading.h"

#include "record_text.h"

namespace pellory::mkcatalogue {

FaceReader::FaceReader(FontFiles& files, const std::filesystem::path& plainFile,
                       const std::set<std::string>* cursiveFamilies)
    : files_(files), library_(OpenFreeType()) {
  std::string ignored;
  if (!plainFile.empty()) plainFace_ = files_.Open(library_.get(), plainFile, 0, &ignored);
  if (plainFace_) plain_.emplace(plainFace_.get());
  // A damaged plain face would write every name it draws as garbage.
  if (plain_ && !TableFault(plainFace_.get(), *plain_).empty()) plain_.reset();
  shared_ = {plain_ ? &*plain_ : nullptr, cursiveFamilies};
}

FaceReader::~FaceReader() = default;

FaceReading FaceReader::Read(const FaceRef& ref) {
  FaceReading reading;
  const FontFace face = files_.Open(library_.get(), ref.file, ref.index, &reading.error);
  if (!face) return reading;
  reading.facts =
      ReadFontFacts(face.get(), ref.file, ref.index, ref.foundry ? &*ref.foundry : nullptr);
  FaceOutcome outcome = ReadFace(face.get(), reading.facts,
                                 FontNameFor(reading.facts.family, reading.facts.style), shared_);
  if (!outcome.record) {
    reading.state = FaceReading::State::Damaged;
    reading.error = std::move(outcome.fault);
    return reading;
  }
  const FaceRecord& record = *outcome.record;
  reading.state = FaceReading::State::Sound;
  reading.error.clear();
  reading.category = record.decision.category;
  reading.rule = ExplainDecision(record.decision, record.shape);
  reading.scripts = record.coverage.ScriptNames();
  reading.picture = std::move(outcome.record->picture);
  return reading;
}

std::optional<GreyImage> FaceReader::Draw(const FaceRef& ref, std::string_view name) {
  std::string ignored;
  const FontFace face = files_.Open(library_.get(), ref.file, ref.index, &ignored);
  if (!face) return std::nullopt;
  const FontFacts facts =
      ReadFontFacts(face.get(), ref.file, ref.index, ref.foundry ? &*ref.foundry : nullptr);
  const std::string own = FontNameFor(facts.family, facts.style);
  FaceOutcome outcome = ReadFace(face.get(), facts, own, shared_);
  if (!outcome.record) return std::nullopt;
  if (name == own) return std::move(outcome.record->picture);
  return DrawFacePicture(face.get(), *outcome.record, name, shared_);
}

}  // namespace pellory::mkcatalogue
