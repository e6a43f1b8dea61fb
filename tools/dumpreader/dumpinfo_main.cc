// vanta-dumpinfo: tells what a crash dump of the device's daemons holds,
// without a debugger: the crash, each thread's instruction as
// "<module>+<offset>" and the modules' build ids (which say the build the
// symbols must come from).
//
//   vanta-dumpinfo FILE.dmp ...
//   addr2line -f -C -e <that build's vantaapid> <offset>   for a line number

#include <cstring>
#include <exception>
#include <iostream>

#include "tools/dumpreader/dump_summary.h"
#include "tools/dumpreader/minidump_reader.h"

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::cerr << "usage: vanta-dumpinfo FILE.dmp ...\n";
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            const auto summary =
                vanta::dumpreader::summarize(vanta::dumpreader::read_minidump(argv[i]));
            std::cout << (argc > 2 ? std::string(argv[i]) + ":\n" : "") << summary;
        } catch (const std::exception& error) {
            std::cerr << "vanta-dumpinfo: " << error.what() << "\n";
            status = 1;
        }
    }
    return status;
}
