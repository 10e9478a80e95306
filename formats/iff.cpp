#include "formats/iff.h"

#include <cerrno>
#include <cstring>

namespace formats {

uint32_t SwapLong(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

uint16_t SwapWord(uint16_t v) {
    return static_cast<uint16_t>((v >> 8) | (v << 8));
}

int32_t ReadLongBE(Stream& s) {
    uint8_t b[4];
    s.ReadExact(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 |
                                uint32_t(b[3]));
}

uint16_t ReadWordBE(Stream& s) {
    uint8_t b[2];
    s.ReadExact(b, 2);
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

uint32_t ReadLong(Stream& s) {
    uint8_t b[4];
    s.ReadExact(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

uint8_t ReadByte(Stream& s) {
    uint8_t b;
    s.ReadExact(&b, 1);
    return b;
}

ChunkId MakeId(std::string_view t) {
    ChunkId id{' ', ' ', ' ', ' '};
    for (size_t i = 0; i < 4 && i < t.size(); ++i)
        id[i] = t[i];
    return id;
}

std::string IdText(const ChunkId& id) {
    return std::string(id.data(), 4);
}

uint32_t IdAsLong(std::string_view t) {
    ChunkId id = MakeId(t);
    return uint32_t(uint8_t(id[0])) | uint32_t(uint8_t(id[1])) << 8 |
           uint32_t(uint8_t(id[2])) << 16 | uint32_t(uint8_t(id[3])) << 24;
}

static ChunkId LongAsId(uint32_t v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

// ---- writers ----

static void WriteFailed() {
    throw EInOutError(std::string("Write error: ") + std::strerror(errno ? errno : EIO));
}

void BinaryWriter::WriteBytes(const void* data, size_t n) {
    errno = 0;
    if (n && std::fwrite(data, 1, n, file_) != n) WriteFailed();
}

void BinaryWriter::WriteLongBE(uint32_t v) {
    uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    WriteBytes(b, 4);
}

void BinaryWriter::WriteWordBE(uint16_t v) {
    uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
    WriteBytes(b, 2);
}

void BinaryWriter::WriteLong(uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    WriteBytes(b, 4);
}

void BinaryWriter::WriteByte(uint8_t v) {
    WriteBytes(&v, 1);
}

uint64_t BinaryWriter::Position() const {
    long p = std::ftell(file_);
    if (p < 0) WriteFailed();
    return static_cast<uint64_t>(p);
}

void BinaryWriter::Seek(uint64_t position) {
    errno = 0;
    if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) WriteFailed();
}

void ChunkWriter::BeginForm(std::string_view formType) {
    out_.WriteLong(IdAsLong("FORM"));
    out_.WriteLongBE(0);
    out_.WriteLong(IdAsLong(formType));
}

void ChunkWriter::BeginChunk(std::string_view id) {
    out_.WriteLong(IdAsLong(id));
    lengthField_ = out_.Position();
    out_.WriteLongBE(0);
}

void ChunkWriter::EndChunk() {
    uint64_t end = out_.Position();
    out_.Seek(lengthField_);
    out_.WriteLongBE(static_cast<uint32_t>(end - lengthField_ - 4));
    out_.Seek(end);
    if (end & 1) out_.WriteByte(0);
}

void ChunkWriter::EndForm(FormLength rule) {
    errno = 0;
    if (std::fseek(out_.File(), 0, SEEK_END) != 0) WriteFailed();
    uint64_t size = out_.Position();
    out_.Seek(4);
    out_.WriteLongBE(static_cast<uint32_t>(rule == FormLength::WholeFile ? size : size - 8));
    out_.Seek(size);
}

// ---- FORM loop ----

namespace {

constexpr uint64_t kChunkHeaderBytes = 8;

// An empty chunk whose ID is four zero bytes, at an even offset: what every
// 8 bytes of a run of zeros read as.
bool IsZeroChunk(const ChunkInfo& chunk) {
    return chunk.length == 0 && chunk.id == ChunkId{} && (chunk.headerOffset & 1) == 0;
}

} // namespace

uint32_t ReadForm(Stream& stream, std::string_view formType, const FormMessages& messages,
                  const std::function<void(const ChunkInfo&)>& handler,
                  const std::function<void(const std::string&)>& fail) {
    if (stream.Remaining() < 4 || LongAsId(ReadLong(stream)) != MakeId("FORM")) {
        fail(messages.notForm);
        throw EEndOfStream(messages.notForm); // fail() always throws; keeps the compiler sure
    }
    uint32_t formLength = static_cast<uint32_t>(ReadLongBE(stream));
    ChunkId type;
    stream.ReadExact(type.data(), 4);
    if (type != MakeId(formType)) fail(messages.wrongType);

    while (stream.Position() < formLength) {
        ChunkInfo chunk;
        chunk.headerOffset = stream.Position();
        if (stream.Remaining() < 8) throw EEndOfStream(kUnexpectedEnd);
        stream.ReadExact(chunk.id.data(), 4);
        chunk.length = static_cast<uint32_t>(ReadLongBE(stream));
        chunk.dataOffset = stream.Position();
        if (chunk.length > stream.Remaining()) throw EEndOfStream(kUnexpectedEnd);
        uint64_t next = chunk.dataOffset + chunk.length;
        if (next & 1) ++next;
        if (IsZeroChunk(chunk) && next < formLength) {
            // The empty chunks that start below the FORM length and lie wholly
            // in the zeros that follow, counted without reading them one by one.
            const uint64_t starts = (formLength - next + kChunkHeaderBytes - 1) / kChunkHeaderBytes;
            const uint64_t more =
                stream.ZeroRun(next, starts * kChunkHeaderBytes) / kChunkHeaderBytes;
            chunk.count += more;
            next += more * kChunkHeaderBytes;
        }
        handler(chunk);
        stream.Seek(next);
    }
    return formLength;
}

} // namespace formats
