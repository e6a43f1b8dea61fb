// Writes the bus translation fuzzer's seeds: the bus message of every row of
// the translation table, serialized, one file per row, into the folder given.

#include <cstdio>
#include <fstream>
#include <string>

#include "support/bus_translation_table.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    int written = 0;
    for (const auto& row : vanta::testing::translation_table()) {
        char name[32];
        std::snprintf(name, sizeof(name), "/row-%03d", written++);
        std::ofstream file(std::string(argv[1]) + name, std::ios::binary | std::ios::trunc);
        if (!vanta::testing::bus_message(row).SerializeToOstream(&file)) {
            return 1;
        }
    }
    std::printf("%d seeds written\n", written);
    return 0;
}
