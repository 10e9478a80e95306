#pragma once
// Resolves DOS-style names stored in data files ("TILES\A.TIL", upper-cased by
// the tile set reader) against a directory on a case-sensitive file system.
#include <filesystem>
#include <optional>
#include <string_view>

namespace formats {

// Splits `name` on '\' and '/'; each component is used as it stands when such an
// entry exists, otherwise the entry of that directory matching it without
// regard to case; of several such entries, the one whose name is byte-wise
// smallest (upper case before lower case), so the result never depends on the
// order the file system lists entries in. The choice is made one component at
// a time and never revisited. An absolute name (leading '/') starts at the root
// instead of `dir`. Returns the path found, or nothing when a component has no match.
std::optional<std::filesystem::path> ResolveDosName(const std::filesystem::path& dir,
                                                    std::string_view name);

// Turns a stored name into a path to open: the resolved path when it exists,
// otherwise DosNameAsPath(dir, name).
std::filesystem::path DosNameToPath(const std::filesystem::path& dir, std::string_view name);

// The name as a path without looking at the disk: dir / name with '\' turned
// into '/' (the name alone when it starts with '/').
std::filesystem::path DosNameAsPath(const std::filesystem::path& dir, std::string_view name);

} // namespace formats
