// maptool: inspects and converts the map, picture, tile set and tile palette files.
#include "maptool/commands.h"

#include <iostream>

int main(int argc, char** argv) {
    maptool::Arguments args(argv + 1, argv + argc);
    return maptool::RunMapTool(args, std::cout, std::cerr);
}
