#include "maprun/ui/emulatedmonitor.h"

#include "pcemu/machine.h"

#include <memory>

namespace maprun {

vantor32qt::ScreenSource EmulatedMonitor() {
    auto scan = std::make_shared<pcemu::Image>(); // storage kept between refreshes
    vantor32qt::ScreenSource source;
    source.scanout = [scan](vantor32qt::ScreenImage& image) {
        pcemu::TheMachine().adapter().scanout(*scan);
        if (scan->width <= 0 || scan->height <= 0) return false;
        image.width = scan->width;
        image.height = scan->height;
        image.pixels.assign(scan->pixels.begin(), scan->pixels.end());
        return true;
    };
    source.refreshHz = pcemu::Adapter::kRefreshHz;
    return source;
}

} // namespace maprun
