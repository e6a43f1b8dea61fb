#include "runtime/crash/elf_build_id.h"

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstring>

namespace vanta::crash {

namespace {

constexpr size_t kMaxNotesSize = 64 * 1024;
constexpr size_t kMaxProgramHeaders = 256;

#if __SIZEOF_POINTER__ == 8
constexpr unsigned char kNativeElfClass = ELFCLASS64;
#else
constexpr unsigned char kNativeElfClass = ELFCLASS32;
#endif

size_t alignUp(size_t value, size_t alignment) {
    return (value + alignment - 1) & ~(alignment - 1);
}

// Looks for the GNU build id among the notes at `notes` (one PT_NOTE segment).
size_t findBuildIdNote(const MemoryReader& memory, uintptr_t notes, size_t size, size_t alignment,
                       uintptr_t readable_begin, uintptr_t readable_end,
                       uint8_t (&build_id)[kMaxBuildIdSize]) {
    size = std::min(size, kMaxNotesSize);
    size_t offset = 0;
    while (offset + sizeof(ElfW(Nhdr)) <= size) {
        ElfW(Nhdr) note;
        if (!memory.read(&note, notes + offset, sizeof note, readable_begin, readable_end)) {
            return 0;
        }
        // The description and the next note start at the segment's alignment,
        // counted from the start of the segment.
        const size_t name_offset = offset + sizeof note;
        const size_t description_offset = alignUp(name_offset + note.n_namesz, alignment);
        const size_t next = alignUp(description_offset + note.n_descsz, alignment);
        if (note.n_namesz > size || note.n_descsz > size || next > size) {
            return 0;
        }
        char name[4];
        if (note.n_type == NT_GNU_BUILD_ID && note.n_namesz == sizeof name && note.n_descsz > 0 &&
            memory.read(name, notes + name_offset, sizeof name, readable_begin, readable_end) &&
            memcmp(name, "GNU", sizeof name) == 0) {
            const size_t length = std::min<size_t>(note.n_descsz, kMaxBuildIdSize);
            return memory.read(build_id, notes + description_offset, length, readable_begin,
                               readable_end)
                       ? length
                       : 0;
        }
        offset = next;
    }
    return 0;
}

}  // namespace

size_t readElfBuildId(const MemoryReader& memory, uintptr_t image, uintptr_t readable_end,
                      uint8_t (&build_id)[kMaxBuildIdSize]) {
    const uintptr_t base = image;
    ElfW(Ehdr) header;
    if (!memory.read(&header, base, sizeof header, base, readable_end) ||
        memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != kNativeElfClass || header.e_phentsize != sizeof(ElfW(Phdr))) {
        return 0;
    }
    const size_t count = std::min<size_t>(header.e_phnum, kMaxProgramHeaders);
    auto readProgramHeader = [&](size_t index, ElfW(Phdr) & program_header) {
        return memory.read(&program_header, base + header.e_phoff + index * sizeof program_header,
                           sizeof program_header, base, readable_end);
    };

    // Addresses in the program headers are relative to the load bias; the
    // first loadable segment says where the file's offset 0 went.
    uintptr_t load_bias = 0;
    bool found_load = false;
    for (size_t index = 0; index < count && !found_load; ++index) {
        ElfW(Phdr) program_header;
        if (!readProgramHeader(index, program_header)) {
            return 0;
        }
        if (program_header.p_type == PT_LOAD) {
            load_bias = base - static_cast<uintptr_t>(program_header.p_vaddr) +
                        static_cast<uintptr_t>(program_header.p_offset);
            found_load = true;
        }
    }
    if (!found_load) {
        return 0;
    }
    for (size_t index = 0; index < count; ++index) {
        ElfW(Phdr) program_header;
        if (!readProgramHeader(index, program_header)) {
            return 0;
        }
        if (program_header.p_type != PT_NOTE) {
            continue;
        }
        const size_t alignment = program_header.p_align == 8 ? 8 : 4;
        const size_t length = findBuildIdNote(
            memory, load_bias + static_cast<uintptr_t>(program_header.p_vaddr),
            static_cast<size_t>(program_header.p_filesz), alignment, base, readable_end, build_id);
        if (length > 0) {
            return length;
        }
    }
    return 0;
}

}  // namespace vanta::crash
