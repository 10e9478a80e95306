#pragma once
// Exception classes raised by the readers and writers. Each carries the message
// that the programs show to the user as it stands.
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace formats {

class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& message) : std::runtime_error(message) {}

    // The file the error was found in, once a caller that knows it has said so
    // (see WithFileName); empty until then.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }

private:
    std::string fileName_;
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

// Runs `work` that reads `file`. An error of these readers that leaves it
// without a file name yet is given this one, so that the innermost file being
// read (a tile picture within a tile set within a map) is the one named.
template <class Work>
auto WithFileName(const std::filesystem::path& file, Work&& work) -> decltype(work()) {
    try {
        return work();
    } catch (FormatError& e) {
        if (e.FileName().empty()) e.SetFileName(file.string());
        throw;
    }
}

// The text to show for an error: its message as it stands and, on a second
// line, the file it concerns when that is known and the message does not
// already name it.
inline std::string ErrorMessage(const std::exception& error) {
    std::string text = error.what();
    const auto* format = dynamic_cast<const FormatError*>(&error);
    if (format && !format->FileName().empty() && text.find(format->FileName()) == std::string::npos)
        text += "\n" + format->FileName();
    return text;
}

} // namespace formats
