#include "tools/dumpreader/minidump_reader.h"

#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vanta::dumpreader {
namespace {

// Little-endian fields of the dump, every read checked against its end.
// What is copied out (stacks, texts, build ids) adds up to the size of the
// file at most: parts that overlap (which a hostile file may make) would
// otherwise let a small file take any amount of memory.
class Bytes {
  public:
    explicit Bytes(std::vector<uint8_t> data) : data_(std::move(data)) {}

    template <typename T>
    T get(uint64_t offset) const {
        check(offset, sizeof(T));
        T value;
        std::memcpy(&value, data_.data() + offset, sizeof(T));
        return value;
    }
    void check(uint64_t offset, uint64_t size) const {
        if (offset > data_.size() || size > data_.size() - offset) {
            throw std::runtime_error("a field lies past the end of the dump");
        }
    }
    std::vector<uint8_t> copy(uint64_t offset, uint64_t size) {
        check(offset, size);
        count_copied(size);
        const auto begin = data_.begin() + static_cast<std::ptrdiff_t>(offset);
        return {begin, begin + static_cast<std::ptrdiff_t>(size)};
    }
    void count_copied(uint64_t size) {
        copied_ += size;
        if (copied_ > data_.size()) {
            throw std::runtime_error("the dump's parts overlap");
        }
    }

  private:
    std::vector<uint8_t> data_;
    uint64_t copied_ = 0;
};

// A length in bytes, then UTF-16 units; other than ASCII shows as '?'.
std::string read_string(Bytes& bytes, uint64_t rva) {
    const uint64_t length = bytes.get<uint32_t>(rva);
    bytes.check(rva + 4, length);
    bytes.count_copied(length);
    std::string text;
    for (uint64_t offset = 0; offset + 1 < length; offset += 2) {
        const auto unit = bytes.get<uint16_t>(rva + 4 + offset);
        text += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return text;
}

// The stack and instruction pointers of an AMD64 or ARM context, known by
// its size and its flags.
void read_registers(const Bytes& bytes, DumpThread& thread) {
    const uint64_t context = thread.context.rva;
    bytes.check(context, thread.context.size);
    if (thread.context.size == 1232 && (bytes.get<uint32_t>(context + 48) & 0x00100000) != 0) {
        thread.stack_pointer = bytes.get<uint64_t>(context + 152);
        thread.instruction_pointer = bytes.get<uint64_t>(context + 248);
    } else if (thread.context.size == 368 && (bytes.get<uint32_t>(context) & 0x40000000) != 0) {
        thread.stack_pointer = bytes.get<uint32_t>(context + 4 + 13 * 4);
        thread.instruction_pointer = bytes.get<uint32_t>(context + 4 + 15 * 4);
    }
}

class Reader {
  public:
    Reader(Bytes bytes, Minidump& dump) : bytes_(std::move(bytes)), dump_(dump) {}

    void read() {
        if (bytes_.get<uint32_t>(0) != 0x504d444d || (bytes_.get<uint32_t>(4) & 0xffff) != 0xa793) {
            throw std::runtime_error("not a minidump");
        }
        const auto stream_count = bytes_.get<uint32_t>(8);
        const auto directory = bytes_.get<uint32_t>(12);
        for (uint32_t index = 0; index < stream_count; ++index) {
            const uint64_t entry = directory + 12ULL * index;
            dump_.streams[bytes_.get<uint32_t>(entry)] = {bytes_.get<uint32_t>(entry + 4),
                                                          bytes_.get<uint32_t>(entry + 8)};
        }
        read_system();
        read_exception();
        read_threads();
        for (const uint64_t range : entries(kMemoryListStream, 16)) {
            dump_.memory_ranges.emplace_back(bytes_.get<uint64_t>(range),
                                             bytes_.get<uint32_t>(range + 8));
        }
        read_modules();
        dump_.maps = text(kLinuxMapsStream);
        dump_.status = text(kLinuxProcStatusStream);
    }

  private:
    std::optional<Location> stream(uint32_t type) const {
        const auto it = dump_.streams.find(type);
        return it == dump_.streams.end() ? std::nullopt : std::optional<Location>(it->second);
    }

    // The offsets of a list stream's entries: a count, then the entries.
    std::vector<uint64_t> entries(uint32_t type, uint64_t entry_size) const {
        std::vector<uint64_t> offsets;
        if (const auto list = stream(type)) {
            const auto count = bytes_.get<uint32_t>(list->rva);
            if (list->size != 4 + entry_size * count) {
                throw std::runtime_error("a list's size does not match its count");
            }
            bytes_.check(list->rva, list->size);
            for (uint32_t index = 0; index < count; ++index) {
                offsets.push_back(list->rva + 4 + entry_size * index);
            }
        }
        return offsets;
    }

    std::string text(uint32_t type) {
        const auto location = stream(type).value_or(Location{});
        const auto data = bytes_.copy(location.rva, location.size);
        return std::string(data.begin(), data.end());
    }

    void read_system() {
        if (const auto at = stream(kSystemInfoStream)) {
            dump_.architecture = bytes_.get<uint16_t>(at->rva);
            dump_.processors = bytes_.get<uint8_t>(at->rva + 6);
            dump_.platform = bytes_.get<uint32_t>(at->rva + 20);
        }
    }

    void read_exception() {
        if (const auto at = stream(kExceptionStream)) {
            dump_.exception_thread = bytes_.get<uint32_t>(at->rva);
            dump_.exception_code = bytes_.get<uint32_t>(at->rva + 8);
            dump_.exception_flags = bytes_.get<uint32_t>(at->rva + 12);
            dump_.exception_address = bytes_.get<uint64_t>(at->rva + 24);
            dump_.exception_context = {bytes_.get<uint32_t>(at->rva + 160),
                                       bytes_.get<uint32_t>(at->rva + 164)};
        }
    }

    void read_threads() {
        for (const uint64_t thread : entries(kThreadListStream, 48)) {
            DumpThread parsed;
            parsed.id = bytes_.get<uint32_t>(thread);
            parsed.stack_start = bytes_.get<uint64_t>(thread + 24);
            parsed.stack =
                bytes_.copy(bytes_.get<uint32_t>(thread + 36), bytes_.get<uint32_t>(thread + 32));
            parsed.context = {bytes_.get<uint32_t>(thread + 40), bytes_.get<uint32_t>(thread + 44)};
            read_registers(bytes_, parsed);
            dump_.threads.push_back(std::move(parsed));
        }
    }

    // A module's build id is its CodeView record of signature "LEpB".
    void read_modules() {
        for (const uint64_t module : entries(kModuleListStream, 108)) {
            DumpModule parsed;
            parsed.base = bytes_.get<uint64_t>(module);
            parsed.size = bytes_.get<uint32_t>(module + 8);
            parsed.name = read_string(bytes_, bytes_.get<uint32_t>(module + 20));
            const auto cv_size = bytes_.get<uint32_t>(module + 76);
            const auto cv_rva = bytes_.get<uint32_t>(module + 80);
            if (cv_size >= 4 && bytes_.get<uint32_t>(cv_rva) == 0x4270454c) {
                parsed.build_id = bytes_.copy(cv_rva + 4ULL, cv_size - 4);
            }
            dump_.modules.push_back(std::move(parsed));
        }
    }

    Bytes bytes_;
    Minidump& dump_;
};

}  // namespace

const DumpModule* Minidump::module_at(uint64_t address) const {
    for (const DumpModule& module : modules) {
        // Below the base the difference wraps around.
        if (address - module.base < module.size) {
            return &module;
        }
    }
    return nullptr;
}

Minidump read_minidump(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    Bytes bytes({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    Minidump dump;
    try {
        Reader(std::move(bytes), dump).read();
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(path.string() + ": " + error.what());
    }
    return dump;
}

}  // namespace vanta::dumpreader
