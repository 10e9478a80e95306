#pragma once
// Exception classes raised by the readers and writers. Each carries the message
// that the programs show to the user as it stands.
#include <stdexcept>
#include <string>

namespace formats {

class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& message) : std::runtime_error(message) {}
};

#define ZORV_DECLARE_ERROR(Name)                                                                   \
    class Name : public FormatError {                                                              \
    public:                                                                                        \
        explicit Name(const std::string& message) : FormatError(message) {}                        \
    }

ZORV_DECLARE_ERROR(EIffLoader);      // runtime picture decoders
ZORV_DECLARE_ERROR(EInvalidGraphic); // editor's picture loader
ZORV_DECLARE_ERROR(EMapLoad);        // both map readers
ZORV_DECLARE_ERROR(ETileLoader);     // runtime tile set loader
ZORV_DECLARE_ERROR(ENotBlockFile);   // editor: tile set header wrong
ZORV_DECLARE_ERROR(ETileWrongSize);  // editor: WIDTH/HEIGHT not 32
ZORV_DECLARE_ERROR(ENotPaletteFile); // editor: tile palette header wrong
ZORV_DECLARE_ERROR(EConvertError);   // a number that does not convert
ZORV_DECLARE_ERROR(EInOutError);     // a file that cannot be read or written
ZORV_DECLARE_ERROR(EFOpenError);     // a file that cannot be opened
ZORV_DECLARE_ERROR(EEndOfStream);    // a stream ended inside a value

#undef ZORV_DECLARE_ERROR

// The editor's map reader names its class with a lower-case m.
using EmapLoad = EMapLoad;

inline constexpr const char* kUnexpectedEnd = "Unexpected end of file";

} // namespace formats
