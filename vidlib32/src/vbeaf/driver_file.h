#pragma once
// Finding and reading a driver file: the candidate names in the order they
// are tried, DOS names mapped to host folders, and the image read into guest
// memory.
#include "vidlib32/vbeaf.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vidlib32::vbeaf {

// The candidate names, as DOS names: "c:\VBEAF.DRV", then VBEAF_PATH's value
// and `directory` (when set and not empty), each with a backslash appended
// unless it ends in a separator, then "VBEAF.DRV". A name that would not fit
// 260 bytes with its terminating zero is left out.
std::vector<std::string> DriverCandidates(const char* directory);

// Opens a DOS name for binary reading: "c:" is the folder PCEMU_DRIVE_C
// names (no other drive is known, nor drive C when the variable is unset);
// a name without a drive is relative to the current folder, or to the root
// when it starts with a separator. Backslashes and slashes both separate
// components, and each component matches an entry of another case when no
// entry has its exact name. Null when there is no such regular file or it
// cannot be opened.
std::FILE* OpenDriverFile(const std::string& dosName);

struct LoadedImage {
    AF_DriverHeader* image = nullptr; // guest memory, file length + 16 bytes (zeros after it)
    size_t length = 0;                // the file's length
    int32_t status = 0;               // AF_STATUS_* when image is null
};

// Reads the whole file, found by seeking to its end and back, into a zeroed
// guest block of its length + 16 bytes, and closes it. A block that cannot
// be had gives AF_STATUS_NO_MEMORY; a file whose length cannot be told, or
// whose read stops short of that length, gives AF_STATUS_NOT_A_DRIVER.
LoadedImage ReadDriverImage(std::FILE* file);

} // namespace vidlib32::vbeaf
