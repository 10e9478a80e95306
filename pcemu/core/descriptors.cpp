#include "pcemu/descriptors.h"

#include "pcemu/memory_bus.h"

namespace pcemu {
namespace {

constexpr uint8_t kDataAccess = 0x93; // present, DPL 0, read/write data, accessed
constexpr uint8_t kCodeAccess = 0x9B; // present, DPL 0, execute/read code, accessed
constexpr unsigned kFirstFree = 3;    // 0 null, 1 flat code, 2 flat data

} // namespace

DescriptorTable::DescriptorTable(MemoryBus& memory, uint32_t gdtLinear)
    : memory_(memory), gdt_(gdtLinear), entries_(kEntries) {
    for (unsigned i = 0; i < kEntries * 8; i += 4)
        memory_.write32(gdt_ + i, 0);
    writeDescriptor(kFlatCode >> 3, 0, 0xFFFFFFFF, kCodeAccess, true);
    writeDescriptor(kFlatData >> 3, 0, 0xFFFFFFFF, kDataAccess, true);
    entries_[kFlatCode >> 3] = {true, 0, 0xFFFFFFFF};
    entries_[kFlatData >> 3] = {true, 0, 0xFFFFFFFF};
}

void DescriptorTable::writeDescriptor(unsigned index, uint32_t base, uint32_t limit, uint8_t access,
                                      bool is32) {
    bool pages = limit > 0xFFFFF;
    uint32_t lim = pages ? limit >> 12 : limit;
    uint32_t low = (lim & 0xFFFF) | ((base & 0xFFFF) << 16);
    uint32_t high = ((base >> 16) & 0xFF) | (uint32_t{access} << 8) | (lim & 0xF0000) |
                    (pages ? 0x800000u : 0) | (is32 ? 0x400000u : 0) | (base & 0xFF000000u);
    memory_.write32(gdt_ + index * 8, low);
    memory_.write32(gdt_ + index * 8 + 4, high);
}

const DescriptorTable::Entry* DescriptorTable::entry(uint16_t selector) const {
    if (selector & 4) return nullptr; // local descriptor table: not used here
    unsigned index = selector >> 3;
    if (index == 0 || index >= kEntries || !entries_[index].used) return nullptr;
    return &entries_[index];
}

std::optional<uint16_t> DescriptorTable::create(uint32_t base, uint32_t limit) {
    for (unsigned n = 0; n < kEntries - kFirstFree; ++n) {
        unsigned index = kFirstFree + (searchFrom_ - kFirstFree + n) % (kEntries - kFirstFree);
        if (entries_[index].used) continue;
        entries_[index] = {true, base, limit};
        writeDescriptor(index, base, limit, kDataAccess, true);
        searchFrom_ = index + 1 < kEntries ? index + 1 : kFirstFree;
        return static_cast<uint16_t>(index << 3);
    }
    return std::nullopt;
}

bool DescriptorTable::free(uint16_t selector) {
    unsigned index = selector >> 3;
    if (!entry(selector) || index < kFirstFree) return false;
    entries_[index] = {};
    memory_.write32(gdt_ + index * 8, 0);
    memory_.write32(gdt_ + index * 8 + 4, 0);
    return true;
}

std::optional<uint32_t> DescriptorTable::base(uint16_t selector) const {
    const Entry* e = entry(selector);
    if (!e) return std::nullopt;
    return e->base;
}

std::optional<uint32_t> DescriptorTable::limit(uint16_t selector) const {
    const Entry* e = entry(selector);
    if (!e) return std::nullopt;
    return e->limit;
}

bool DescriptorTable::setLimit(uint16_t selector, uint32_t limit) {
    unsigned index = selector >> 3;
    if (!entry(selector) || index < kFirstFree) return false;
    entries_[index].limit = limit;
    writeDescriptor(index, entries_[index].base, limit, kDataAccess, true);
    return true;
}

bool DescriptorTable::isValid(uint16_t selector) const {
    return entry(selector) != nullptr;
}

std::optional<uint32_t> DescriptorTable::linear(uint16_t selector, uint32_t offset,
                                                size_t size) const {
    const Entry* e = entry(selector);
    if (!e) return std::nullopt;
    uint64_t last = uint64_t{offset} + (size ? size - 1 : 0);
    if (offset > e->limit || last > e->limit) return std::nullopt;
    return e->base + offset; // wraps at 4 GiB as the processor's addresses do
}

std::optional<uint8_t> DescriptorTable::read8(uint16_t selector, uint32_t offset) const {
    auto at = linear(selector, offset, 1);
    if (!at) return std::nullopt;
    return memory_.read8(*at);
}

std::optional<uint16_t> DescriptorTable::read16(uint16_t selector, uint32_t offset) const {
    auto at = linear(selector, offset, 2);
    if (!at) return std::nullopt;
    return memory_.read16(*at);
}

std::optional<uint32_t> DescriptorTable::read32(uint16_t selector, uint32_t offset) const {
    auto at = linear(selector, offset, 4);
    if (!at) return std::nullopt;
    return memory_.read32(*at);
}

bool DescriptorTable::write8(uint16_t selector, uint32_t offset, uint8_t value) {
    auto at = linear(selector, offset, 1);
    if (at) memory_.write8(*at, value);
    return at.has_value();
}

bool DescriptorTable::write16(uint16_t selector, uint32_t offset, uint16_t value) {
    auto at = linear(selector, offset, 2);
    if (at) memory_.write16(*at, value);
    return at.has_value();
}

bool DescriptorTable::write32(uint16_t selector, uint32_t offset, uint32_t value) {
    auto at = linear(selector, offset, 4);
    if (at) memory_.write32(*at, value);
    return at.has_value();
}

bool DescriptorTable::copyTo(uint16_t selector, uint32_t offset, const void* src, size_t n) {
    auto at = linear(selector, offset, n);
    if (at && n) memory_.writeBlock(*at, src, n);
    return at.has_value();
}

bool DescriptorTable::copyFrom(void* dst, uint16_t selector, uint32_t offset, size_t n) const {
    auto at = linear(selector, offset, n);
    if (at && n) memory_.readBlock(*at, dst, n);
    return at.has_value();
}

} // namespace pcemu
