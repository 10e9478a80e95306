// Closes the host views of video memory (the 64 KB window at H + A0000h and
// the linear buffer at H + E0000000h) while the 2D engine is busy, and counts
// every touch of them in that time. A touch faults; the process-wide SIGSEGV
// handler finds the guard whose views were hit, counts a violation, opens the
// views again (the engine's work counts as done) and lets the access go on.
// Faults anywhere else go to the handler that was installed before.
#pragma once

#include <atomic>
#include <cstdint>

namespace pcemu {

class AddressSpace;

class DirectAccessGuard {
public:
    explicit DirectAccessGuard(AddressSpace& space);
    ~DirectAccessGuard();
    DirectAccessGuard(const DirectAccessGuard&) = delete;
    DirectAccessGuard& operator=(const DirectAccessGuard&) = delete;

    // Closes the views (nothing when they are closed already).
    void close();
    // Opens them again.
    void open();
    // False after open() and after a touch opened them.
    bool closed() const { return closed_.load(std::memory_order_acquire); }
    // The window view was mapped anew (a bank switch): close it again when
    // the views are closed.
    void windowRemapped();
    uint64_t violations() const { return violations_.load(std::memory_order_relaxed); }

    // Called by the fault handler: true when the address is one of the
    // closed views, which are then open again.
    bool takeFault(uintptr_t address);

private:
    bool protect(int access);

    uintptr_t window_ = 0, linear_ = 0;
    uint32_t linearSize_ = 0;
    bool registered_ = false;
    std::atomic<bool> closed_{false};
    std::atomic<uint64_t> violations_{0};
    bool reported_ = false;
};

} // namespace pcemu
