#pragma once
// Seekable byte streams that the readers work on. The caller owns a stream;
// readers never open, close or free one they are given.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace formats {

class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to n bytes; returns how many were read (fewer only at the end).
    virtual size_t Read(void* buffer, size_t n) = 0;
    virtual uint64_t Position() const = 0;
    // Positions beyond the end are allowed; reads there return nothing.
    virtual void Seek(uint64_t position) = 0;
    virtual uint64_t Size() const = 0;

    uint64_t Remaining() const {
        uint64_t p = Position(), s = Size();
        return p < s ? s - p : 0;
    }
    // Reads exactly n bytes or throws EEndOfStream.
    void ReadExact(void* buffer, size_t n);
};

class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    MemoryStream(const void* data, size_t size);

    size_t Read(void* buffer, size_t n) override;
    uint64_t Position() const override { return position_; }
    void Seek(uint64_t position) override { position_ = position; }
    uint64_t Size() const override { return bytes_.size(); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
};

// A file opened read-only. Opening failure raises EFOpenError.
class FileStream : public Stream {
public:
    explicit FileStream(const std::filesystem::path& path);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    size_t Read(void* buffer, size_t n) override;
    uint64_t Position() const override { return position_; }
    void Seek(uint64_t position) override;
    uint64_t Size() const override { return size_; }

private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

// Whole file into memory; raises EFOpenError or EInOutError.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);

} // namespace formats
