#pragma once
// The view centre's walk over the map: one pixel per tick on each axis,
// turning round once it has passed an edge, so it sweeps from -1 to one pixel
// past the far edge and back.
#include "maprun/core/map.h"

namespace maprun {

struct TViewMotion {
    TPoint Pos{150, 1000};
    bool MovingUp = false;
    bool MovingLeft = false;

    void Step(int32_t mapWidthCells, int32_t mapHeightCells) {
        Pos.Y = Moved(Pos.Y, MovingUp);
        Pos.X = Moved(Pos.X, MovingLeft);
        if (Pos.X < 0) MovingLeft = false;
        if (Pos.Y < 0) MovingUp = false;
        if (int64_t(Pos.X) > int64_t(mapWidthCells) * kTileSize) MovingLeft = true;
        if (int64_t(Pos.Y) > int64_t(mapHeightCells) * kTileSize) MovingUp = true;
    }

private:
    // One pixel back or forward; a centre placed at the end of the range stays there.
    static int32_t Moved(int32_t v, bool back) {
        if (back) return v == INT32_MIN ? v : v - 1;
        return v == INT32_MAX ? v : v + 1;
    }
};

} // namespace maprun
