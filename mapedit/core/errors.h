#pragma once
// Exceptions the editor core raises in addition to those of the formats library.
#include "formats/errors.h"

namespace mapedit {

// CopySlot would remove the last copy of a tile from the palette.
class ELastOneLeft : public formats::FormatError {
public:
    explicit ELastOneLeft(const std::string& message) : formats::FormatError(message) {}
};

// A map size the planes cannot take (negative, or above the cell cap).
class EMapSize : public formats::FormatError {
public:
    explicit EMapSize(const std::string& message) : formats::FormatError(message) {}
};

// A drawing surface that cannot be given the size asked for.
class EWinG : public formats::FormatError {
public:
    explicit EWinG(const std::string& message) : formats::FormatError(message) {}
};

} // namespace mapedit
