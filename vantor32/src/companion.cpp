// Binding to the fullscreen companion when the library is loaded. The
// companion is a shared library (PCEMU_VANTOR16, else the one built with this
// library). PCEMU_WINVER picks the binding: 4 and up call its "_DEATH" and
// "_RESURRECTION" entries directly, lower versions go through its "UTProc"
// with user values 0 and 1. There is no system thunking library to link here,
// so that step of the binding does not exist.
#include "companion/binding.h"
#include "vantor32/platform.h"
#include "vantor32/vantor32.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>

#ifndef VANTOR16_DEFAULT_PATH
#error "VANTOR16_DEFAULT_PATH must name the companion library"
#endif

namespace {

using Entry = void (*)();
using UniversalThunk = std::uint32_t (*)(void* arguments, std::uint32_t userValue,
                                         void** translationList);
using OutputQuery = int (*)();

enum class Binding { FlatThunk, UniversalThunk };

constexpr std::uint32_t kUserDeath = 0, kUserResurrection = 1;

// Only constant-initialised data: the load-time constructor runs before any
// dynamic initialisation of this library is guaranteed.
int attachCount = 0;
void* moduleInstance = nullptr;
Binding binding = Binding::FlatThunk;
void* companion = nullptr;
Entry death = nullptr;
Entry resurrection = nullptr;
UniversalThunk universalThunk = nullptr;
OutputQuery outputQuery = nullptr;
char moduleTag = 0; // its address is this library's module handle

void ReportError(const char* message) {
    companion_binding::ReportError("Vantor", message);
}

void Unbind() {
    if (companion) dlclose(companion);
    companion = nullptr;
    death = resurrection = nullptr;
    universalThunk = nullptr;
    outputQuery = nullptr;
}

bool Bind() {
    binding = companion_binding::FlatThunkWindows() ? Binding::FlatThunk : Binding::UniversalThunk;
    companion = dlopen(companion_binding::CompanionPath("PCEMU_VANTOR16", VANTOR16_DEFAULT_PATH),
                       RTLD_NOW | RTLD_LOCAL);
    if (!companion) {
        ReportError("Unable to load VANTOR16.DLL!");
        return false;
    }
    if (binding == Binding::FlatThunk) {
        death = reinterpret_cast<Entry>(dlsym(companion, "_DEATH"));
        resurrection = reinterpret_cast<Entry>(dlsym(companion, "_RESURRECTION"));
    } else {
        universalThunk = reinterpret_cast<UniversalThunk>(dlsym(companion, "UTProc"));
    }
    const bool linked =
        binding == Binding::FlatThunk ? death && resurrection : universalThunk != nullptr;
    if (!linked) {
        ReportError("Unable to link to VANTOR16.DLL!");
        Unbind();
        return false;
    }
    outputQuery = reinterpret_cast<OutputQuery>(dlsym(companion, "Vantor16_DesktopOutputOn"));
    return true;
}

void CallCompanion(Entry flatEntry, std::uint32_t userValue) {
    if (binding == Binding::FlatThunk) {
        if (flatEntry) flatEntry();
    } else if (universalThunk) {
        universalThunk(nullptr, userValue, nullptr);
    }
}

__attribute__((constructor)) void AttachOnLoad() {
    if (!DllEntryPoint(&moduleTag, VT_DLL_PROCESS_ATTACH, nullptr)) std::_Exit(1);
}

__attribute__((destructor)) void DetachOnUnload() {
    DllEntryPoint(&moduleTag, VT_DLL_PROCESS_DETACH, nullptr);
}

} // namespace

namespace vantor32 {

bool CompanionDesktopOutputOn() {
    return outputQuery ? outputQuery() != 0 : true;
}

} // namespace vantor32

extern "C" {

int32_t DllEntryPoint(void* module, uint32_t reason, void*) {
    switch (reason) {
    case VT_DLL_PROCESS_ATTACH:
        if (attachCount++ > 0) return 1;
        moduleInstance = module;
        if (!Bind()) {
            // A later attach must try again, not count on a binding that failed.
            attachCount = 0;
            return 0;
        }
        return 1;
    case VT_DLL_PROCESS_DETACH:
        if (attachCount == 0) return 1;
        if (--attachCount == 0) Unbind();
        return 1;
    default:
        return 1;
    }
}

void __Death(void) {
    CallCompanion(death, kUserDeath);
}

void __Resurrection(void) {
    CallCompanion(resurrection, kUserResurrection);
}
}
