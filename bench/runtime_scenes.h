#pragma once
// The scenes the runtime's drawing is measured on: the demo level, and a busy
// generated level that fills all three layers of every cell.
#include <filesystem>
#include <string>

namespace bench {

struct Scene {
    std::filesystem::path dir; // the test picture and sprite lie here
    std::filesystem::path map;
    std::string source; // said in the benchmark's context
};

// The demo data: from ZORV_DEMO_DIR, else ../demo as `./dev demo` leaves it
// beside the benchmark folder, else generated into a temporary folder.
Scene DemoScene();

// 80 x 50 cells, every cell holding a tile on each of the three drawn layers:
// the background solid, the two layers above a mix in which, over all three
// layers, a third of the tiles are transparent and a tenth shaded (the rest
// solid). Transparent tiles are ragged (several runs a row) or round; shaded
// ones are whole-tile shadows or a chequer of shade. Written to a temporary
// folder with the demo's test picture and sprite; the same bytes every time.
Scene BusyScene();

} // namespace bench
