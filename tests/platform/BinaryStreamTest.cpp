#include <gtest/gtest.h>

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
