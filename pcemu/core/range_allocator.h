// First-fit allocator of address ranges (guest heap, real-mode blocks).
#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace pcemu {

class RangeAllocator {
public:
    // Manages [start, end).
    RangeAllocator(uint32_t start, uint32_t end);

    // An aligned range of `size` bytes (align: a power of two); nothing when
    // no free range is large enough or size is 0.
    std::optional<uint32_t> allocate(uint32_t size, uint32_t align);
    // Frees a range allocate() returned; false for any other address.
    bool release(uint32_t address);
    // Size of an allocated range, 0 if address is not one.
    uint32_t sizeOf(uint32_t address) const;
    uint32_t freeBytes() const;

private:
    void addFree(uint32_t start, uint32_t size);

    std::map<uint32_t, uint32_t> free_; // start -> size
    std::map<uint32_t, uint32_t> used_; // start -> size
};

} // namespace pcemu
