#include "formats/stream.h"

#include "formats/errors.h"

#include <cerrno>
#include <cstring>

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

FileStream::FileStream(const std::filesystem::path& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        throw EFOpenError("Cannot open file \"" + path.string() + "\". " + std::strerror(errno));
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        std::fclose(file_);
        file_ = nullptr;
        throw EFOpenError("Cannot open file \"" + path.string() + "\". Is a directory");
    }
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        long end = std::ftell(file_);
        size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
    std::fseek(file_, 0, SEEK_SET);
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
