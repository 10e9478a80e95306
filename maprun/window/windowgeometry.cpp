#include "maprun/window/windowgeometry.h"

namespace maprun {

WindowRect CentredWindow(const WindowRect& oldOuter, int frameWidth, int frameHeight,
                         int borderWidth, int borderHeight) {
    int cx = oldOuter.left + oldOuter.width / 2;
    int cy = oldOuter.top + oldOuter.height / 2;
    WindowRect r;
    r.width = frameWidth + borderWidth;
    r.height = frameHeight + kPictureTop + borderHeight;
    r.left = cx - r.width / 2;
    r.top = cy - r.height / 2;
    return r;
}

} // namespace maprun
