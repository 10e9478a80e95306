#include "vga/accel_engine.h"

#include "vga/vram_view.h"

#include <algorithm>
#include <climits>

namespace pcemu {

AccelEngine::AccelEngine(AddressSpace& space, MemoryBus& memory, const VramView& view)
    : memory_(memory), view_(view), guard_(space) {
    regs_[kAccelBpp / 4] = 8;
    regs_[kAccelClipRight / 4] = static_cast<uint32_t>(-1);
    regs_[kAccelClipBottom / 4] = static_cast<uint32_t>(-1);
}

// Word accesses go to their register; narrower or unaligned ones are taken
// apart into bytes of the words they cover.
uint32_t AccelEngine::read(uint32_t offset, unsigned size) {
    if (size == 4 && (offset & 3) == 0) return readWord(offset);
    uint32_t v = 0, word = 0, wordAt = 1; // each word is read once (STATUS counts reads)
    for (unsigned i = 0; i < size; ++i) {
        uint32_t at = offset + i;
        if ((at & ~3u) != wordAt) {
            wordAt = at & ~3u;
            word = readWord(wordAt);
        }
        v |= ((word >> (8 * (at & 3))) & 0xFF) << (8 * i);
    }
    return v;
}

void AccelEngine::write(uint32_t offset, uint32_t value, unsigned size) {
    if (size == 4 && (offset & 3) == 0) {
        writeWord(offset, value);
        return;
    }
    for (unsigned i = 0; i < size; ++i) {
        uint32_t at = offset + i;
        uint32_t word = at & ~3u;
        if (word >= kAccelRegisterSize) continue;
        unsigned shift = 8 * (at & 3);
        uint32_t merged =
            (regs_[word / 4] & ~(0xFFu << shift)) | (((value >> (8 * i)) & 0xFF) << shift);
        writeWord(word, merged);
    }
}

void AccelEngine::settle() {
    if (closedByUs_ && !guard_.closed()) {
        busyReads_ = 0;
        closedByUs_ = false;
    }
}

bool AccelEngine::busy() const {
    return busyReads_ > 0 && !(closedByUs_ && !guard_.closed());
}

uint32_t AccelEngine::readWord(uint32_t reg) {
    if (reg >= kAccelRegisterSize) return 0xFFFFFFFF;
    switch (reg) {
    case kAccelIdRegister:
        return kAccelId;
    case kAccelStatus: {
        settle();
        uint32_t status = direct_ ? uint32_t{kAccelDirect} : 0;
        if (busyReads_ > 0) {
            status |= kAccelBusy;
            if (--busyReads_ == 0) {
                guard_.open();
                closedByUs_ = false;
            }
        }
        return status;
    }
    case kAccelViolations:
        return static_cast<uint32_t>(guard_.violations());
    case kAccelCommand:
        return 0;
    default:
        return regs_[reg / 4];
    }
}

void AccelEngine::writeWord(uint32_t reg, uint32_t value) {
    if (reg >= kAccelRegisterSize) return;
    switch (reg) {
    case kAccelIdRegister:
    case kAccelStatus:
    case kAccelViolations:
        return;
    case kAccelDirectAccess:
        regs_[reg / 4] = value & 1;
        setDirectAccess((value & 1) != 0);
        return;
    case kAccelCommand:
        run(value);
        return;
    default:
        regs_[reg / 4] = value;
    }
}

// Direct access ends the busy time as waiting would, and keeps video memory
// open until it is switched off.
void AccelEngine::setDirectAccess(bool on) {
    settle();
    direct_ = on;
    if (on) {
        busyReads_ = 0;
        guard_.open();
        closedByUs_ = false;
    }
}

void AccelEngine::run(uint32_t command) {
    settle();
    uint64_t pixels = execute(command);
    ++commands_;
    if (direct_) return;
    busyReads_ += kBaseBusyReads + pixels / kPixelsPerRead;
    // With no mapping of its own the engine draws through the linear view,
    // which then must stay open.
    if (view_.separate() && !guard_.closed()) {
        guard_.close();
        closedByUs_ = guard_.closed();
    }
}

DrawTarget AccelEngine::target() const {
    DrawTarget t;
    t.vram = view_.data();
    t.vramSize = view_.size();
    t.origin = reg(kAccelOrigin);
    t.pitch = reg(kAccelPitch);
    t.bpp = std::clamp(reg(kAccelBpp), 8u, 32u);
    t.clipLeft = static_cast<int32_t>(reg(kAccelClipLeft));
    t.clipTop = static_cast<int32_t>(reg(kAccelClipTop));
    t.clipRight = static_cast<int32_t>(reg(kAccelClipRight));
    t.clipBottom = static_cast<int32_t>(reg(kAccelClipBottom));
    return t;
}

Pen AccelEngine::pen() const {
    Pen p;
    p.fore = reg(kAccelForeColour);
    p.back = reg(kAccelBackColour);
    p.foreMix = reg(kAccelForeMix) & 3;
    p.backMix = reg(kAccelBackMix) & 3;
    return p;
}

uint64_t AccelEngine::execute(uint32_t command) {
    const DrawTarget t = target();
    const Pen p = pen();
    std::array<uint8_t, 8> pattern;
    for (unsigned r = 0; r < 8; ++r)
        pattern[r] =
            static_cast<uint8_t>(reg(r < 4 ? kAccelPattern0 : kAccelPattern1) >> (8 * (r & 3)));
    const auto stipple = static_cast<uint16_t>(reg(kAccelStipple));
    const uint32_t base = command & ~uint32_t{kAccelLinearSource};
    switch (base) {
    case kAccelFillRect:
        return FillRect(t, param(0), param(1), param(2), param(3), p.fore, p.foreMix);
    case kAccelScan:
        return DrawScan(t, param(0), param(1), param(2), p.fore, p.foreMix);
    case kAccelScanList:
        return scanList();
    case kAccelPattRect:
        return PatternRect(t, param(0), param(1), param(2), param(3), p, pattern);
    case kAccelPattScan: {
        int32_t from = std::min(param(1), param(2));
        int64_t to = std::max(param(1), param(2));
        return PatternRect(t, from, param(0), to - from, 1, p, pattern);
    }
    case kAccelLine:
        return DrawLine(t, param(0), param(1), param(2), param(3), p, nullptr);
    case kAccelStippleLine:
        return DrawLine(t, param(0), param(1), param(2), param(3), p, &stipple);
    case kAccelBlit:
    case kAccelSrcTransBlit:
    case kAccelDstTransBlit: {
        Blit b;
        b.source.linear = (command & kAccelLinearSource) != 0;
        b.source.left = b.source.linear ? int64_t{static_cast<uint32_t>(param(0))} : param(0);
        b.source.top = param(1);
        b.width = param(2);
        b.height = param(3);
        b.dstLeft = param(4);
        b.dstTop = param(5);
        b.mix = static_cast<unsigned>(param(6)) & 3;
        b.kind = base == kAccelBlit           ? BlitKind::Plain
                 : base == kAccelSrcTransBlit ? BlitKind::SourceTransparent
                                              : BlitKind::DestinationTransparent;
        b.transparent = reg(kAccelTransparent);
        return DrawBlit(t, b, scratch_);
    }
    default:
        return 0;
    }
}

// The scans are read from guest memory, one (x1, x2) pair of 16-bit values
// per line.
uint64_t AccelEngine::scanList() {
    const DrawTarget t = target();
    const Pen p = pen();
    const auto count = std::min(static_cast<uint32_t>(param(1)), kMaxScans);
    const auto list = static_cast<uint32_t>(param(2));
    uint64_t pixels = 0;
    for (uint32_t i = 0; i < count && int64_t{param(0)} + i <= INT32_MAX; ++i) {
        auto x1 = static_cast<int16_t>(memory_.read16(list + 4 * i));
        auto x2 = static_cast<int16_t>(memory_.read16(list + 4 * i + 2));
        pixels +=
            DrawScan(t, static_cast<int32_t>(param(0) + int64_t{i}), x1, x2, p.fore, p.foreMix);
    }
    return pixels;
}

void AccelEngine::drawCursor(Image& out) const {
    if (reg(kAccelCursorShow) == 0) return;
    const int64_t left = int64_t{static_cast<int32_t>(reg(kAccelCursorX))} -
                         static_cast<int32_t>(reg(kAccelCursorHotX));
    const int64_t top = int64_t{static_cast<int32_t>(reg(kAccelCursorY))} -
                        static_cast<int32_t>(reg(kAccelCursorHotY));
    const uint32_t colour = reg(kAccelCursorColour) & 0xFFFFFF;
    for (int r = 0; r < 32; ++r) {
        int64_t y = top + r;
        if (y < 0 || y >= out.height) continue;
        uint32_t andRow = reg(kAccelCursorAnd + 4 * r), xorRow = reg(kAccelCursorXor + 4 * r);
        for (int c = 0; c < 32; ++c) {
            int64_t x = left + c;
            if (x < 0 || x >= out.width) continue;
            uint32_t& px = out.pixels[static_cast<size_t>(y) * out.width + x];
            bool keep = (andRow >> (31 - c)) & 1, flip = (xorRow >> (31 - c)) & 1;
            px = ((keep ? px : 0) ^ (flip ? colour : 0)) & 0xFFFFFF;
        }
    }
}

} // namespace pcemu
