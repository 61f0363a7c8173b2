#include "build_identity.h"

#include <elf.h>
#include <fontconfig/fontconfig.h>
#include <hb.h>
#include <link.h>

#include <cstring>
#include <string_view>

#include "face_store.h"
#include "freetype_handle.h"

namespace pellory::mkcatalogue {
namespace {

std::string Hex(const unsigned char* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0xF];
  }
  return text;
}

std::size_t NoteAligned(std::size_t size) {
  return (size + 3) & ~std::size_t{3};
}

// The GNU build ID among the notes of one loaded segment.
std::string BuildIdInNotes(const unsigned char* notes, std::size_t size) {
  std::size_t at = 0;
  while (size - at >= sizeof(ElfW(Nhdr))) {
    ElfW(Nhdr) header;
    std::memcpy(&header, notes + at, sizeof header);
    at += sizeof header;
    const std::size_t name = NoteAligned(header.n_namesz), desc = NoteAligned(header.n_descsz);
    if (name > size - at || desc > size - at - name) return {};
    if (header.n_type == NT_GNU_BUILD_ID && header.n_namesz == 4 &&
        std::memcmp(notes + at, "GNU", 4) == 0)
      return Hex(notes + at + name, header.n_descsz);
    at += name + desc;
  }
  return {};
}

// dl_iterate_phdr lists the program itself first.
int ProgramBuildId(dl_phdr_info* info, std::size_t, void* found) {
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_NOTE) continue;
    const auto* notes = reinterpret_cast<const unsigned char*>(info->dlpi_addr + segment.p_vaddr);
    std::string id = BuildIdInNotes(notes, segment.p_memsz);
    if (!id.empty()) {
      *static_cast<std::string*>(found) = std::move(id);
      break;
    }
  }
  return 1;
}

std::string FreeTypeVersion() {
  FreeTypeLibrary library = OpenFreeType();
  FT_Int major = 0, minor = 0, patch = 0;
  FT_Library_Version(library.get(), &major, &minor, &patch);
  return std::to_string(major) + '.' + std::to_string(minor) + '.' + std::to_string(patch);
}

std::string FontconfigVersion() {
  const int v = FcGetVersion();
  return std::to_string(v / 10000) + '.' + std::to_string(v / 100 % 100) + '.' +
         std::to_string(v % 100);
}

}  // namespace

std::string BuilderIdentity() {
  std::string id;
  dl_iterate_phdr(ProgramBuildId, &id);
  if (id.empty()) return {};
  return "build " + id + " (FreeType " + FreeTypeVersion() + ", HarfBuzz " + hb_version_string() +
         ", fontconfig " + FontconfigVersion() + ")";
}

std::string SharedInputsText(const std::filesystem::path& plainFile,
                             const std::set<std::string>& cursiveFamilies) {
  std::string text = "plain face " + plainFile.string();
  if (const auto stamp = StampOf(plainFile))
    text += " (" + std::to_string(stamp->size) + " bytes, modified " +
            std::to_string(stamp->modified) + ")";
  text += "; cursive families:";
  for (const std::string& family : cursiveFamilies)
    text += (&family == &*cursiveFamilies.begin() ? " " : ", ") + family;
  return text;
}

}  // namespace pellory::mkcatalogue
