// The universal-thunk entry: an array of 32-bit arguments and a list of the
// array entries that hold guest addresses of records.
#include "services.h"
#include "tobrin16/protocol.h"
#include "tobrin16/tobrin16.h"

#include <cstdint>

namespace {

uint32_t lastTranslationCount = 0;

// Marks the entries the list names as records. False when an entry lies
// outside the service's arguments, names a plain value, or comes twice.
bool Translate(const tobrin16::ServiceShape& shape, uint32_t* arguments, uint32_t** translationList,
               tobrin16::Call& call) {
    if (!translationList) return true;
    for (size_t n = 0; translationList[n]; ++n) {
        if (n >= shape.count || !arguments) return false;
        const auto entry = reinterpret_cast<uintptr_t>(translationList[n]);
        const auto first = reinterpret_cast<uintptr_t>(arguments);
        if (entry < first || (entry - first) % sizeof(uint32_t) != 0) return false;
        const size_t index = (entry - first) / sizeof(uint32_t);
        if (index >= shape.count || call.record[index] ||
            shape.args[index].kind != tobrin16::ArgKind::Record)
            return false;
        call.record[index] = true;
        ++lastTranslationCount;
    }
    return true;
}

} // namespace

extern "C" uint32_t UTProc(uint32_t* arguments, uint32_t service, uint32_t** translationList) {
    using namespace tobrin16;
    CountCall(service);
    lastTranslationCount = 0;
    const ServiceShape* shape = ShapeOf(service);
    if (!shape || (shape->count > 0 && !arguments)) return 0;
    Call call;
    for (uint8_t i = 0; i < shape->count; ++i)
        call.value[i] = arguments[i];
    if (!Translate(*shape, arguments, translationList, call)) return 0;
    return RunService(service, call);
}

extern "C" uint32_t Tobrin16_LastTranslationCount(void) {
    return lastTranslationCount;
}
