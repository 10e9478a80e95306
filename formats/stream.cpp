#include "formats/stream.h"

#include "formats/errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace formats {

void Stream::ReadExact(void* buffer, size_t n) {
    if (Read(buffer, n) != n) throw EEndOfStream(kUnexpectedEnd);
}

MemoryStream::MemoryStream(const void* data, size_t size)
    : bytes_(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size) {}

size_t MemoryStream::Read(void* buffer, size_t n) {
    if (position_ >= bytes_.size()) return 0;
    size_t available = bytes_.size() - position_;
    if (n > available) n = available;
    if (n) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

namespace {

[[noreturn]] void CannotOpen(const std::filesystem::path& path, const std::string& reason) {
    throw EFOpenError("Cannot open file \"" + path.string() + "\". " + reason);
}

} // namespace

// Opened without blocking and checked before any read: a named pipe or a device
// would otherwise hang the reader or never end.
FileStream::FileStream(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) CannotOpen(path, std::strerror(errno));
    struct stat info {};
    const char* refusal = nullptr;
    if (::fstat(fd, &info) != 0) {
        refusal = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        refusal = "Is a directory";
    } else if (!S_ISREG(info.st_mode)) {
        refusal = "Not a regular file";
    } else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            refusal = std::strerror(errno);
        } else {
            file_ = ::fdopen(fd, "rb");
            if (!file_) refusal = std::strerror(errno);
        }
    }
    if (!file_) {
        const std::string reason = refusal;
        ::close(fd);
        CannotOpen(path, reason);
    }
    size_ = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

FileStream::~FileStream() {
    if (file_) std::fclose(file_);
}

size_t FileStream::Read(void* buffer, size_t n) {
    if (position_ >= size_ || n == 0) return 0;
    size_t got = std::fread(buffer, 1, n, file_);
    position_ += got;
    return got;
}

void FileStream::Seek(uint64_t position) {
    position_ = position;
    if (position <= size_) std::fseek(file_, static_cast<long>(position), SEEK_SET);
}

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    FileStream stream(path);
    std::vector<uint8_t> bytes(stream.Size());
    if (stream.Read(bytes.data(), bytes.size()) != bytes.size()) {
        throw EInOutError("Read error on \"" + path.string() + "\"");
    }
    return bytes;
}

} // namespace formats
