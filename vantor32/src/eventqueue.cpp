#include "eventqueue.h"

namespace vantor32 {

void EventQueue::Clear() {
    for (int i = 0; i < kCapacity; ++i) {
        slots_[i] = VTEventRecord{};
        slots_[i].Next = i + 1 < kCapacity ? i + 1 : -1;
        slots_[i].Prev = -1;
    }
    free_ = 0;
    head_ = tail_ = -1;
    count_ = 0;
}

int EventQueue::Append(const VTEventRecord& record) {
    if (Full() || free_ < 0) return -1;
    const int slot = free_;
    free_ = slots_[slot].Next;
    slots_[slot] = record;
    slots_[slot].Next = -1;
    slots_[slot].Prev = tail_;
    if (tail_ >= 0)
        slots_[tail_].Next = slot;
    else
        head_ = slot;
    tail_ = slot;
    ++count_;
    return slot;
}

int EventQueue::FindFirst(std::uint32_t mask) const {
    for (int slot = head_; slot >= 0; slot = slots_[slot].Next)
        if (slots_[slot].Kind & mask) return slot;
    return -1;
}

VTEventRecord EventQueue::Remove(int slot) {
    VTEventRecord& record = slots_[slot];
    if (record.Prev >= 0)
        slots_[record.Prev].Next = record.Next;
    else
        head_ = record.Next;
    if (record.Next >= 0)
        slots_[record.Next].Prev = record.Prev;
    else
        tail_ = record.Prev;
    const VTEventRecord out = record;
    record.Next = free_;
    record.Prev = -1;
    free_ = slot;
    --count_;
    return out;
}

} // namespace vantor32
