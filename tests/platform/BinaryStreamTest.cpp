#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

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

TEST(BinaryStream, ReadAppendCopiesInPiecesAndCanHandBackWhatItRead) {
    // 9 MB: more than two of the pieces the copy goes in, and not a whole number of them.
    std::vector<uint8_t> source(9u << 20);
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    const std::vector<uint8_t> expected = source;
    for (bool release : {false, true}) {
        TReadStream in(source);
        in.ReleaseAsRead(release);
        in.Skip(3);
        std::vector<uint8_t> out = {42};
        EXPECT_THROW(in.ReadAppend(out, source.size()), EReadError); // more than is left
        EXPECT_EQ(out, std::vector<uint8_t>{42});
        in.ReadAppend(out, source.size() - 3);
        EXPECT_TRUE(in.AtEnd());
        ASSERT_EQ(out.size(), source.size() - 2);
        EXPECT_TRUE(std::equal(out.begin() + 1, out.end(), expected.begin() + 3));
        // Released, the pages inside what was copied are gone (zero); kept, they are intact.
        const size_t middle = source.size() / 2;
        EXPECT_EQ(source[middle] == 0 && source[middle + 1] == 0, release);
    }
}
