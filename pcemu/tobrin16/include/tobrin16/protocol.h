// What passes between tobrin32 and its companion: service numbers, the
// SharedBlock layout of the flat thunk, and how each service takes its
// arguments. Both sides read this one table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tobrin16 {

enum Service : uint32_t {
    kRealInterrupt = 0,
    kRealInterruptWithSegments = 1,
    kRealFarCall = 2,
    kCreateSelector = 3,
    kFreeSelector = 4,
    kAllocRealMemory = 5,
    kFreeRealMemory = 6,
    kMapPhysical = 8,
    kSelectorBase = 10,
    kSetSelectorLimit = 11,
    kVirtualBufferAvailable = 12,
    kVirtualBufferStart = 13,
    kVirtualBufferStop = 14,
    kSetBankA = 15,
    kSetBankAB = 16,
    kSetDisplayStart = 17,
    kAvailableMemory = 18,
    kStartSharedBlock = 1000,
    kReleaseSharedBlock = 1001,
};

// SharedBlock: byte offsets inside the block (flat thunk).
namespace block {
inline constexpr uint32_t kResult = 0;
inline constexpr uint32_t kArgument1 = 4;
inline constexpr uint32_t kArgument2 = 8;
inline constexpr uint32_t kArgument3 = 12;
inline constexpr uint32_t kArgument4 = 16;
inline constexpr uint32_t kArgument5 = 20; // output 4 of service 5
inline constexpr uint32_t kRegsIn = 24;
inline constexpr uint32_t kRegsOut = 40;
inline constexpr uint32_t kSegs = 56;
inline constexpr uint32_t kCode = 64;
inline constexpr uint32_t kCodeCapacity = 100;
inline constexpr uint32_t kSize = kCode + kCodeCapacity;
} // namespace block

// Register records as they lie in guest memory: RealRegs is AX BX CX DX SI
// DI, the carry flag (0 or 1) and the low 16 bits of the flags after the
// call; RealSegs is ES CS SS DS.
inline constexpr uint32_t kRealRegsBytes = 16;
inline constexpr uint32_t kRealSegsBytes = 8;

// The longest bank-switch fragment the companion installs (universal thunk;
// the flat thunk's block holds kCodeCapacity bytes).
inline constexpr uint32_t kMaxFragmentBytes = 4096;

// An argument is a 32-bit value or a record (a register record, an output
// variable, the code bytes). In the flat thunk each has its place in
// SharedBlock; in the universal thunk records are passed as guest addresses
// named in the translation list.
enum class ArgKind : uint8_t { Value, Record };
struct ArgShape {
    ArgKind kind;
    uint8_t blockOffset;
};
inline constexpr size_t kMaxArguments = 5;
struct ServiceShape {
    uint32_t service;
    uint8_t count;
    ArgShape args[kMaxArguments];
};

namespace shape_detail {
inline constexpr ArgShape V(uint32_t offset) {
    return {ArgKind::Value, static_cast<uint8_t>(offset)};
}
inline constexpr ArgShape R(uint32_t offset) {
    return {ArgKind::Record, static_cast<uint8_t>(offset)};
}
using namespace block;
inline constexpr ServiceShape kShapes[] = {
    {kRealInterrupt, 3, {V(kArgument1), R(kRegsIn), R(kRegsOut)}},
    {kRealInterruptWithSegments, 4, {V(kArgument1), R(kRegsIn), R(kRegsOut), R(kSegs)}},
    {kRealFarCall, 4, {V(kArgument1), V(kArgument2), R(kRegsIn), R(kSegs)}},
    {kCreateSelector, 2, {V(kArgument1), V(kArgument2)}},
    {kFreeSelector, 1, {V(kArgument1)}},
    {kAllocRealMemory,
     5,
     {V(kArgument1), R(kArgument2), R(kArgument3), R(kArgument4), R(kArgument5)}},
    {kFreeRealMemory, 2, {V(kArgument1), V(kArgument2)}},
    {kMapPhysical, 2, {V(kArgument1), V(kArgument2)}},
    {kSelectorBase, 1, {V(kArgument1)}},
    {kSetSelectorLimit, 2, {V(kArgument1), V(kArgument2)}},
    {kVirtualBufferAvailable, 0, {}},
    {kVirtualBufferStart, 4, {V(kArgument1), V(kArgument2), V(kArgument3), R(kCode)}},
    {kVirtualBufferStop, 0, {}},
    {kSetBankA, 1, {V(kArgument1)}},
    {kSetBankAB, 1, {V(kArgument1)}},
    {kSetDisplayStart, 2, {V(kArgument1), V(kArgument2)}},
    {kAvailableMemory, 2, {R(kArgument1), R(kArgument2)}},
};
} // namespace shape_detail

// The shape of a numbered service; null for numbers that are not services
// of either thunk (1000 and 1001 belong to the flat thunk itself).
inline constexpr const ServiceShape* ShapeOf(uint32_t service) {
    for (const ServiceShape& s : shape_detail::kShapes)
        if (s.service == service) return &s;
    return nullptr;
}

} // namespace tobrin16
