#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/BinaryStream.h"
#include "platform/Files.h"
#include "support/TempDir.h"

TEST(BinaryStream, WritesLittleEndianAndReadsItBack) {
    TWriteStream w;
    w.WriteInt32(-2);
    w.WriteUInt16(0x1234);
    w.WriteByte(7);
    EXPECT_EQ(w.Data(), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 7}));

    TReadStream r(w.Data());
    EXPECT_EQ(r.ReadInt32(), -2);
    EXPECT_EQ(r.ReadUInt16(), 0x1234);
    EXPECT_EQ(r.ReadByte(), 7);
    EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryStream, ShortReadThrowsAndDoesNotMove) {
    const std::vector<uint8_t> data{1, 2, 3};
    TReadStream r(data);
    EXPECT_THROW(r.ReadInt32(), EReadError);
    EXPECT_EQ(r.Position(), 0u);
    EXPECT_EQ(r.ReadByte(), 1);
}

TEST(BinaryStream, CountsMustBeNonNegativeAndFitTheRest) {
    TWriteStream w;
    w.WriteInt32(-1);
    w.WriteInt32(3);
    w.Write("abcdefgh", 8);
    TReadStream r(w.Data());
    EXPECT_THROW(r.ReadCount("count", 1), EReadError);
    TReadStream r2(std::span<const uint8_t>(w.Data()).subspan(4));
    EXPECT_THROW(r2.ReadCount("count", 4), EReadError); // 12 bytes wanted, 8 left
    TReadStream r3(std::span<const uint8_t>(w.Data()).subspan(4));
    EXPECT_EQ(r3.ReadCount("count", 2), 3u);
}

TEST(Files, AtomicWriteReplacesWholeFileAndFailureKeepsTheOld) {
    const TTempDir dir("files");
    const auto path = dir.File("a.bin");
    const std::vector<uint8_t> first{1, 2, 3}, second{9};
    ASSERT_TRUE(WriteFileAtomically(path, first));
    ASSERT_TRUE(WriteFileAtomically(path, second));
    EXPECT_EQ(ReadWholeFile(path).value(), second);

    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir.File("missing/b.bin"), first, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadWholeFile(dir.File("nothing-here"), &error).has_value());
    // Nothing but the written file is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path), {}), 1);
}

namespace {

// A source over a buffer that records what was asked of it and can fail a copy.
class TCountingSource : public TByteSource {
public:
    explicit TCountingSource(const std::vector<uint8_t>& bytes) : Bytes(bytes) {}
    void Fill(size_t, size_t n) override { Filled += n; }
    void CopyOut(size_t offset, size_t n, uint8_t* out) override {
        if (Fail) throw EReadError("the file became shorter while it was read");
        std::memcpy(out, Bytes.data() + offset, n);
        Copied += n;
    }
    const std::vector<uint8_t>& Bytes;
    size_t Filled = 0, Copied = 0;
    bool Fail = false;
};

} // namespace

TEST(BinaryStream, ReadAppendTakesBlocksFromMemoryOrStraightFromTheSource) {
    std::vector<uint8_t> bytes(3u << 20);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    for (bool fromSource : {false, true}) {
        TCountingSource source(bytes);
        TReadStream in = fromSource ? TReadStream(bytes, &source) : TReadStream(bytes);
        in.Skip(3);
        std::vector<uint8_t> out = {42};
        EXPECT_THROW(in.ReadAppend(out, bytes.size()), EReadError); // more than is left
        EXPECT_EQ(out, std::vector<uint8_t>{42});
        if (fromSource) {
            // A source that fails leaves out as it was and the stream where it stood.
            source.Fail = true;
            EXPECT_THROW(in.ReadAppend(out, 10), EReadError);
            EXPECT_EQ(out, std::vector<uint8_t>{42});
            EXPECT_EQ(in.Position(), 3u);
            source.Fail = false;
        }
        in.ReadAppend(out, bytes.size() - 3);
        EXPECT_TRUE(in.AtEnd());
        ASSERT_EQ(out.size(), bytes.size() - 2);
        EXPECT_TRUE(std::equal(out.begin() + 1, out.end(), bytes.begin() + 3));
        // The block came by one copy, not by filling the stream's own bytes first.
        EXPECT_EQ(source.Copied, fromSource ? bytes.size() - 3 : 0);
        EXPECT_EQ(source.Filled, 0u);
    }
}
