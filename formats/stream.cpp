#include "formats/stream.h"

#include "formats/errors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace formats {

namespace {

constexpr size_t kScanBlock = 64 * 1024;

// Bytes at the start of [p, p + n) that are 0.
size_t LeadingZeros(const uint8_t* p, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        if (v != 0) break;
    }
    while (i < n && p[i] == 0)
        ++i;
    return i;
}

} // namespace

void Stream::ReadExact(void* buffer, size_t n) {
    if (Read(buffer, n) != n) throw EEndOfStream(kUnexpectedEnd);
}

uint64_t Stream::ZeroRun(uint64_t from, uint64_t limit) {
    const uint64_t kept = Position();
    uint8_t block[4096];
    uint64_t run = 0;
    Seek(from);
    while (run < limit) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof block, limit - run));
        const size_t got = Read(block, want);
        const size_t zeros = LeadingZeros(block, got);
        run += zeros;
        if (zeros < want) break;
    }
    Seek(kept);
    return run;
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

uint64_t MemoryStream::ZeroRun(uint64_t from, uint64_t limit) {
    if (from >= bytes_.size()) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(limit, bytes_.size() - from));
    return LeadingZeros(bytes_.data() + from, n);
}

namespace {

[[noreturn]] void CannotOpen(const std::filesystem::path& path, const std::string& reason) {
    throw EFOpenError("Cannot open file \"" + path.string() + "\". " + reason);
}

// pread that retries when interrupted; 0 at the end or on an error.
size_t ReadAt(int fd, void* buffer, size_t n, uint64_t at) {
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, n, static_cast<off_t>(at));
        if (got >= 0) return static_cast<size_t>(got);
        if (errno != EINTR) return 0;
    }
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
    }
    if (refusal) {
        const std::string reason = refusal;
        ::close(fd);
        CannotOpen(path, reason);
    }
    fd_ = fd;
    size_ = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    // A small file needs no more buffer than itself (readers open many).
    bufferBytes_ = static_cast<size_t>(std::clamp<uint64_t>(size_, 1, kBufferBytes));
    buffer_ = std::make_unique_for_overwrite<uint8_t[]>(bufferBytes_);
}

FileStream::~FileStream() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileStream::Fill(uint64_t at) {
    bufferStart_ = at;
    bufferFill_ = ReadAt(fd_, buffer_.get(), bufferBytes_, at);
    return bufferFill_ > 0;
}

size_t FileStream::Read(void* buffer, size_t n) {
    if (position_ >= size_) return 0;
    n = static_cast<size_t>(std::min<uint64_t>(n, size_ - position_));
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < n) {
        if (position_ >= bufferStart_ && position_ < bufferStart_ + bufferFill_) {
            const size_t at = static_cast<size_t>(position_ - bufferStart_);
            const size_t take = std::min(n - done, bufferFill_ - at);
            std::memcpy(out + done, buffer_.get() + at, take);
            done += take;
            position_ += take;
        } else if (n - done >= bufferBytes_) { // large reads bypass the buffer
            const size_t got = ReadAt(fd_, out + done, n - done, position_);
            if (got == 0) break;
            done += got;
            position_ += got;
        } else if (!Fill(position_)) {
            break; // the file is shorter than it was when opened, or unreadable
        }
    }
    return done;
}

uint64_t FileStream::ZeroRun(uint64_t from, uint64_t limit) {
    if (from >= size_) return 0;
    const uint64_t end = from + std::min(limit, size_ - from);
    uint64_t at = from;
    while (at < end) {
        const off_t data = ::lseek(fd_, static_cast<off_t>(at), SEEK_DATA);
        if (data < 0 && errno == ENXIO) return end - from; // a hole up to the end
        if (data > static_cast<off_t>(at)) {               // a hole: zeros, not read
            at = std::min(end, static_cast<uint64_t>(data));
            continue;
        }
        if (!(at >= bufferStart_ && at < bufferStart_ + bufferFill_) && !Fill(at)) break;
        const size_t offset = static_cast<size_t>(at - bufferStart_);
        const size_t n =
            static_cast<size_t>(std::min<uint64_t>({bufferFill_ - offset, end - at, kScanBlock}));
        const size_t zeros = LeadingZeros(buffer_.get() + offset, n);
        at += zeros;
        if (zeros < n) break;
    }
    return at - from;
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
