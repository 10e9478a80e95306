// Calling the companion's numbered services through the binding made when
// the library was loaded.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace tobrin32 {

// One argument of a service: a 32-bit value, or a record of the caller that
// is copied to the companion before the call and, when the service writes
// it, back after the call. A null record travels as zero bytes.
struct ServiceArg {
    uint32_t value = 0;
    const void* in = nullptr;
    void* out = nullptr;
    uint32_t size = 0;
    bool isRecord = false;

    static ServiceArg Value(uint32_t v) { return {v, nullptr, nullptr, 0, false}; }
    static ServiceArg In(const void* record, uint32_t size) {
        return {0, record, nullptr, size, true};
    }
    static ServiceArg InOut(void* record, uint32_t size) { return {0, record, record, size, true}; }
};

// Runs a service with its arguments in the order of its shape and gives the
// result; 0 when the library is not bound or the arguments do not fit.
uint32_t CallService(uint32_t service, std::initializer_list<ServiceArg> args);

// True in flat-thunk mode, false in universal-thunk mode.
bool FlatThunkMode();

} // namespace tobrin32
