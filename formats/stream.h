#pragma once
// Seekable byte streams that the readers work on. The caller owns a stream;
// readers never open, close or free one they are given.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
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
    // How many bytes from `from` on are 0, counting at most `limit` and never
    // past the end. Leaves the position where it was. Streams that know where
    // their zeros lie (the holes of a sparse file) answer without reading them.
    virtual uint64_t ZeroRun(uint64_t from, uint64_t limit);

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
    uint64_t ZeroRun(uint64_t from, uint64_t limit) override;
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
};

// A regular file opened read-only. Opening failure raises EFOpenError. Reads go
// through a buffer of its own, so that moving about within it (the readers
// seek to every chunk) costs no system call.
class FileStream : public Stream {
public:
    explicit FileStream(const std::filesystem::path& path);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    size_t Read(void* buffer, size_t n) override;
    uint64_t Position() const override { return position_; }
    void Seek(uint64_t position) override { position_ = position; }
    uint64_t Size() const override { return size_; }
    // Passes over the holes of a sparse file without reading them.
    uint64_t ZeroRun(uint64_t from, uint64_t limit) override;

private:
    static constexpr size_t kBufferBytes = 64 * 1024;
    // Fills the buffer from `at`; false when nothing could be read there.
    bool Fill(uint64_t at);

    int fd_ = -1;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t bufferBytes_ = 0;   // of buffer_: the file's size up to kBufferBytes
    uint64_t bufferStart_ = 0; // file offset of buffer_[0]
    size_t bufferFill_ = 0;    // valid bytes in buffer_
};

// Whole file into memory; raises EFOpenError or EInOutError.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);

} // namespace formats
