// demogen OUTDIR: writes the demo tile set, pictures, map and tile palette.
#include "demogen/generate.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "demogen: usage: demogen OUTDIR\n";
        return 1;
    }
    try {
        std::vector<std::string> files = demo::GenerateDemo(argv[1]);
        std::cout << "demogen: wrote " << files.size() << " files to " << argv[1] << '\n';
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "demogen: " << e.what() << '\n';
        return 1;
    }
}
