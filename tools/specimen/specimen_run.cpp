#include "specimen_run.h"

#include <unistd.h>

#include <QDate>
#include <QDir>
#include <filesystem>

#include "book_writer.h"
#include "output_file.h"
#include "pellory/data/errors.h"
#include "print_job.h"

namespace pellory::specimen {
namespace {

namespace fs = std::filesystem;

int Fail(std::ostream& err, const std::string& message, int code) {
  err << "pellory-specimen: " << message << '\n';
  return code;
}

// As the engine tells them apart: a name with a path separator or a drive
// colon is a directory, any other an alias.
QString CatalogueName(const std::string& database) {
  const QString name = QString::fromStdString(database);
  if (database.find_first_of("/\\:") == std::string::npos) return name + QStringLiteral(" (alias)");
  return QDir(name).absolutePath();
}

std::optional<QPageSize> ChoosePaper(const Options& options) {
  if (options.paper.empty()) return LocalePaper();
  return PaperNamed(options.paper);
}

// PELLORY_SPECIMEN_FACES_PER_PART, for tests that need a book of many parts.
int FacesPerPart() {
  bool ok = false;
  const int n = qEnvironmentVariableIntValue("PELLORY_SPECIMEN_FACES_PER_PART", &ok);
  return ok && n > 0 ? n : kFacesPerPart;
}

std::string Count(int n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

std::string Summary(const BookFacts& facts) {
  std::string text = Count(facts.totalPages, "page", "pages");
  text += ", " + Count(facts.faces, "face", "faces");
  std::string notes;
  if (facts.notInstalled) notes = std::to_string(facts.notInstalled) + " not installed";
  if (facts.unusable)
    notes += (notes.empty() ? "" : ", ") + std::to_string(facts.unusable) +
             " with a damaged or other installed file";
  if (!notes.empty()) text += " (" + notes + ")";
  if (facts.leftOut)
    text += ", " + std::to_string(facts.leftOut) + " left out as they do not cover the text";
  return text;
}

}  // namespace

int Run(const Options& options, std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<Selection> selection = ChooseSelection(options, &error);
  if (!selection) return Fail(err, error, kExitUsage);
  const std::optional<QPageSize> paper = ChoosePaper(options);
  if (!paper)
    return Fail(err,
                "no paper size \"" + options.paper +
                    "\"; known are A3, A4, A5, B5, Letter, Legal, Tabloid, Executive",
                kExitUsage);
  const bool toFile = options.destination == Destination::File;
  OutputFile pdf = toFile ? OutputFile(options.output) : OutputFile::Scratch(".pdf");
  if (!pdf.Error().empty())
    return Fail(err,
                "cannot write " + (toFile ? options.output : std::string("a temporary file")) +
                    ": " + pdf.Error(),
                kExitOutput);

  BookRequest request;
  request.specimen = {QString::fromStdString(options.text), options.sizes};
  request.covering = options.covering;
  request.charsetPages = options.charsetPages;
  request.features = options.features;
  request.axes = options.axes;
  request.paper = *paper;
  request.facts.catalogue = CatalogueName(options.database);
  request.facts.selection = QString::fromStdString(selection->name);
  request.facts.text = request.specimen.text;
  request.facts.date = QDate::currentDate().toString(Qt::ISODate);
  request.facesPerPart = FacesPerPart();
  request.subject = QString::fromStdString(selection->description) +
                    QStringLiteral(" in the catalogue ") + request.facts.catalogue;
  ProgressBar progress(err, !options.quiet, ::isatty(STDERR_FILENO) != 0);
  BookFacts facts;
  try {
    CatalogueFaces faces(options, *selection);
    const InstalledFaces installed;
    facts = WriteBook(pdf.Descriptor(), fs::path(pdf.TemporaryPath()).parent_path().string(), faces,
                      installed, request, progress);
  } catch (const data::EDatabaseError& e) {
    progress.Finish();
    return Fail(err, e.what(), kExitCatalogue);
  } catch (const std::exception& e) {
    progress.Finish();
    return Fail(
        err,
        "cannot write " + (toFile ? options.output : std::string("the book")) + ": " + e.what(),
        kExitOutput);
  }

  if (toFile) {
    if (!pdf.Commit())
      return Fail(err, "cannot write " + options.output + ": " + pdf.Error(), kExitOutput);
    if (!options.quiet)
      err << "pellory-specimen: wrote " << options.output << ": " << Summary(facts) << '\n';
    return kExitOk;
  }
  const PrintOutcome job =
      PrintPdf(pdf.TemporaryPath(), options.printer, "Specimen book: " + selection->name);
  if (!job.error.empty()) return Fail(err, job.error, kExitPrint);
  out << "request id is " << job.queue << '-' << job.job << '\n';
  if (!options.quiet) err << "pellory-specimen: printed " << Summary(facts) << '\n';
  return kExitOk;
}

}  // namespace pellory::specimen
