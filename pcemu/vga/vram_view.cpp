#include "vga/vram_view.h"

#include "pcemu/address_space.h"

#include <sys/mman.h>

namespace pcemu {

VramView::VramView(const AddressSpace& space) : size_(space.vramSize()) {
    void* view = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, space.vramFd(), 0);
    separate_ = view != MAP_FAILED;
    data_ = separate_ ? static_cast<uint8_t*>(view) : space.vram();
}

VramView::~VramView() {
    if (separate_) munmap(data_, size_);
}

} // namespace pcemu
