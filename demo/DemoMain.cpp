// tamber-demo OUTFOLDER [--scale bench] [--archives N] [--tags N] [--loose N] [--payload BYTES]
// Writes the demo game folder deterministically, replacing an earlier one.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo/DemoGame.h"

using namespace tamber::demo;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: tamber-demo OUTFOLDER [--scale bench] [--archives N] [--tags N] [--loose N] [--payload BYTES]\n"
                 "  --scale bench  300 extra archives, 150000 tags, 5000 loose files, empty payloads\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') return Usage();
    DemoOptions options;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (arg == "--scale") {
            if (std::strcmp(value, "bench") != 0) return Usage();
            options.extraArchives = 300;
            options.extraTags = 150000;
            options.extraLoose = 5000;
            options.payloadBytes = 0;
            continue;
        }
        char* end = nullptr;
        const long number = std::strtol(value, &end, 10);
        if (!end || *end || number < 0 || number > 10000000) return Usage();
        if (arg == "--archives") options.extraArchives = static_cast<int>(number);
        else if (arg == "--tags") options.extraTags = static_cast<int>(number);
        else if (arg == "--loose") options.extraLoose = static_cast<int>(number);
        else if (arg == "--payload") options.payloadBytes = static_cast<int>(number);
        else return Usage();
    }
    if (options.extraTags > 0 && options.extraArchives == 0) options.extraArchives = 1;
    if (options.extraArchives > 0 && int64_t{options.extraTags} > int64_t{options.extraArchives} * 65535) {
        std::fprintf(stderr, "tamber-demo: at most 65535 tags fit in one archive\n");
        return 2;
    }
    if (Status made = GenerateDemoGame(argv[1], options); !made) {
        std::fprintf(stderr, "tamber-demo: %s\n", made.error().c_str());
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
