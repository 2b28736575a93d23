// quilm-skin: draws the editor's skin pictures.
//   quilm-skin <folder>                     writes the 16 PNG files into the folder
//   quilm-skin --preview <file> [scale]     writes the background with controls on
//                                           it, scaled (default 1/3, "Medium")
#include "SkinSet.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int run(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--preview") {
        const double scale = argc >= 4 ? std::atof(argv[3]) : 1.0 / 3.0;
        if (scale <= 0 || scale > 1) {
            std::fprintf(stderr, "quilm-skin: scale must lie in (0, 1]\n");
            return 2;
        }
        return skin::writePreview(argv[2], scale) ? 0 : 1;
    }
    if (argc == 2 && argv[1][0] != '-') return skin::writeAll(argv[1]) ? 0 : 1;
    std::fprintf(stderr,
                 "usage: quilm-skin <folder>\n"
                 "       quilm-skin --preview <file.png> [scale]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int result = run(argc, argv);
    skin::releaseSharedCaches();
    return result;
}
