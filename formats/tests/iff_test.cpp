#include "formats/iff.h"

#include "formats/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

using namespace formats;
namespace fs = std::filesystem;

using testing_support::FileBytes;

namespace {

fs::path TempDir() {
    return testing_support::ScratchDir("zorv_iff_");
}

void PutBE32(std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(uint8_t(x >> s));
}
void PutId(std::vector<uint8_t>& v, const char* id) {
    v.insert(v.end(), id, id + 4);
}

const FormMessages kMessages{"Not an IFF FORM", "Not a PBM IFF"};

} // namespace

TEST(ByteOrder, SwapsAndReadsBigEndian) {
    EXPECT_EQ(SwapWord(0x1234), 0x3412);
    EXPECT_EQ(SwapLong(0x12345678u), 0x78563412u);
    MemoryStream s(std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78, 0xAB, 0xCD, 'F', 'O', 'R', 'M', 9});
    EXPECT_EQ(ReadLongBE(s), 0x12345678);
    EXPECT_EQ(ReadWordBE(s), 0xABCD);
    EXPECT_EQ(ReadLong(s), IdAsLong("FORM"));
    EXPECT_EQ(ReadByte(s), 9);
    EXPECT_THROW(ReadByte(s), EEndOfStream);
}

TEST(ChunkWriting, LengthsPadAndFormLength) {
    fs::path file = TempDir() / "chunks.bin";
    {
        ReplaceFile out(file);
        BinaryWriter w(out.File());
        ChunkWriter c(w);
        c.BeginForm("ZMAP");
        c.BeginChunk("ABCD");
        for (int i = 0; i < 5; ++i)
            w.WriteByte(uint8_t(i + 1));
        c.EndChunk();
        EXPECT_EQ(w.Position(), 26u); // 12 + 8 + 5 data + pad
        c.BeginChunk("EFGH");
        w.WriteWordBE(0xBEEF);
        c.EndChunk();
        c.EndForm();
        out.Commit();
    }
    auto b = FileBytes(file);
    ASSERT_EQ(b.size(), 36u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "FORM");
    EXPECT_EQ(b[7], 36); // FORM length is the whole file
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "ZMAP");
    EXPECT_EQ(b[19], 5); // length field at 16
    EXPECT_EQ(b[25], 0); // pad byte
    EXPECT_EQ(b[33], 2); // even chunk: no pad
    EXPECT_EQ(b[34], 0xBE);
}

TEST(ChunkWriting, FailedWriteLeavesPreviousFile) {
    fs::path file = TempDir() / "keep.bin";
    std::ofstream(file) << "old";
    try {
        ReplaceFile out(file);
        BinaryWriter(out.File()).WriteLongBE(1);
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    auto b = FileBytes(file);
    EXPECT_EQ(std::string(b.begin(), b.end()), "old");
    for (auto& e : fs::directory_iterator(file.parent_path()))
        EXPECT_EQ(e.path().filename().string().find("keep.bin."), std::string::npos);
    EXPECT_THROW(ReplaceFile(TempDir() / "no" / "such" / "dir.bin"), EInOutError);
}

TEST(FormLoop, PadsSkipsAndStopsAtFormLength) {
    // FORM, a 3-byte chunk at 12 (data 20..22, pad 23), then a chunk at 24.
    std::vector<uint8_t> f;
    PutId(f, "FORM");
    PutBE32(f, 0);
    PutId(f, "PBM ");
    PutId(f, "AAAA");
    PutBE32(f, 3);
    f.insert(f.end(), {1, 2, 3, 0});
    PutId(f, "BBBB");
    PutBE32(f, 2);
    f.insert(f.end(), {7, 8});
    PutId(f, "CCCC"); // starts in the last 8 bytes of a FORM length of size - 8
    PutBE32(f, 0);
    uint32_t size = uint32_t(f.size());
    f[7] = uint8_t(size - 8);

    MemoryStream s(f);
    std::vector<std::string> seen;
    ReadFormAs<EIffLoader>(s, "PBM ", kMessages, [&](const ChunkInfo& c) {
        seen.push_back(IdText(c.id) + "@" + std::to_string(c.headerOffset));
        if (IdText(c.id) == "AAAA") ReadLongBE(s); // reads past its data: must not matter
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"AAAA@12", "BBBB@24"}));

    f[7] = uint8_t(size); // our own convention: the whole file is read
    MemoryStream s2(f);
    seen.clear();
    ReadFormAs<EIffLoader>(s2, "PBM ", kMessages,
                           [&](const ChunkInfo& c) { seen.push_back(IdText(c.id)); });
    EXPECT_EQ(seen.size(), 3u);
}

TEST(FormLoop, WrongContainerAndShortFilesRaiseReaderClass) {
    auto run = [](std::vector<uint8_t> bytes) -> std::string {
        MemoryStream s(std::move(bytes));
        try {
            ReadFormAs<EIffLoader>(s, "PBM ", kMessages, [](const ChunkInfo&) {});
        } catch (const EIffLoader& e) {
            return e.what();
        }
        return "ok";
    };
    std::vector<uint8_t> good;
    PutId(good, "FORM");
    PutBE32(good, 30);
    PutId(good, "PBM ");
    EXPECT_EQ(run({'F', 'O'}), "Not an IFF FORM");
    EXPECT_EQ(run({'F', 'O', 'R', 'X', 0, 0, 0, 0}), "Not an IFF FORM");
    auto ilbm = good;
    ilbm[8] = 'I';
    EXPECT_EQ(run(ilbm), "Not a PBM IFF");
    EXPECT_EQ(run(good), kUnexpectedEnd); // FORM length promises chunks that are missing
    auto header = good;
    PutId(header, "BODY"); // ends inside the chunk header
    EXPECT_EQ(run(header), kUnexpectedEnd);
    auto data = good;
    PutId(data, "BODY");
    PutBE32(data, 100); // data runs past the end
    data.push_back(1);
    EXPECT_EQ(run(data), kUnexpectedEnd);
    auto huge = good;
    PutId(huge, "BODY");
    PutBE32(huge, 0xFFFFFFF0u);
    EXPECT_EQ(run(huge), kUnexpectedEnd);
}

namespace {

size_t OpenDescriptors() {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

std::string OpenError(const fs::path& path) {
    try {
        FileStream stream(path);
    } catch (const EFOpenError& e) {
        return e.what();
    }
    return "opened";
}

} // namespace

TEST(FileStreams, OnlyRegularFilesOpen) {
    const fs::path dir = TempDir();
    const fs::path file = dir / "plain.bin";
    { std::ofstream(file, std::ios::binary) << "abcdef"; }
    FileStream stream(file);
    EXPECT_EQ(stream.Size(), 6u);
    char buffer[4];
    stream.Seek(2);
    EXPECT_EQ(stream.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "cdef");
    EXPECT_EQ(stream.Read(buffer, 4), 0u);

    // A named pipe, a device and a folder are refused at once instead of
    // blocking or reading without end; no descriptor stays open. The test holds
    // the pipe's other end so that a reader that does open it cannot hang here.
    const fs::path fifo = dir / "pipe";
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int otherEnd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(otherEnd, 0);
    const size_t before = OpenDescriptors();
    EXPECT_EQ(OpenError(fifo), "Cannot open file \"" + fifo.string() + "\". Not a regular file");
    EXPECT_THROW(ReadWholeFile(fifo), EFOpenError);
    EXPECT_EQ(OpenError("/dev/zero"), "Cannot open file \"/dev/zero\". Not a regular file");
    EXPECT_EQ(OpenError(dir), "Cannot open file \"" + dir.string() + "\". Is a directory");
    EXPECT_NE(OpenError(dir / "missing").find("No such file"), std::string::npos);
    EXPECT_EQ(OpenDescriptors(), before);
    ::close(otherEnd);
    fs::remove(fifo);
}

namespace {

// Hands reads and seeks to another stream, counting reads; fails a read once
// there have been too many, so a loop that reads zeros one chunk at a time
// shows itself at once instead of running for minutes.
class CountingStream : public Stream {
public:
    explicit CountingStream(Stream& inner, int maxReads) : inner_(inner), maxReads_(maxReads) {}
    size_t Read(void* buffer, size_t n) override {
        if (++reads > maxReads_) throw std::runtime_error("read zeros one by one");
        return inner_.Read(buffer, n);
    }
    uint64_t Position() const override { return inner_.Position(); }
    void Seek(uint64_t position) override { inner_.Seek(position); }
    uint64_t Size() const override { return inner_.Size(); }
    uint64_t ZeroRun(uint64_t from, uint64_t limit) override { return inner_.ZeroRun(from, limit); }
    int reads = 0;

private:
    Stream& inner_;
    int maxReads_;
};

std::vector<std::string> ChunkList(Stream& s) {
    std::vector<std::string> seen;
    ReadFormAs<EIffLoader>(s, "PBM ", kMessages, [&](const ChunkInfo& c) {
        std::string id = IdText(c.id);
        if (id == std::string(4, '\0')) id = "0000";
        seen.push_back(id + "@" + std::to_string(c.headerOffset) + "x" + std::to_string(c.count));
    });
    return seen;
}

} // namespace

TEST(FormLoop, RunsOfZeroBytesArePassedOverAtOnce) {
    // A chunk, 3 empty chunks of zeros from 22, one at 46. An odd-offset zero
    // chunk is read on its own; runs start at even offsets.
    std::vector<uint8_t> f;
    PutId(f, "FORM");
    PutBE32(f, 0);
    PutId(f, "PBM ");
    PutId(f, "ABCD");
    PutBE32(f, 1);
    f.insert(f.end(), {'x', 0});
    f.insert(f.end(), 24, 0);
    PutId(f, "EFGH");
    PutBE32(f, 0);
    f[7] = uint8_t(f.size());
    MemoryStream whole(f);
    EXPECT_EQ(ChunkList(whole), (std::vector<std::string>{"ABCD@12x1", "0000@22x3", "EFGH@46x1"}));
    // Only chunks that start below the FORM length count: here those at 22 and 30.
    f[7] = 31;
    MemoryStream cut(f);
    EXPECT_EQ(ChunkList(cut), (std::vector<std::string>{"ABCD@12x1", "0000@22x2"}));

    // A sparse file of 4 GB, all zeros but its header and a chunk at its end:
    // read with a handful of reads, and the last chunk is still found.
    const fs::path file = TempDir() / "sparse.pbm";
    const uint64_t size = 0xFFFFFFF4u; // zero chunks from 12 reach the last one exactly
    {
        std::vector<uint8_t> head;
        PutId(head, "FORM");
        PutBE32(head, uint32_t(size));
        PutId(head, "PBM ");
        std::vector<uint8_t> tail;
        PutId(tail, "LAST");
        PutBE32(tail, 0);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t(size)), 0);
        ASSERT_EQ(::pwrite(fd, head.data(), head.size(), 0), ssize_t(head.size()));
        ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), off_t(size - 8)), ssize_t(tail.size()));
        ::close(fd);
    }
    FileStream sparse(file);
    CountingStream counted(sparse, 1000);
    const uint64_t zeroChunks = (size - 8 - 12) / 8;
    EXPECT_EQ(ChunkList(counted),
              (std::vector<std::string>{"0000@12x" + std::to_string(zeroChunks),
                                        "LAST@" + std::to_string(size - 8) + "x1"}));
    EXPECT_LT(counted.reads, 10);
    fs::remove(file);
}
