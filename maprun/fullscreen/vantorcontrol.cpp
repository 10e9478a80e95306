#include "maprun/fullscreen/vantorcontrol.h"

#include "maprun/fullscreen/findmode.h"
#include "maprun/fullscreen/fullscreenunit.h"
#include "maprun/fullscreen/vgaports.h"

#include "pcemu/machine.h"
#include "tobrin32/tobrin32.h"
#include "vidlib32/vidlib32.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace maprun {

namespace {

constexpr uint8_t kEscScanCode = 1;
constexpr uint8_t kOneKeyScanCode = 2;

// 72 ticks per second: a frame of m milliseconds lets the next advance cover
// trunc(0.072 m + 0.9) ticks.
int TicksFor(uint32_t elapsedMs) {
    return static_cast<int>(std::trunc(elapsedMs * 0.072 + 0.9));
}

} // namespace

uint32_t SteadyTimeMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

TVantorControlObject::TVantorControlObject(TTimeSource timeGetTime)
    : FTimeGetTime(std::move(timeGetTime)) {}

void TVantorControlObject::FindMode() {
    const SV_DeviceInfo* info = FullscreenUnit().DeviceInfo;
    FMode = FindMode640x400(info ? info->modes : nullptr);
}

std::string TVantorControlObject::HiResRefusal() const {
    if (FMode == 0) return "The display has no 640 x 400 mode with 256 colours";
    SV_ModeInfo info{};
    if (!SV_getModeInfo(FMode, &info) || info.pages < 2)
        return "The display's video memory cannot hold two pages of 640 x 400";
    return {};
}

TRunEnd TVantorControlObject::Run(Tgame& game) {
    BeginRun(game);
    TRunEnd end;
    try {
        end = Loop(game);
    } catch (...) {
        RestoreDesktop();
        throw;
    }
    RestoreDesktop();
    return end;
}

void TVantorControlObject::BeginRun(Tgame& game) {
    TFullscreenUnit& unit = FullscreenUnit();
    if (unit.ActiveControlObject) throw EVantorError("Already another VantorControlObject running");
    if (!unit.VideoWindow) throw EVantorError("The VGA window is not mapped");
    FindMode();
    if (game.HiRes())
        if (std::string refusal = HiResRefusal(); !refusal.empty()) throw EVantorError(refusal);
    FGame = &game;
    unit.ActiveControlObject = this;
    FSuspendFailure = nullptr;
    try {
        VT_startFullScreen(nullptr, 320, 200);
        InitMode();
        // A frame drawn for the window has its rows bottom-up; draw it again
        // top-down so that the first picture is not upside down.
        if (game.FrameBuffer().Flipped()) game.Draw();
        ShowFrame();
    } catch (...) {
        RestoreDesktop();
        throw;
    }
}

TRunEnd TVantorControlObject::Loop(Tgame& game) {
    uint32_t last = FTimeGetTime();
    int ticks = 1;
    VT_setSuspendAppCallback(SuspendHandler);
    VT_inFullScreen();
    VTEventRecord record{};
    for (;;) {
        const bool taken = VT_getEvent(&record, VT_EV_ALL) != 0;
        RethrowSuspendFailure();
        if (!taken) {
            game.Advance(ticks);
            game.Draw();
            ShowFrame();
            const uint32_t now = FTimeGetTime();
            ticks = TicksFor(now - last);
            last = now;
        } else {
            EventTaken(record);
            if (record.Kind == VT_EV_KEYUP) {
                const uint32_t scan = (record.Code >> 8) & 0xFF;
                if (scan == kEscScanCode)
                    VT_postEvent(kEndEvent, 0, 0);
                else if (scan == kOneKeyScanCode)
                    game.SetWindowed(true);
            }
        }
        if (record.Kind == kEndEvent) return TRunEnd::Escape;
        if (game.Windowed()) return TRunEnd::OneKey;
    }
}

void TVantorControlObject::RestoreDesktop() {
    VT_restoreGDI();
    TFullscreenUnit& unit = FullscreenUnit();
    if (unit.ActiveControlObject == this) unit.ActiveControlObject = nullptr;
    FGame = nullptr;
}

void TVantorControlObject::InitMode() {
    RgbQuad palette[256];
    std::copy_n(FGame->FrameBuffer().Colors(), 256, palette);
    if (FGame->HiRes()) {
        if (!SV_setMode(FMode | SV_MODE_MULTIBUFFER, 1, 0, 2))
            throw EVantorError("The display did not accept the 640 x 400 mode");
        SV_setPalette(0, 256, palette, 256);
        // The mode set made page 0 the active one; after a switch the next
        // frame goes to Page.
        SV_setActivePage(FPage);
    } else {
        RealRegs regs{};
        regs.x.ax = 0x0013;
        TB_int86(0x10, &regs, &regs);
        LoadVGAPalette(pcemu::TheMachine().ports(), palette);
    }
}

void TVantorControlObject::CopyBank(int32_t bank, uint32_t offset, const uint8_t* source,
                                    size_t bytes) {
    SV_setBank(bank);
    offset = std::min<uint32_t>(offset, kBankSize);
    std::memcpy(FullscreenUnit().VideoWindow + offset, source,
                std::min<size_t>(bytes, kBankSize - offset));
}

void TVantorControlObject::ShowFrame() {
    CopyFrame();
    if (FGame->HiRes()) FlipPage(1);
}

void TVantorControlObject::CopyFrame() {
    const TFrameBuffer& frame = FGame->FrameBuffer();
    const uint8_t* source = frame.Bits();
    size_t remaining = static_cast<size_t>(frame.Width()) * static_cast<size_t>(frame.Height());
    if (!FGame->HiRes()) {
        std::memcpy(FullscreenUnit().VideoWindow, source, std::min<size_t>(remaining, kBankSize));
        return;
    }
    // The active page (Page) starts where the device record says: at bank 4
    // for page 1 with the BIOS's 256 KB pages, wherever an accelerator
    // driver puts its second buffer.
    const SV_DeviceInfo* device = FullscreenUnit().DeviceInfo;
    int32_t bank = device ? device->pageBank : (FPage == 1 ? kSecondPageBank : 0);
    uint32_t offset = device ? static_cast<uint32_t>(device->pageOrigin) & 0xFFFF : 0;
    // An accelerator may still be drawing (the mode set clears the screen
    // with it): video memory is written only once it has finished.
    SV_beginDirectAccess();
    while (remaining > 0) {
        const size_t piece = std::min<size_t>(remaining, kBankSize - offset);
        CopyBank(bank, offset, source, piece);
        source += piece;
        remaining -= piece;
        offset = 0;
        ++bank;
    }
    SV_endDirectAccess();
}

void TVantorControlObject::FlipPage(int32_t waitForRetrace) {
    RasterMarker(pcemu::TheMachine().ports());
    SV_setVisualPage(FPage, waitForRetrace);
    FPage = 1 - FPage;
    SV_setActivePage(FPage);
}

int32_t TVantorControlObject::SuspendHandler(int32_t flag) {
    TVantorControlObject* active = FullscreenUnit().ActiveControlObject;
    if (!active || (flag & VT_SUSPEND_ASK)) return 1;
    if (flag & VT_SUSPEND_RESUMED) {
        // Called from inside the event library: nothing may unwind through it.
        try {
            active->InitMode();
            active->ShowFrame();
        } catch (...) {
            active->FSuspendFailure = std::current_exception();
        }
    }
    return 1;
}

void TVantorControlObject::RethrowSuspendFailure() {
    if (!FSuspendFailure) return;
    std::exception_ptr failure = FSuspendFailure;
    FSuspendFailure = nullptr;
    std::rethrow_exception(failure);
}

} // namespace maprun
