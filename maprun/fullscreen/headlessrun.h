#pragma once
// A fullscreen run without a screen or a user, for tools and tests: the
// event library's scripted window system, a clock that advances a fixed
// step per loop pass, named keys delivered once a number of frames has been
// shown (one key at each poll of the loop, as a user presses them one after
// another), and a record of what each frame did to the emulated display.
#include "maprun/fullscreen/vantorcontrol.h"

#include "pcemu/image.h"
#include "vantor32/fakeplatform.h"

#include <functional>
#include <string>
#include <vector>

namespace maprun {

struct TFrameRecord {
    std::vector<int32_t> Banks; // the window's bank as each copy went in (none at 320 x 200)
    int32_t VisiblePage = 0;    // the page the display starts at after the frame (-1: none)
    int32_t ActivePage = 0;     // the page the next frame goes to
    int32_t Ticks = 0;          // ticks the game advanced since the frame before
    pcemu::Image Scanout;       // what the monitor shows after the frame
};

struct THeadlessScript {
    int Frames = 3;                       // frames shown before the keys arrive
    std::vector<std::string> Keys{"esc"}; // names of headlesskeys.h, in order
    uint32_t MillisecondsPerPass = 14;    // the clock's step at each pass (one tick)
    // Passes after the keys before a run they did not end is ended by force.
    int PassLimit = 200;
    // Called at each pass of the window system after the script's own work,
    // with the number of frames shown so far.
    std::function<void(vantor32::FakePlatform& fake, int framesShown)> OnPump;
};

struct THeadlessRun {
    std::vector<TFrameRecord> Frames;
    std::vector<VTEventRecord> Events; // every event the loop took, in order
    TRunEnd End = TRunEnd::Escape;
    uint16_t Mode = 0;    // the VESA mode the run chose for 640 x 400 (0: none)
    bool Stopped = false; // the keys did not end the run within the pass limit
};

// Runs TVantorControlObject on `game` as the window's button does (Windowed
// false during the run, true afterwards), with the scripted window system
// installed for the run's duration. The object's errors pass to the caller.
// The user comes back two passes after any switch away.
THeadlessRun RunHeadless(Tgame& game, const THeadlessScript& script);

} // namespace maprun
