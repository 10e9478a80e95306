#pragma once
// Runs a game fullscreen: takes the screen from the desktop, sets a
// 256-colour mode (VGA mode 13h at 320 x 200, or a 640 x 400 VESA mode with
// two pages), and draws frames into video memory until Esc or the 1 key is
// released. After a switch to another application it sets mode, palette and
// picture again.
#include "maprun/core/game.h"

#include "vantor32/vantor32.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

namespace maprun {

class EVantorError : public std::runtime_error {
public:
    explicit EVantorError(const std::string& message) : std::runtime_error(message) {}
};

// Milliseconds from an arbitrary start; wraps around like a 32-bit counter.
using TTimeSource = std::function<uint32_t()>;
uint32_t SteadyTimeMs();

enum class TRunEnd {
    Escape, // Esc released: the posted end event was taken
    OneKey, // the 1 key released: the game's Windowed was set
};

class TVantorControlObject {
public:
    static constexpr uint32_t kEndEvent = 0x81;
    static constexpr int kBankSize = 65536;
    // The second page starts this many banks into video memory.
    static constexpr int kSecondPageBank = 4;

    explicit TVantorControlObject(TTimeSource timeGetTime = SteadyTimeMs);
    virtual ~TVantorControlObject() = default;
    TVantorControlObject(const TVantorControlObject&) = delete;
    TVantorControlObject& operator=(const TVantorControlObject&) = delete;

    // The fullscreen loop; returns when it ends, with the desktop back.
    // Raises EVantorError when another run is in progress, when the game is
    // high-resolution and the display has no 640 x 400 mode with two pages
    // (both before the screen is taken), and when the display refuses the
    // mode. Whatever leaves the loop gives the desktop back first.
    TRunEnd Run(Tgame& game);

    // Sets the video mode and the palette for the game's resolution.
    virtual void InitMode();
    // Copies the game's frame buffer to the screen.
    virtual void ShowFrame();
    // Chooses Mode from the device record's list.
    void FindMode();
    // Gives the screen back and ends the run's state.
    void RestoreDesktop();
    // The application-switch callback: allows every switch, and on return
    // sets mode, palette and picture again.
    static int32_t SuspendHandler(int32_t flag);

    int32_t Page() const { return FPage; }
    Tgame* Game() const { return FGame; }
    uint16_t Mode() const { return FMode; }

protected:
    // The start of Run: the checks (raising before anything changes), then
    // the screen taken, mode and palette set and the first frame shown. The
    // run is then in progress until RestoreDesktop; a failure after the
    // screen was taken gives it back before it passes on.
    void BeginRun(Tgame& game);
    // The frame into video memory: one block at 320 x 200; at 640 x 400 bank
    // by bank into the active page (Page).
    void CopyFrame();
    // 640 x 400: the raster marker, then the page just filled is shown (at
    // vertical retrace when asked) and the other one becomes Page.
    void FlipPage(int32_t waitForRetrace);
    // Moves the window to `bank` and copies `bytes` into it from `offset` on
    // (no further than the window's end).
    virtual void CopyBank(int32_t bank, uint32_t offset, const uint8_t* source, size_t bytes);
    // Called with every event the loop takes, before it acts on it.
    virtual void EventTaken(const VTEventRecord&) {}

private:
    // Polls events and draws frames until Esc's end event or Windowed.
    TRunEnd Loop(Tgame& game);
    // The reason a 640 x 400 run cannot start, or empty.
    std::string HiResRefusal() const;
    void RethrowSuspendFailure();

    int32_t FPage = 0;
    Tgame* FGame = nullptr;
    uint16_t FMode = 0;
    TTimeSource FTimeGetTime;
    // A failure while mode and picture were restored inside the event
    // library, raised once the library has returned.
    std::exception_ptr FSuspendFailure;
};

} // namespace maprun
