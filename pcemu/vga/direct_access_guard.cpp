#include "vga/direct_access_guard.h"

#include "pcemu/address_space.h"
#include "pcemu/fault_chain.h"
#include "pcemu/layout.h"

#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace pcemu {
namespace {

constexpr int kMaxGuards = 16;
std::atomic<DirectAccessGuard*> guards[kMaxGuards];
struct sigaction previousHandler = {};

void OnFault(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (auto& slot : guards) {
        DirectAccessGuard* guard = slot.load(std::memory_order_acquire);
        if (guard && guard->takeFault(address)) return;
    }
    PassOnFault(previousHandler, signal, info, context);
}

// Installed once, the first time a guard is made, and kept: handlers
// installed later (the virtual linear buffer's) pass foreign faults on to it.
void InstallHandler() {
    static std::once_flag once;
    std::call_once(once, [] { InstallFaultHandler(OnFault, previousHandler); });
}

void Report() {
    static const char text[] = "pcemu: video memory touched while the 2D engine was busy "
                               "(no WaitTillIdle or EnableDirectAccess before it)\n";
    ssize_t ignored = write(STDERR_FILENO, text, sizeof text - 1);
    (void)ignored;
}

} // namespace

DirectAccessGuard::DirectAccessGuard(AddressSpace& space)
    : window_(reinterpret_cast<uintptr_t>(space.hostPointer(kVgaWindow))),
      linear_(reinterpret_cast<uintptr_t>(space.vram())), linearSize_(space.vramSize()) {
    InstallHandler();
    for (auto& slot : guards) {
        DirectAccessGuard* empty = nullptr;
        if (slot.compare_exchange_strong(empty, this)) {
            registered_ = true;
            break;
        }
    }
}

DirectAccessGuard::~DirectAccessGuard() {
    open();
    for (auto& slot : guards) {
        DirectAccessGuard* self = this;
        slot.compare_exchange_strong(self, nullptr);
    }
}

bool DirectAccessGuard::protect(int access) {
    bool ok = mprotect(reinterpret_cast<void*>(window_), kVgaWindowSize, access) == 0;
    return mprotect(reinterpret_cast<void*>(linear_), linearSize_, access) == 0 && ok;
}

void DirectAccessGuard::close() {
    // Without a registry slot nobody would take the fault: stay open.
    if (!registered_ || closed()) return;
    if (protect(PROT_NONE))
        closed_.store(true, std::memory_order_release);
    else
        protect(PROT_READ | PROT_WRITE);
}

void DirectAccessGuard::open() {
    if (!closed()) return;
    closed_.store(false, std::memory_order_release);
    protect(PROT_READ | PROT_WRITE);
}

void DirectAccessGuard::windowRemapped() {
    if (closed()) mprotect(reinterpret_cast<void*>(window_), kVgaWindowSize, PROT_NONE);
}

bool DirectAccessGuard::takeFault(uintptr_t address) {
    if (!closed()) return false;
    bool inWindow = address >= window_ && address - window_ < kVgaWindowSize;
    bool inLinear = address >= linear_ && address - linear_ < linearSize_;
    if (!inWindow && !inLinear) return false;
    violations_.fetch_add(1, std::memory_order_relaxed);
    if (!reported_) {
        reported_ = true;
        Report();
    }
    open();
    return true;
}

} // namespace pcemu
