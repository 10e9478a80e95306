#include "core/range_allocator.h"

#include <iterator>

namespace pcemu {

RangeAllocator::RangeAllocator(uint32_t start, uint32_t end) {
    if (end > start) free_[start] = end - start;
}

std::optional<uint32_t> RangeAllocator::allocate(uint32_t size, uint32_t align) {
    if (size == 0 || align == 0 || (align & (align - 1)) != 0) return std::nullopt;
    for (auto it = free_.begin(); it != free_.end(); ++it) {
        uint64_t start = it->first;
        uint64_t end = start + it->second;
        uint64_t aligned = (start + align - 1) & ~uint64_t{align - 1};
        if (aligned + size > end) continue;
        free_.erase(it);
        if (aligned > start)
            addFree(static_cast<uint32_t>(start), static_cast<uint32_t>(aligned - start));
        if (aligned + size < end)
            addFree(static_cast<uint32_t>(aligned + size),
                    static_cast<uint32_t>(end - aligned - size));
        used_[static_cast<uint32_t>(aligned)] = size;
        return static_cast<uint32_t>(aligned);
    }
    return std::nullopt;
}

bool RangeAllocator::release(uint32_t address) {
    auto it = used_.find(address);
    if (it == used_.end()) return false;
    uint32_t size = it->second;
    used_.erase(it);
    addFree(address, size);
    return true;
}

uint32_t RangeAllocator::sizeOf(uint32_t address) const {
    auto it = used_.find(address);
    return it == used_.end() ? 0 : it->second;
}

uint32_t RangeAllocator::freeBytes() const {
    uint32_t total = 0;
    for (const auto& [start, size] : free_)
        total += size;
    return total;
}

// Inserts a free range and merges it with free neighbours.
void RangeAllocator::addFree(uint32_t start, uint32_t size) {
    auto next = free_.lower_bound(start);
    if (next != free_.begin()) {
        auto prev = std::prev(next);
        if (prev->first + prev->second == start) {
            start = prev->first;
            size += prev->second;
            free_.erase(prev);
        }
    }
    if (next != free_.end() && start + size == next->first) {
        size += next->second;
        free_.erase(next);
    }
    free_[start] = size;
}

} // namespace pcemu
