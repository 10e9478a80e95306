// maptool: inspects and converts the map, picture, tile set and tile palette files.
#include "maptool/commands.h"

#include "formats/replacefile.h"

#include <iostream>

int main(int argc, char** argv) {
    formats::IgnoreFileSizeSignal(); // a file-size limit fails the write, not the program
    maptool::Arguments args(argv + 1, argv + argc);
    return maptool::RunMapTool(args, std::cout, std::cerr);
}
