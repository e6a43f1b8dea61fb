// The problem-report metadata loader: any metadata file gives a bundle without
// an exception, and what the bundle writes back loads again unchanged.
//
// Input: the metadata file's bytes.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_target.h"
#include "problemreport/bundle_loader.h"
#include "problemreport/bundle_paths.h"
#include "support/data_files.h"
#include "support/temp_dir.h"

namespace {

// A bundle path in a folder of this process's own.
const std::string& bundle_path() {
    static const vanta::testing::TempDir folder;
    static const std::string path = (folder.path() / "prb-1.tar.gz").string();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vanta::problemreport;
    vanta::testing::write_text(metadata_path_from_bundle_path(bundle_path()),
                               std::string(reinterpret_cast<const char*>(data), size));
    const auto loaded = load_bundle(bundle_path());
    require(loaded != nullptr, "no bundle");
    const nlohmann::json first = loaded->get_data(false);
    loaded->get_data(true);

    loaded->write_metadata_to_disk(true);
    const nlohmann::json second = load_bundle(bundle_path())->get_data(false);
    if (first != second) {
        std::fprintf(stderr, "loaded:   %s\nreloaded: %s\n", first.dump().c_str(),
                     second.dump().c_str());
        require(false, "the written metadata does not load back unchanged");
    }
    return 0;
}
