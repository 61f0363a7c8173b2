// The parts of pellory-specimen that need no catalogue: its command line,
// the selection it names, the file a record names and the progress bar.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "book_reading.h"
#include "catalogue_faces.h"
#include "charset_section.h"
#include "face_charset.h"
#include "installed_faces.h"
#include "output_target.h"
#include "part_file.h"
#include "pdf_join.h"
#include "progress_bar.h"
#include "scratch_dir.h"
#include "specimen_options.h"

namespace pellory::specimen {
namespace {

using testkit::ScratchDir;

std::optional<Options> Parse(std::vector<std::string> args, std::string* error = nullptr,
                             const std::string& standardInput = "") {
  std::istringstream in(standardInput);
  const ParsedCommandLine parsed = ParseCommandLine(args, in);
  if (error) *error = parsed.error;
  return parsed.options;
}

TEST(SpecimenOptions, DefaultsAndEveryOption) {
  auto o = Parse({"-o", "book.pdf"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->database, "pellory");
  EXPECT_EQ(o->sizes, (std::vector<double>{9, 12, 18, 24, 36}));
  EXPECT_EQ(o->destination, Destination::File);
  EXPECT_EQ(o->output, "book.pdf");
  EXPECT_EQ(o->charsetPages, 0);
  EXPECT_TRUE(o->features.empty());
  EXPECT_FALSE(o->axes);

  o = Parse({"--password",    "a",
             "--password",    "b",
             "--category",    "Handwriting",
             "--text",        "Ab",
             "--sizes",       "10,14.5",
             "--covering",    "--charset",
             "--features",    "smcp,-liga,ss01=2",
             "--axes",        "--paper",
             "Letter",        "--quiet",
             "--print",       "--printer",
             "Office/duplex", "/srv/catalogue"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->passwords, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(o->category, "Handwriting");
  EXPECT_EQ(o->text, "Ab");
  EXPECT_EQ(o->sizes, (std::vector<double>{10, 14.5}));
  EXPECT_TRUE(o->covering);
  EXPECT_EQ(o->charsetPages, kDefaultCharsetPages);
  ASSERT_EQ(o->features.size(), 3u);
  EXPECT_EQ(o->features[0].tag, "smcp");
  EXPECT_EQ(o->features[0].value, 1u);
  EXPECT_EQ(o->features[1].tag, "liga");
  EXPECT_EQ(o->features[1].value, 0u);
  EXPECT_EQ(o->features[1].label, "-liga");
  EXPECT_EQ(o->features[2].tag, "ss01");
  EXPECT_EQ(o->features[2].value, 2u);
  EXPECT_TRUE(o->axes);
  EXPECT_EQ(o->paper, "Letter");
  EXPECT_TRUE(o->quiet);
  EXPECT_EQ(o->destination, Destination::Printer);
  EXPECT_EQ(o->printer, "Office/duplex");
  EXPECT_EQ(o->database, "/srv/catalogue");
}

// The GNU forms: "--option=value", options after the catalogue, unique
// abbreviations, "--" before a catalogue whose name starts with a dash.
TEST(SpecimenOptions, GnuForms) {
  auto o = Parse({"/srv/catalogue", "--category=Handwriting", "--text=a=b", "--charset=12",
                  "--output=book.pdf", "--pap", "A5"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->database, "/srv/catalogue");
  EXPECT_EQ(o->category, "Handwriting");
  EXPECT_EQ(o->text, "a=b");
  EXPECT_EQ(o->charsetPages, 12);
  EXPECT_EQ(o->output, "book.pdf");
  EXPECT_EQ(o->paper, "A5");

  o = Parse({"-obook.pdf", "--", "--odd-alias"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->output, "book.pdf");
  EXPECT_EQ(o->database, "--odd-alias");

  std::string error;
  EXPECT_FALSE(Parse({"--help"}, &error));
  std::istringstream none;
  EXPECT_TRUE(ParseCommandLine({"--quiet", "--help"}, none).help);
}

// A password file gives the password on its first line, as the other
// programs take one; standard input can give one.
TEST(SpecimenOptions, PasswordFilesGiveTheirFirstLine) {
  ScratchDir scratch("pellory-specimen");
  const auto write = [&](const std::string& name, const std::string& text) {
    const std::string path = (scratch.path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  };
  const std::string crlf = write("crlf", "first pass\r\nsecond\n");
  auto o = Parse({"--password", "a", "--password-file", crlf, "--password-file=-", "-o", "b.pdf"},
                 nullptr, "from stdin\n");
  ASSERT_TRUE(o);
  EXPECT_EQ(o->passwords, (std::vector<std::string>{"a", "first pass", "from stdin"}));

  const std::string empty = write("empty", "\nsecond\n");
  const std::string nul = write("nul", std::string("pa\0ss\n", 6));
  const std::string longLine = write("long", std::string(256, 'x') + "\n");
  const std::string missing = (scratch.path() / "missing").string();
  const struct {
    std::vector<std::string> args;
    std::string stdinText;
    std::string why;
  } cases[] = {
      {{"--password-file", missing},
       "",
       "--password-file: cannot read " + missing + ": No such file or directory"},
      {{"--password-file", empty},
       "",
       "--password-file: " + empty + " holds no password on its first line"},
      {{"--password-file", nul},
       "",
       "--password-file: " + nul + " holds a NUL byte in its first line"},
      {{"--password-file", longLine},
       "",
       "--password-file: " + longLine +
           " holds a first line longer than a password may "
           "be (255 bytes)"},
      {{"--password-file", "/dev/zero"},
       "",
       "--password-file: /dev/zero holds a first line longer than a password may be (255 "
       "bytes)"},
      {{"--password-file", "-"},
       "",
       "--password-file: standard input holds no password on its first line"},
      {{"--password-file", "-", "--password-file=-"},
       "x\ny\n",
       "standard input can give only one --password-file"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-o", "b.pdf"});
    std::string error;
    EXPECT_FALSE(Parse(args, &error, c.stdinText)) << c.why;
    EXPECT_EQ(error, c.why);
  }
}

TEST(SpecimenOptions, RefusalsSayWhy) {
  const std::string sizes = "--sizes takes point sizes from 1 to 200, such as 9,12,18";
  const std::string features =
      "--features takes OpenType feature tags, such as smcp,onum,ss01 or -liga to turn one off";
  const std::string charset =
      "--charset takes the pages a face's character table may fill, from 1 to 1000, such as "
      "--charset=20";
  const struct {
    std::vector<std::string> args;
    std::string why;
  } cases[] = {
      {{}, "an output is needed: -o FILE.pdf or --print"},
      {{"-o"}, "-o needs a value"},
      {{"-o", ""}, "-o needs a file name"},
      {{"--output"}, "--output needs a value"},
      {{"-o", "a.pdf", "--category"}, "--category needs a value"},
      {{"-o", "a.pdf", "--print"}, "-o and --print exclude each other"},
      {{"-o", "a.pdf", "--category", "Handwriting", "--filter", "x"},
       "--category and --filter exclude each other"},
      {{"-o", "a.pdf", "--printer", "Office"}, "--printer goes with --print"},
      {{"--print", "--printer="}, "--printer needs a queue name, or QUEUE/INSTANCE"},
      {{"--print", "--printer", "Office/"}, "--printer needs a queue name, or QUEUE/INSTANCE"},
      {{"-o", "a.pdf", "--covering"}, "--covering needs --text"},
      {{"-o", "a.pdf", "--features", "smcp"}, "--features needs --text"},
      {{"-o", "a.pdf", "--axes"}, "--axes needs --text"},
      {{"-o", "a.pdf", "--sizes", "9,,12"}, sizes},
      {{"-o", "a.pdf", "--sizes", "0.5"}, sizes},
      {{"-o", "a.pdf", "--sizes", "12pt"}, sizes},
      {{"-o", "a.pdf", "--sizes", "nan"}, sizes},
      {{"-o", "a.pdf", "--sizes", "12,inf"}, sizes},
      {{"-o", "a.pdf", "--sizes", "1e400"}, sizes},
      {{"-o", "a.pdf", "--text", "x", "--features", "smallcaps"}, features},
      {{"-o", "a.pdf", "--text", "x", "--features", "smcp,"}, features},
      {{"-o", "a.pdf", "--text", "x", "--features", "-liga=2"}, features},
      {{"-o", "a.pdf", "--charset=0"}, charset},
      {{"-o", "a.pdf", "--charset=many"}, charset},
      {{"-o", "a.pdf", "--text", "caf\xE9"}, "--text is not valid UTF-8"},
      {{"-o", "a.pdf", "--text", "\xED\xA0\x80"}, "--text is not valid UTF-8"},
      {{"-o", "a.pdf", "--text", "\xC0\xAF"}, "--text is not valid UTF-8"},
      {{"-o", "a.pdf", "--filter", "[Font Name] = '\xFF'"}, "--filter is not valid UTF-8"},
      {{"-o", "a.pdf", "--colour"}, "unknown option --colour"},
      {{"-o", "a.pdf", "--colour=red"}, "unknown option --colour"},
      {{"-o", "a.pdf", "-x"}, "unknown option -x"},
      {{"-o", "a.pdf", "--covering=yes", "--text", "x"}, "--covering takes no value"},
      {{"-o", "a.pdf", "--p"}, "unknown option --p"},
      {{"-o", "a.pdf", "one", "two"}, "one directory or alias at most"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(Parse(c.args, &error)) << c.why;
    EXPECT_EQ(error, c.why);
  }
}

TEST(SpecimenSelection, CategoriesAsStoredOrAsCaptionedAndFilters) {
  const struct {
    std::string category, filter;
    const char* expectedFilter;
    const char* expectedName;
  } cases[] = {
      {"", "", "", "All fonts"},
      {"all fonts", "", "", "All fonts"},
      {"Handwriting", "", "Category ='Handwriting'", "Handwriting"},
      {"capitals sans serif", "", "Category ='Capitals San*'", "Capitals Sans Serif"},
      {"CAPITAL SERIF", "", "Category ='Capitals Serif'", "Capitals Serif"},
      {"Wingdings", "", "Category ='Wing*'", "Wingdings"},
      {"", "[Font Name] = 'Z*'", "[Font Name] = 'Z*'", "[Font Name] = 'Z*'"},
  };
  for (const auto& c : cases) {
    Options options;
    options.category = c.category;
    options.filter = c.filter;
    std::string error;
    const auto selection = ChooseSelection(options, &error);
    ASSERT_TRUE(selection) << c.category << error;
    EXPECT_EQ(selection->filter, c.expectedFilter);
    EXPECT_EQ(selection->name, c.expectedName);
  }
  Options unknown;
  unknown.category = "Gothic";
  std::string error;
  EXPECT_FALSE(ChooseSelection(unknown, &error));
  EXPECT_EQ(error.rfind("no category \"Gothic\"; the categories are \"Capitals Serif\", ", 0), 0u)
      << error;
}

TEST(SpecimenFaces, FileOfTheDescription) {
  const auto plain = FileOfDescription("Family: A\r\nStyle: B\r\nFile: /f/a b.ttf\r\nLicence: x");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->path, "/f/a b.ttf");
  EXPECT_EQ(plain->index, 0);
  const auto collection = FileOfDescription("File: /f/c.ttc (face 3)");
  ASSERT_TRUE(collection);
  EXPECT_EQ(collection->path, "/f/c.ttc");
  EXPECT_EQ(collection->index, 3);
  EXPECT_FALSE(FileOfDescription("Family: A\r\nProfile: x"));
  EXPECT_FALSE(FileOfDescription(""));
}

TEST(SpecimenFaces, InstalledFaceByDescribedFileThenByFileName) {
  const InstalledFaces installed({{"/usr/share/fonts/a/Serif.ttf", 0, "Serif", "Book", ""},
                                  {"/usr/share/fonts/b/Serif.ttf", 0, "Serif", "Old", ""},
                                  {"/usr/share/fonts/c/Coll.ttc", 0, "C", "Zero", ""},
                                  {"/usr/share/fonts/c/Coll.ttc", 1, "C", "One", ""},
                                  {"/usr/share/fonts/v/Var.ttf", 0, "V", "Regular", ""},
                                  {"/usr/share/fonts/v/Var.ttf", 65536, "V", "Thin", ""},
                                  {"/usr/share/fonts/v/Var.ttf", 131072, "V", "Black", ""}});
  const struct {
    const char* fileName;
    const char* description;
    const char* path;  // null: not installed
    const char* style;
  } cases[] = {
      {"SERIF~1.TTF", "File: /usr/share/fonts/b/Serif.ttf", "/usr/share/fonts/b/Serif.ttf", "Old"},
      {"SERIF~1.TTF", "File: /elsewhere/Serif.ttf", "/usr/share/fonts/a/Serif.ttf", "Book"},
      {"COLL~1.TTC", "File: /x/Coll.ttc (face 1)", "/usr/share/fonts/c/Coll.ttc", "One"},
      {"COLL~1.TTC", "File: /x/Coll.ttc (face 2)", nullptr, nullptr},
      {"serif.TTF", "", "/usr/share/fonts/a/Serif.ttf", "Book"},
      {"SERIF~1.TTF", "", nullptr, nullptr},
      {"Missing.ttf", "File: /x/Missing.ttf", nullptr, nullptr},
      // A variable font's named instances: in the face number, or named.
      {"VAR~1.TTF", "File: /usr/share/fonts/v/Var.ttf (face 65536)", "/usr/share/fonts/v/Var.ttf",
       "Thin"},
      {"VAR~1.TTF", "File: /usr/share/fonts/v/Var.ttf\r\nInstance: black",
       "/usr/share/fonts/v/Var.ttf", "Black"},
      {"VAR~1.TTF", "File: /usr/share/fonts/v/Var.ttf\r\nInstance: Hairline",
       "/usr/share/fonts/v/Var.ttf", "Regular"},
      {"VAR~1.TTF", "File: /usr/share/fonts/v/Var.ttf (face 196608)", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const auto face = installed.Find(c.fileName, c.description);
    ASSERT_EQ(face.has_value(), c.path != nullptr) << c.fileName << " " << c.description;
    if (!face) continue;
    EXPECT_EQ(face->path, c.path);
    EXPECT_EQ(face->style, c.style);
  }
}

TEST(SpecimenOutput, PartialNameFitsTheFileSystem) {
  const std::string long254 = std::string(250, 'n') + ".pdf";
  const std::string accented = std::string(238, 'a') +
                               "\xC3\xA9"
                               "ab";  // 242 bytes
  const struct {
    std::string path;
    std::size_t nameMax;
    std::string pattern;
  } cases[] = {
      {"book.pdf", 255, "./.book.pdf.partial-XXXXXX"},
      {"/srv/out/book.pdf", 255, "/srv/out/.book.pdf.partial-XXXXXX"},
      {"/srv/" + long254, 255, "/srv/." + long254.substr(0, 239) + ".partial-XXXXXX"},
      // Cut before the two bytes of "é", not between them.
      {"/srv/" + accented, 255, "/srv/." + std::string(238, 'a') + ".partial-XXXXXX"},
  };
  for (const auto& c : cases) {
    const std::string pattern = PartialPattern(c.path, c.nameMax);
    EXPECT_EQ(pattern, c.pattern);
    EXPECT_LE(std::filesystem::path(pattern).filename().string().size(), c.nameMax);
  }
}

TEST(SpecimenOutput, TargetIsARegularFileOrANewNameThroughItsLinks) {
  namespace fs = std::filesystem;
  ScratchDir scratch("pellory-specimen");
  const fs::path dir = scratch.path();
  std::ofstream(dir / "book.pdf") << "old";
  ::chmod((dir / "book.pdf").c_str(), 0640);
  fs::create_symlink("book.pdf", dir / "link.pdf");
  fs::create_symlink(dir / "link.pdf", dir / "chain.pdf");
  fs::create_symlink("sub/new.pdf", dir / "dangling.pdf");
  fs::create_symlink("loop-b", dir / "loop-a");
  fs::create_symlink("loop-a", dir / "loop-b");
  fs::create_directory(dir / "folder");
  ::mkfifo((dir / "pipe").c_str(), 0600);
  fs::create_symlink("/dev/null", dir / "null-link");
  const std::string notRegular = ", not a regular file; -o takes a regular file or a new name";
  const struct {
    std::string given;
    std::string path;  // empty: refused
    bool exists;
    std::string error;
  } cases[] = {
      {(dir / "new.pdf").string(), (dir / "new.pdf").string(), false, ""},
      {(dir / "book.pdf").string(), (dir / "book.pdf").string(), true, ""},
      {(dir / "link.pdf").string(), (dir / "book.pdf").string(), true, ""},
      {(dir / "chain.pdf").string(), (dir / "book.pdf").string(), true, ""},
      {(dir / "dangling.pdf").string(), (dir / "sub/new.pdf").string(), false, ""},
      {(dir / "loop-a").string(), "", false, "Too many levels of symbolic links"},
      {(dir / "folder").string(), "", false, "a directory" + notRegular},
      {(dir / "pipe").string(), "", false, "a named pipe" + notRegular},
      {"/dev/null", "", false, "a character device" + notRegular},
      {(dir / "null-link").string(), "", false, "a character device" + notRegular},
  };
  for (const auto& c : cases) {
    const OutputTarget target = ResolveOutputTarget(c.given);
    EXPECT_EQ(target.error, c.error) << c.given;
    if (!c.error.empty()) continue;
    EXPECT_EQ(target.path, c.path) << c.given;
    EXPECT_EQ(target.exists, c.exists) << c.given;
    if (c.exists) {
      EXPECT_EQ(target.mode, 0640u) << c.given;
    }
  }
}

// A one-page PDF of the given header version, as a part would hold it.
std::string OnePagePdf(const std::string& version) {
  std::string pdf = "%PDF-" + version + "\n";
  std::vector<std::size_t> offsets;
  for (const std::string body :
       {"<</Type /Catalog /Pages 2 0 R>>", "<</Type /Pages /Kids [3 0 R] /Count 1>>",
        "<</Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R>>",
        "<</Length 10>>\nstream\n0 0 m 9 9 l\nendstream"}) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
  }
  const std::size_t xref = pdf.size();
  pdf += "xref\n0 5\n0000000000 65535 f \n";
  for (const std::size_t offset : offsets) {
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    pdf += entry;
  }
  return pdf + "trailer\n<</Size 5 /Root 1 0 R>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

TEST(SpecimenJoin, TheBookSaysItsPartsHighestVersionAndHasAnIdentifier) {
  ScratchDir scratch("pellory-specimen");
  std::vector<PartFile> parts;
  for (const char* version : {"1.4", "1.7", "1.3"}) {
    const PartFile& part = parts.emplace_back(scratch.path().string());
    const std::string pdf = OnePagePdf(version);
    ASSERT_EQ(::write(part.Descriptor(), pdf.data(), pdf.size()), static_cast<ssize_t>(pdf.size()));
  }
  BookDocument document;
  document.title = "Specimen book: \xC3\x9C";
  document.subject = "Every face";
  document.pageCount = 3;
  const std::filesystem::path book = scratch.path() / "book.pdf";
  const int out = ::open(book.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(out, 0);
  JoinParts(parts, document, out);
  ::close(out);
  EXPECT_EQ(testkit::QpdfProblems(book), "");
  const testkit::BookNavigation read = testkit::ReadNavigation(book);
  EXPECT_EQ(read.version, "1.7");
  EXPECT_TRUE(read.hasId);
  EXPECT_EQ(read.info.at("/Title"), "Specimen book: \xC3\x9C");
  EXPECT_EQ(read.info.at("/Subject"), "Every face");

  // Parts that hold another number of pages than the layout counted are refused.
  for (const int pages : {2, 4}) {
    document.pageCount = pages;
    const int again = ::open(book.c_str(), O_WRONLY | O_TRUNC);
    EXPECT_THROW(JoinParts(parts, document, again), std::runtime_error) << pages;
    ::close(again);
  }
}

TEST(SpecimenCharset, BlocksAndTheCharactersTheyCount) {
  const struct {
    char32_t code;
    const char* block;  // null: in none
    bool shown;
  } cases[] = {
      {U'A', "Basic Latin", true},
      {0x0000, "Basic Latin", false},  // a control
      {0x0100, "Latin Extended-A", true},
      {0x0378, "Greek and Coptic", false},  // unassigned
      {0xD800, "High Surrogates", false},
      {0xE000, "Private Use Area", true},
      {0x1F600, "Emoticons", true},
      {0x086A, "Syriac Supplement", true},
      {0x086F, "Syriac Supplement", false},                   // unassigned at the block's end
      {0x10FFFF, "Supplementary Private Use Area-B", false},  // a noncharacter
  };
  for (const auto& c : cases) {
    const UnicodeBlock* block = BlockOf(c.code);
    const auto code = static_cast<unsigned>(c.code);
    ASSERT_EQ(block != nullptr, c.block != nullptr) << std::hex << code;
    if (block) {
      EXPECT_STREQ(block->name, c.block);
    }
    EXPECT_EQ(Shown(c.code), c.shown) << std::hex << code;
  }
  EXPECT_EQ(BlockOf(0x0041)->characters, 95);  // the printable ASCII
  EXPECT_EQ(BlockOf(0x0100)->characters, 128);

  // A face mapping a control, all of Latin Extended-A and two Greek letters.
  std::vector<std::pair<char32_t, unsigned>> map = {{0x000D, 1}};
  for (char32_t c = 0x0100; c <= 0x017F; ++c) map.emplace_back(c, c);
  map.emplace_back(0x03B1, 500);
  map.emplace_back(0x03B2, 501);
  const FaceCharset charset = CharsetOf(map);
  EXPECT_EQ(charset.characters, 130);
  ASSERT_EQ(charset.blocks.size(), 3u);
  EXPECT_STREQ(charset.blocks[0].block->name, "Latin Extended-A");
  EXPECT_EQ(charset.blocks[0].mapped.size(), 128u);
  EXPECT_STREQ(charset.blocks[1].block->name, "Greek and Coptic");
  EXPECT_EQ(charset.blocks[1].mapped.back().glyph, 501u);
  EXPECT_EQ(charset.blocks[2].block, nullptr);  // the control, last
  EXPECT_EQ(charset.blocks[2].mapped.front().code, 0x000Du);
}

// A character table's cell: 40 wide, 30 high, its baseline at 24.
TEST(SpecimenCharset, GlyphsStayInTheirCells) {
  const QRectF area(100, 0, 40, 30);
  const double baseline = 24;
  const struct {
    const char* what;
    QRectF ink;  // about the origin, y downward
    double advance;
    QPointF origin;
  } cases[] = {
      {"a letter, centred on the baseline", {1, -20, 18, 20}, 20, {110, 24}},
      {"a mark below, drawn alone, moved up", {-10, 2, 8, 8}, 0, {126, 20}},
      {"a mark above, drawn alone, moved down", {-8, -30, 6, 6}, 0, {125, 30}},
      {"a glyph taller than the cell, centred", {0, -50, 10, 60}, 10, {115, 35}},
      {"a space, by its advance", {}, 12, {114, 24}},
  };
  for (const auto& c : cases) {
    const QPointF origin = CellGlyphOrigin(c.ink, c.advance, area, baseline);
    EXPECT_EQ(origin, c.origin) << c.what;
    if (!c.ink.isEmpty() && c.ink.height() <= area.height()) {
      EXPECT_TRUE(area.contains(c.ink.translated(origin))) << c.what;
    }
  }
}

TEST(SpecimenProgress, BarCountsFaces) {
  EXPECT_EQ(BarText(0, 4, 8), "[........] 0/4 faces");
  EXPECT_EQ(BarText(1, 4, 8), "[##......] 1/4 faces");
  EXPECT_EQ(BarText(4, 4, 8), "[########] 4/4 faces");
  EXPECT_EQ(BarText(7, -1, 8), "7 faces");
}

}  // namespace
}  // namespace pellory::specimen
