#pragma once
// Byte order helpers, primitive readers and writers, chunk writing with
// back-patched lengths, and the FORM reading loop shared by every reader.
#include "formats/errors.h"
#include "formats/formlength.h"
#include "formats/replacefile.h"
#include "formats/stream.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace formats {

uint32_t SwapLong(uint32_t value);
uint16_t SwapWord(uint16_t value);

// Readers advance the stream; a stream that ends inside a value raises EEndOfStream.
int32_t ReadLongBE(Stream& stream);
uint16_t ReadWordBE(Stream& stream);
uint32_t ReadLong(Stream& stream); // little-endian; chunk IDs come out in reading order
uint8_t ReadByte(Stream& stream);

using ChunkId = std::array<char, 4>;
ChunkId MakeId(std::string_view fourChars);
std::string IdText(const ChunkId& id);
// The ID whose bytes stand in reading order in a little-endian long.
uint32_t IdAsLong(std::string_view fourChars);

// Writers over an open binary file. A failed write raises EInOutError.
class BinaryWriter {
public:
    explicit BinaryWriter(std::FILE* file) : file_(file) {}
    void WriteLongBE(uint32_t value);
    void WriteWordBE(uint16_t value);
    void WriteLong(uint32_t value);
    void WriteByte(uint8_t value);
    void WriteBytes(const void* data, size_t n);
    uint64_t Position() const;
    void Seek(uint64_t position);
    std::FILE* File() const { return file_; }

private:
    std::FILE* file_;
};

// The chunk steps of the map writer: FORM header, chunks with lengths filled in
// afterwards and a pad byte after odd data, and the FORM length as the file size
// (or, for files meant for other tools, the bytes that follow the field).
class ChunkWriter {
public:
    explicit ChunkWriter(BinaryWriter& out) : out_(out) {}
    void BeginForm(std::string_view formType);
    void BeginChunk(std::string_view id);
    void EndChunk();
    void EndForm(FormLength rule = FormLength::WholeFile);

private:
    BinaryWriter& out_;
    uint64_t lengthField_ = 0;
};

// A chunk as the FORM loop sees it.
struct ChunkInfo {
    ChunkId id;
    uint64_t headerOffset; // where the ID stands
    uint64_t dataOffset;   // first data byte
    uint32_t length;       // data bytes
    // Zero bytes read as empty chunks of ID 0, 8 bytes each. The loop hands a
    // run of them over once, as the first with the number of them in a row.
    uint64_t count = 1;
};

// What the FORM loop says when the container is wrong. Each reader words these itself.
struct FormMessages {
    const char* notForm;
    const char* wrongType;
};

// Runs the FORM loop: checks the container and form type, then for every chunk
// that starts below the FORM length calls handler(chunk) with the stream at the
// chunk's data, and seeks to the next chunk whatever the handler consumed. A
// chunk header or data that runs past the end of the stream ends the read with
// EEndOfStream (before the handler is called). A run of zero bytes (the hole of
// a sparse file) is passed over at once, however long. Returns the FORM length.
uint32_t ReadForm(Stream& stream, std::string_view formType, const FormMessages& messages,
                  const std::function<void(const ChunkInfo&)>& handler,
                  const std::function<void(const std::string&)>& fail);

// Same loop, with every error (wrong container, early end) raised as E.
template <class E>
uint32_t ReadFormAs(Stream& stream, std::string_view formType, const FormMessages& messages,
                    const std::function<void(const ChunkInfo&)>& handler) {
    try {
        return ReadForm(stream, formType, messages, handler,
                        [](const std::string& m) { throw E(m); });
    } catch (const EEndOfStream& e) {
        throw E(e.what());
    }
}

} // namespace formats
