#pragma once
// The event queue: a fixed array of records linked in arrival order through
// their Next/Prev fields, with the free slots chained through Next. Nothing is
// allocated while events flow.
#include "vantor32/vantor32.h"

#include <array>
#include <cstdint>

namespace vantor32 {

class EventQueue {
public:
    static constexpr int kCapacity = 100;

    EventQueue() { Clear(); }
    // All slots free, no head, no tail.
    void Clear();
    int Count() const { return count_; }
    bool Full() const { return count_ >= kCapacity; }
    // Links a copy of `record` after the newest event; returns its slot, or
    // -1 (and drops it) when the queue is full.
    int Append(const VTEventRecord& record);
    // The oldest event whose kind shares a bit with `mask`, or -1.
    int FindFirst(std::uint32_t mask) const;
    // Unlinks `slot` and copies its record out with the links it had.
    VTEventRecord Remove(int slot);
    VTEventRecord& At(int slot) { return slots_[slot]; }
    const VTEventRecord& At(int slot) const { return slots_[slot]; }

private:
    std::array<VTEventRecord, kCapacity> slots_{};
    int head_ = -1, tail_ = -1, free_ = -1, count_ = 0;
};

} // namespace vantor32
