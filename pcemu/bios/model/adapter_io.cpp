#include "bios/model/adapter_io.h"

#include "pcemu/ports.h"
#include "pcemu/vga_ports.h"

namespace pcemu::model {
namespace {

constexpr uint16_t kBochsIndex = 0x1CE;
constexpr uint16_t kBochsData = 0x1CF;
constexpr uint16_t kAttribute = 0x3C0;
constexpr uint16_t kAttributeRead = 0x3C1;
constexpr uint16_t kMiscWrite = 0x3C2;
constexpr uint16_t kSequencer = 0x3C4;
constexpr uint16_t kMiscRead = 0x3CC;
constexpr uint16_t kGraphics = 0x3CE;
constexpr uint16_t kCrtc = 0x3D4;
constexpr uint8_t kPaletteSource = 0x20;
using vga::kInputStatus;
constexpr uint8_t kRetrace = vga::kVerticalRetrace;
constexpr unsigned kMaxPolls = 1u << 22;

} // namespace

uint16_t AdapterIo::bochs(uint16_t index) {
    ports_.out16(kBochsIndex, index);
    return ports_.in16(kBochsData);
}

void AdapterIo::setBochs(uint16_t index, uint16_t value) {
    ports_.out16(kBochsIndex, index);
    ports_.out16(kBochsData, value);
}

uint8_t AdapterIo::indexed(uint16_t port, uint8_t index) {
    ports_.out8(port, index);
    return ports_.in8(port + 1);
}

void AdapterIo::setIndexed(uint16_t port, uint8_t index, uint8_t value) {
    ports_.out8(port, index);
    ports_.out8(port + 1, value);
}

uint8_t AdapterIo::seq(uint8_t index) {
    return indexed(kSequencer, index);
}
void AdapterIo::setSeq(uint8_t index, uint8_t value) {
    setIndexed(kSequencer, index, value);
}
uint8_t AdapterIo::gc(uint8_t index) {
    return indexed(kGraphics, index);
}
void AdapterIo::setGc(uint8_t index, uint8_t value) {
    setIndexed(kGraphics, index, value);
}
uint8_t AdapterIo::crtc(uint8_t index) {
    return indexed(kCrtc, index);
}
void AdapterIo::setCrtc(uint8_t index, uint8_t value) {
    setIndexed(kCrtc, index, value);
}

uint8_t AdapterIo::attr(uint8_t index) {
    ports_.in8(kInputStatus); // the flip-flop now expects an index
    ports_.out8(kAttribute, index);
    uint8_t v = ports_.in8(kAttributeRead);
    ports_.in8(kInputStatus);
    ports_.out8(kAttribute, kPaletteSource);
    return v;
}

void AdapterIo::setAttr(uint8_t index, uint8_t value) {
    ports_.in8(kInputStatus);
    ports_.out8(kAttribute, index);
    ports_.out8(kAttribute, value);
    ports_.out8(kAttribute, kPaletteSource);
}

uint8_t AdapterIo::misc() {
    return ports_.in8(kMiscRead);
}

void AdapterIo::setMisc(uint8_t value) {
    ports_.out8(kMiscWrite, value);
}

void AdapterIo::waitForRetrace() {
    unsigned polls = 0;
    while ((ports_.in8(kInputStatus) & kRetrace) && ++polls < kMaxPolls) {
    }
    while (!(ports_.in8(kInputStatus) & kRetrace) && ++polls < kMaxPolls) {
    }
}

} // namespace pcemu::model
