#include "vga/accel_draw.h"

#include <algorithm>
#include <cstdlib>

namespace pcemu {
namespace {

// The clip rectangle cut down to what lies in video memory: x within a
// line, y within the lines after the origin. Empty when nothing does.
struct Area {
    int64_t left = 0, top = 0, right = -1, bottom = -1;
    bool empty() const { return right < left || bottom < top; }
    bool contains(int64_t x, int64_t y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

Area Drawable(const DrawTarget& t) {
    Area a;
    unsigned bytes = t.bytesPerPixel();
    if (t.pitch == 0 || t.origin >= t.vramSize || t.pitch < bytes) return a;
    a.left = std::max<int64_t>(0, t.clipLeft);
    a.top = std::max<int64_t>(0, t.clipTop);
    a.right = std::min<int64_t>(t.clipRight, t.pitch / bytes - 1);
    a.bottom = std::min<int64_t>(t.clipBottom, (t.vramSize - t.origin) / t.pitch - 1);
    return a;
}

// Intersects [left, left + width) x [top, top + height) with the area.
Area Cut(const Area& a, int64_t left, int64_t top, int64_t width, int64_t height) {
    Area r;
    r.left = std::max(a.left, left);
    r.top = std::max(a.top, top);
    r.right = std::min(a.right, left + width - 1);
    r.bottom = std::min(a.bottom, top + height - 1);
    return r;
}

uint32_t PixelMask(unsigned bytes) {
    return bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
}

uint32_t Load(const uint8_t* p, unsigned bytes) {
    uint32_t v = 0;
    for (unsigned i = 0; i < bytes; ++i)
        v |= uint32_t{p[i]} << (8 * i);
    return v;
}

void Store(uint8_t* p, unsigned bytes, uint32_t v) {
    for (unsigned i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t Mix(unsigned mix, uint32_t d, uint32_t s) {
    switch (mix & 3) {
    case 1:
        return d ^ s;
    case 2:
        return d | s;
    case 3:
        return d & s;
    default:
        return s;
    }
}

// Writes pixels of one target with one colour and mix.
class Plotter {
public:
    explicit Plotter(const DrawTarget& t)
        : t_(t), bytes_(t.bytesPerPixel()), mask_(PixelMask(bytes_)) {}

    uint8_t* at(int64_t x, int64_t y) const {
        return t_.vram + t_.origin + static_cast<uint64_t>(y) * t_.pitch +
               static_cast<uint64_t>(x) * bytes_;
    }
    void plot(int64_t x, int64_t y, uint32_t colour, unsigned mix) const {
        uint8_t* p = at(x, y);
        uint32_t s = colour & mask_;
        Store(p, bytes_, (mix & 3) == 0 ? s : Mix(mix, Load(p, bytes_), s));
    }
    void span(int64_t left, int64_t right, int64_t y, uint32_t colour, unsigned mix) const {
        if (bytes_ == 1 && (mix & 3) == 0) {
            std::fill(at(left, y), at(right + 1, y), static_cast<uint8_t>(colour));
            return;
        }
        for (int64_t x = left; x <= right; ++x)
            plot(x, y, colour, mix);
    }
    unsigned bytes() const { return bytes_; }
    uint32_t mask() const { return mask_; }

private:
    const DrawTarget& t_;
    unsigned bytes_;
    uint32_t mask_;
};

uint64_t Pixels(const Area& a) {
    return a.empty() ? 0 : static_cast<uint64_t>(a.right - a.left + 1) * (a.bottom - a.top + 1);
}

int32_t Round16(int32_t fixed) {
    return static_cast<int32_t>((int64_t{fixed} + 0x8000) >> 16);
}

} // namespace

uint64_t FillRect(const DrawTarget& t, int32_t left, int32_t top, int64_t width, int64_t height,
                  uint32_t colour, unsigned mix) {
    Area a = Cut(Drawable(t), left, top, width, height);
    if (a.empty()) return 0;
    Plotter p(t);
    for (int64_t y = a.top; y <= a.bottom; ++y)
        p.span(a.left, a.right, y, colour, mix);
    return Pixels(a);
}

uint64_t DrawScan(const DrawTarget& t, int32_t y, int32_t x1, int32_t x2, uint32_t colour,
                  unsigned mix) {
    int64_t from = std::min(x1, x2), to = std::max(x1, x2);
    return FillRect(t, static_cast<int32_t>(from), y, to - from, 1, colour, mix);
}

uint64_t PatternRect(const DrawTarget& t, int32_t left, int32_t top, int64_t width, int64_t height,
                     const Pen& pen, const std::array<uint8_t, 8>& pattern) {
    Area a = Cut(Drawable(t), left, top, width, height);
    if (a.empty()) return 0;
    Plotter p(t);
    for (int64_t y = a.top; y <= a.bottom; ++y) {
        uint8_t row = pattern[y & 7];
        for (int64_t x = a.left; x <= a.right; ++x) {
            bool set = (row >> (7 - (x & 7))) & 1;
            p.plot(x, y, set ? pen.fore : pen.back, set ? pen.foreMix : pen.backMix);
        }
    }
    return Pixels(a);
}

// Bresenham from left to right: X-major when the vertical distance does not
// exceed the horizontal one; the error term starts at 2 minor - major.
uint64_t DrawLine(const DrawTarget& t, int32_t fx1, int32_t fy1, int32_t fx2, int32_t fy2,
                  const Pen& pen, const uint16_t* stipple) {
    Area a = Drawable(t);
    if (a.empty()) return 0;
    int64_t x1 = Round16(fx1), y1 = Round16(fy1), x2 = Round16(fx2), y2 = Round16(fy2);
    bool swapped = x2 < x1;
    if (swapped) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    int64_t dx = x2 - x1, dy = std::llabs(y2 - y1);
    int64_t stepY = y2 >= y1 ? 1 : -1;
    bool xMajor = dy <= dx;
    int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    int64_t incr1 = 2 * minor, incr2 = 2 * minor - 2 * major, d = 2 * minor - major;
    Plotter p(t);
    uint64_t written = 0;
    int64_t x = x1, y = y1;
    for (int64_t i = 0; i <= major; ++i) {
        if (a.contains(x, y)) {
            bool fore = true;
            if (stipple) {
                int64_t n = swapped ? major - i : i;
                fore = (*stipple >> (15 - (n & 15))) & 1;
            }
            p.plot(x, y, fore ? pen.fore : pen.back, fore ? pen.foreMix : pen.backMix);
            ++written;
        }
        if (xMajor) {
            ++x;
        } else {
            y += stepY;
        }
        if (d < 0) {
            d += incr1;
        } else {
            d += incr2;
            if (xMajor)
                y += stepY;
            else
                ++x;
        }
    }
    return written;
}

uint64_t DrawBlit(const DrawTarget& t, const Blit& blit, std::vector<uint64_t>& scratch) {
    Area a = Cut(Drawable(t), blit.dstLeft, blit.dstTop, blit.width, blit.height);
    if (a.empty()) return 0;
    Plotter p(t);
    const unsigned bytes = p.bytes();
    constexpr uint64_t kPresent = uint64_t{1} << 32;

    // The source of every destination pixel first, marked when it lies in
    // video memory.
    scratch.clear();
    scratch.reserve(Pixels(a));
    for (int64_t y = a.top; y <= a.bottom; ++y) {
        for (int64_t x = a.left; x <= a.right; ++x) {
            int64_t col = x - blit.dstLeft, row = y - blit.dstTop;
            int64_t at = blit.source.linear
                             ? blit.source.left + (row * blit.width + col) * bytes
                             : int64_t{t.origin} + (blit.source.top + row) * int64_t{t.pitch} +
                                   (blit.source.left + col) * bytes;
            bool inside = at >= 0 && at + bytes <= t.vramSize;
            scratch.push_back(inside ? kPresent | Load(t.vram + at, bytes) : 0);
        }
    }

    uint64_t written = 0;
    const uint32_t transparent = blit.transparent & p.mask();
    size_t i = 0;
    for (int64_t y = a.top; y <= a.bottom; ++y) {
        for (int64_t x = a.left; x <= a.right; ++x, ++i) {
            if (!(scratch[i] & kPresent)) continue;
            auto s = static_cast<uint32_t>(scratch[i]);
            if (blit.kind == BlitKind::SourceTransparent && s == transparent) continue;
            if (blit.kind == BlitKind::DestinationTransparent &&
                Load(p.at(x, y), bytes) != transparent)
                continue;
            p.plot(x, y, s, blit.mix);
            ++written;
        }
    }
    return written;
}

} // namespace pcemu
