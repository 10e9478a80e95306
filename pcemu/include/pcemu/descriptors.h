// The descriptor table (GDT in guest memory) and its selectors, with host
// accesses through a selector that are checked against its limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace pcemu {

class MemoryBus;

class DescriptorTable {
public:
    static constexpr uint16_t kFlatCode = 0x08; // 32-bit code, base 0, 4 GiB
    static constexpr uint16_t kFlatData = 0x10; // 32-bit data, base 0, 4 GiB
    static constexpr unsigned kEntries = 8192;

    // The table lives at guest address gdtLinear (kEntries * 8 bytes).
    DescriptorTable(MemoryBus& memory, uint32_t gdtLinear);

    uint32_t gdtBase() const { return gdt_; }
    uint16_t gdtLimit() const { return kEntries * 8 - 1; }

    // A 32-bit read/write data selector for [base, base + limit]; byte
    // granular up to 1 MB, page granular above (the exact limit still bounds
    // host accesses). Nothing when the table is full.
    std::optional<uint16_t> create(uint32_t base, uint32_t limit);
    bool free(uint16_t selector);
    std::optional<uint32_t> base(uint16_t selector) const;
    std::optional<uint32_t> limit(uint16_t selector) const;
    bool setLimit(uint16_t selector, uint32_t limit);
    // True for the flat selectors and every selector create() handed out.
    bool isValid(uint16_t selector) const;

    // The guest address of selector:offset when `size` bytes from there lie
    // within the limit; nothing otherwise.
    std::optional<uint32_t> linear(uint16_t selector, uint32_t offset, size_t size) const;

    // Host accesses through a selector. They refuse (and never perform) any
    // access that reaches past the limit.
    std::optional<uint8_t> read8(uint16_t selector, uint32_t offset) const;
    std::optional<uint16_t> read16(uint16_t selector, uint32_t offset) const;
    std::optional<uint32_t> read32(uint16_t selector, uint32_t offset) const;
    bool write8(uint16_t selector, uint32_t offset, uint8_t value);
    bool write16(uint16_t selector, uint32_t offset, uint16_t value);
    bool write32(uint16_t selector, uint32_t offset, uint32_t value);
    // selector:offset <- src, and dst <- selector:offset.
    bool copyTo(uint16_t selector, uint32_t offset, const void* src, size_t n);
    bool copyFrom(void* dst, uint16_t selector, uint32_t offset, size_t n) const;

private:
    struct Entry {
        bool used = false;
        uint32_t base = 0;
        uint32_t limit = 0;
    };
    const Entry* entry(uint16_t selector) const;
    void writeDescriptor(unsigned index, uint32_t base, uint32_t limit, uint8_t access, bool is32);

    MemoryBus& memory_;
    uint32_t gdt_;
    std::vector<Entry> entries_;
    unsigned searchFrom_ = 3;
};

} // namespace pcemu
