// A host mapping of video memory of the adapter's own, apart from the views
// the guest space shows: the 2D engine draws and the scanout reads through
// it, so neither is affected when those views are closed.
#pragma once

#include <cstdint>

namespace pcemu {

class AddressSpace;

class VramView {
public:
    explicit VramView(const AddressSpace& space);
    ~VramView();
    VramView(const VramView&) = delete;
    VramView& operator=(const VramView&) = delete;

    uint8_t* data() const { return data_; }
    uint32_t size() const { return size_; }
    // False when the mapping failed and data() is the guest space's linear
    // view (which must then never be closed).
    bool separate() const { return separate_; }

private:
    uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
    bool separate_ = false;
};

} // namespace pcemu
