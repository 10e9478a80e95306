#pragma once
// What the length field of a FORM header counts.

namespace formats {

enum class FormLength {
    WholeFile,      // the size of the whole file: what the programs' own files hold
    FollowingBytes, // the bytes after the field (file size - 8): what other IFF tools expect
};

} // namespace formats
