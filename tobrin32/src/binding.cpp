// Binding to the companion when the library is loaded, and the two ways of
// calling it. The companion is a shared library (PCEMU_TOBRIN16, else the one
// built with this library). PCEMU_WINVER is the emulated Windows version:
// 4 and up bind through the flat thunk ("FLATTHUNK" and SharedBlock), lower
// versions through the universal thunk ("UTProc"). This platform has no
// system thunking library, so there is no step that links to one.
#include "companion/binding.h"
#include "service_call.h"
#include "tobrin16/protocol.h"
#include "tobrin32/tobrin32.h"

#include "pcemu/machine.h"

#include <dlfcn.h>

#include <cstdlib>

#ifndef TOBRIN16_DEFAULT_PATH
#error "TOBRIN16_DEFAULT_PATH must name the companion library"
#endif

namespace tobrin32 {
namespace {

using FlatThunk = uint32_t (*)(uint32_t service);
using UniversalThunk = uint32_t (*)(uint32_t* arguments, uint32_t service,
                                    uint32_t** translationList);

// Records and code of one universal-thunk call, in guest memory.
constexpr uint32_t kScratchBytes = tobrin16::kMaxFragmentBytes + 64;

// Only constant-initialised data: the load-time constructor may run before
// any dynamic initialisation of this library.
int attachCount = 0;
bool flatThunkMode = true;
void* companion = nullptr;
FlatThunk flatThunk = nullptr;
UniversalThunk universalThunk = nullptr;
uint32_t sharedBlock = 0; // linear address of SharedBlock (flat thunk)
uint32_t scratch = 0;     // guest address of the scratch area (universal thunk)
char moduleTag = 0;       // its address is this library's module handle

void ReportBindingError(const char* message) {
    companion_binding::ReportError("Tobrin", message);
}

void Unbind() {
    if (companion) dlclose(companion);
    companion = nullptr;
    flatThunk = nullptr;
    universalThunk = nullptr;
    sharedBlock = 0;
}

bool Bind() {
    flatThunkMode = companion_binding::FlatThunkWindows();
    companion = dlopen(companion_binding::CompanionPath("PCEMU_TOBRIN16", TOBRIN16_DEFAULT_PATH),
                       RTLD_NOW | RTLD_LOCAL);
    if (!companion) {
        ReportBindingError("Unable to load TOBRIN16.DLL!");
        return false;
    }
    if (flatThunkMode)
        flatThunk = reinterpret_cast<FlatThunk>(dlsym(companion, "FLATTHUNK"));
    else
        universalThunk = reinterpret_cast<UniversalThunk>(dlsym(companion, "UTProc"));
    if (!flatThunk && !universalThunk) {
        ReportBindingError("Unable to link to TOBRIN16.DLL!");
        Unbind();
        return false;
    }
    if (flatThunkMode) {
        const uint32_t segment = flatThunk(tobrin16::kStartSharedBlock);
        if (segment == 0 || segment > 0xFFFF) {
            ReportBindingError("InitSharedMem failed!");
            Unbind();
            return false;
        }
        sharedBlock = segment << 4;
    }
    return true;
}

void Release() {
    if (flatThunkMode && flatThunk) flatThunk(tobrin16::kReleaseSharedBlock);
    if (scratch) pcemu::TheMachine().space().guestFree(pcemu::TheMachine().hostPointer(scratch));
    scratch = 0;
    Unbind();
}

// A record argument in guest memory: its input bytes, or zeros for an
// output-only record.
void WriteRecord(pcemu::MemoryBus& memory, uint32_t at, const ServiceArg& arg) {
    if (arg.in) {
        memory.writeBlock(at, arg.in, arg.size);
        return;
    }
    for (uint32_t b = 0; b < arg.size; ++b)
        memory.write8(at + b, 0);
}

uint32_t CallFlat(uint32_t service, const tobrin16::ServiceShape& shape,
                  std::initializer_list<ServiceArg> args) {
    pcemu::MemoryBus& memory = pcemu::TheMachine().memory();
    const ServiceArg* arg = args.begin();
    for (uint8_t i = 0; i < shape.count; ++i, ++arg) {
        const uint32_t at = sharedBlock + shape.args[i].blockOffset;
        if (!arg->isRecord)
            memory.write32(at, arg->value);
        else
            WriteRecord(memory, at, *arg);
    }
    flatThunk(service);
    arg = args.begin();
    for (uint8_t i = 0; i < shape.count; ++i, ++arg)
        if (arg->out)
            memory.readBlock(sharedBlock + shape.args[i].blockOffset, arg->out, arg->size);
    return memory.read32(sharedBlock + tobrin16::block::kResult);
}

// 32-bit argument slots cannot hold host pointers: records go to the scratch
// area and travel as guest addresses that the translation list names.
uint32_t CallUniversal(uint32_t service, const tobrin16::ServiceShape& shape,
                       std::initializer_list<ServiceArg> args) {
    if (!scratch) scratch = pcemu::TheMachine().space().guestAllocLinear(kScratchBytes).value_or(0);
    if (!scratch) return 0;
    pcemu::MemoryBus& memory = pcemu::TheMachine().memory();
    uint32_t values[tobrin16::kMaxArguments] = {};
    uint32_t* list[tobrin16::kMaxArguments + 1] = {};
    size_t listed = 0;
    uint32_t at = scratch;
    const ServiceArg* arg = args.begin();
    for (uint8_t i = 0; i < shape.count; ++i, ++arg) {
        if (!arg->isRecord) {
            values[i] = arg->value;
            continue;
        }
        const uint32_t padded = (arg->size + 3) & ~3u;
        if (padded > scratch + kScratchBytes - at) return 0;
        WriteRecord(memory, at, *arg);
        values[i] = at;
        list[listed++] = &values[i];
        at += padded;
    }
    const uint32_t result =
        universalThunk(shape.count ? values : nullptr, service, listed ? list : nullptr);
    arg = args.begin();
    for (uint8_t i = 0; i < shape.count; ++i, ++arg)
        if (arg->out) memory.readBlock(values[i], arg->out, arg->size);
    return result;
}

__attribute__((constructor)) void AttachOnLoad() {
    if (!DllEntryPoint(&moduleTag, TB_DLL_PROCESS_ATTACH, nullptr)) std::_Exit(1);
}

__attribute__((destructor)) void DetachOnUnload() {
    DllEntryPoint(&moduleTag, TB_DLL_PROCESS_DETACH, nullptr);
}

} // namespace

bool FlatThunkMode() {
    return flatThunkMode;
}

uint32_t CallService(uint32_t service, std::initializer_list<ServiceArg> args) {
    const tobrin16::ServiceShape* shape = tobrin16::ShapeOf(service);
    if (!shape || args.size() != shape->count) return 0;
    if (flatThunk) return CallFlat(service, *shape, args);
    if (universalThunk) return CallUniversal(service, *shape, args);
    return 0;
}

} // namespace tobrin32

extern "C" {

int DllEntryPoint(void*, uint32_t reason, void*) {
    using namespace tobrin32;
    switch (reason) {
    case TB_DLL_PROCESS_ATTACH:
        if (attachCount++ > 0) return 1;
        if (!Bind()) {
            // A later attach must try again, not count on a binding that failed.
            attachCount = 0;
            return 0;
        }
        return 1;
    case TB_DLL_PROCESS_DETACH:
        if (attachCount > 0 && --attachCount == 0) Release();
        return 0;
    default:
        return 0;
    }
}

int TB_DllEntryPoint(void* module, uint32_t reason, void* reserved) {
    return DllEntryPoint(module, reason, reserved);
}
}
