#pragma once
// Saving a file so that a failed save never destroys the previous one.
#include <cstdio>
#include <filesystem>
#include <sys/types.h>

namespace formats {

// Makes a write beyond the process's file-size limit fail with "File too
// large" instead of ending the process. A handler the program installed
// itself is left alone. The programs call it at start; every save calls it too.
void IgnoreFileSizeSignal();

// Writes a file by way of a temporary file beside it, renamed over it only when
// Commit() is reached. Without Commit() the temporary file is removed.
//
// The target is the file at the end of any chain of symbolic links, so a save
// reaches the file a link names and the links stay. Anything but a regular file
// (a device, a named pipe, a folder) and a file the user may not write are
// refused with "Cannot create file". A replaced file keeps its mode, and its
// owner where the process may set it. When the folder cannot take a temporary
// file but the file itself is writable, the new contents are gathered in memory
// and written over the file in place at Commit().
//
// Temporary files are hidden and named after their target
// (".NAME.zorv-save-XXXXXX", or ".zorv-save-HASH-XXXXXX" for names too long for
// that); leftovers of the same target from interrupted saves are removed after
// the next successful save.
class ReplaceFile {
public:
    explicit ReplaceFile(const std::filesystem::path& target);
    ~ReplaceFile();
    ReplaceFile(const ReplaceFile&) = delete;
    ReplaceFile& operator=(const ReplaceFile&) = delete;

    std::FILE* File() const { return file_; }
    // Raises EInOutError naming the failed step's own error.
    void Commit();

private:
    [[noreturn]] void Refuse(const char* reason) const;
    [[noreturn]] void WriteFailed(int error) const;
    void OpenInMemory();
    int CloseAndRename();
    int WriteInPlace();
    void RemoveLeftovers() const;

    std::filesystem::path target_;   // as the caller named it, for messages
    std::filesystem::path resolved_; // the file at the end of any links
    std::filesystem::path temp_;     // empty while writing in place
    std::FILE* file_ = nullptr;
    bool existed_ = false;
    mode_t mode_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};

} // namespace formats
