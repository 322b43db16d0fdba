#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"
#include "support/FileFaults.h"

namespace fs = std::filesystem;
using fsfaults::AsNobody;
using fsfaults::NamesIn;

#include "support/TempDir.h"

namespace {

class SafeFileWriter : public testing::Test {
protected:
    void SetUp() override {
        // Reachable by the unprivileged user the access tests run as.
        fs::permissions(Dir, fs::perms::all);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(Dir, fs::perms::all, ignored);
        fs::remove_all(Dir, ignored);
    }
    std::string File(const std::string& name) const { return (Dir / name).string(); }

    TTempDir Folder{"safe"};
    fs::path Dir = Folder.Path;
    const std::vector<uint8_t> Old{'o', 'l', 'd', 0, 1, 2};
    const std::vector<uint8_t> New = std::vector<uint8_t>(64 * 1024, 0x5A);
};

} // namespace

TEST_F(SafeFileWriter, ReplacesKeepingPermissionBitsAndNewFilesFollowTheUmask) {
    const std::string path = File("doc.PST");
    ASSERT_TRUE(WriteFileAtomically(path, Old));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, New));
    EXPECT_EQ(ReadWholeFile(path).value(), New);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(File("fresh.PST"), Old));
    ::umask(mask);
    ASSERT_EQ(::stat(File("fresh.PST").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(NamesIn(Dir), (std::vector<std::string>{"doc.PST", "fresh.PST"}));
}

TEST_F(SafeFileWriter, ASymbolicLinkStaysALinkAndItsTargetIsReplaced) {
    fs::create_directory(Dir / "real");
    const std::string target = File("real/doc.PST");
    ASSERT_TRUE(WriteFileAtomically(target, Old));
    fs::create_symlink("real/doc.PST", Dir / "link.PST");
    fs::create_symlink(Dir / "link.PST", Dir / "chain.PST"); // absolute, through another link

    ASSERT_TRUE(WriteFileAtomically(File("chain.PST"), New));
    EXPECT_TRUE(fs::is_symlink(Dir / "link.PST"));
    EXPECT_TRUE(fs::is_symlink(Dir / "chain.PST"));
    EXPECT_EQ(ReadWholeFile(target).value(), New);
    EXPECT_EQ(NamesIn(Dir / "real"), std::vector<std::string>{"doc.PST"});

    // A link to a file not written yet creates that file.
    fs::create_symlink("real/later.PST", Dir / "dangling.PST");
    ASSERT_TRUE(WriteFileAtomically(File("dangling.PST"), Old));
    EXPECT_TRUE(fs::is_symlink(Dir / "dangling.PST"));
    EXPECT_EQ(ReadWholeFile(File("real/later.PST")).value(), Old);

    // A loop of links is refused with a message.
    fs::create_symlink("loop-b", Dir / "loop-a");
    fs::create_symlink("loop-a", Dir / "loop-b");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(File("loop-a"), Old, &error));
    EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
}

TEST_F(SafeFileWriter, AFullFileSystemLeavesThePreviousFileAsItWas) {
    fsfaults::TTinyTmpfs tmpfs(Dir / "small");
    if (!tmpfs.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string path = File("small/doc.PST");
    ASSERT_TRUE(WriteFileAtomically(path, Old));
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, New, &error)); // 64 KB into 16 KB
    EXPECT_NE(error.find("No space"), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(path).value(), Old);
    EXPECT_EQ(NamesIn(Dir / "small"), std::vector<std::string>{"doc.PST"});
}

TEST_F(SafeFileWriter, AFileSizeLimitLeavesThePreviousFileAsItWas) {
    const std::string path = File("doc.PST");
    ASSERT_TRUE(WriteFileAtomically(path, Old));
    ::chmod(path.c_str(), 0666);
    const int result = AsNobody([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        return WriteFileAtomically(path, New, &error)         ? 1
               : error.find("too large") != std::string::npos ? 0
                                                              : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(path).value(), Old);
    EXPECT_EQ(NamesIn(Dir), std::vector<std::string>{"doc.PST"});
}

TEST_F(SafeFileWriter, RefusesWhatTheUserMayNotWrite) {
    // A read-only file in a folder everyone may write: renaming over it would work, but the
    // file is not the user's to change. As root the file belongs to root and nobody writes.
    const std::string locked = File("locked.PST");
    ASSERT_TRUE(WriteFileAtomically(locked, Old));
    ::chmod(locked.c_str(), 0444);
    fs::create_symlink("locked.PST", Dir / "link-to-locked");
    fs::create_directory(Dir / "shut");
    const std::string inShut = File("shut/doc.PST");
    ASSERT_TRUE(WriteFileAtomically(inShut, Old));
    ::chmod(inShut.c_str(), 0666);
    ::chmod((Dir / "shut").c_str(), 0555);

    const int result = AsNobody([&] {
        std::string error;
        if (WriteFileAtomically(locked, New, &error)) return 1;
        if (error.find("may not change") == std::string::npos) return 2;
        if (WriteFileAtomically(inShut, New, &error)) return 3; // read-only folder
        if (error.find("cannot create") == std::string::npos) return 4;
        // Through a link the same holds.
        if (WriteFileAtomically((Dir / "link-to-locked").string(), New, &error)) return 5;
        return 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(locked).value(), Old);
    EXPECT_EQ(ReadWholeFile(inShut).value(), Old);
    EXPECT_EQ(NamesIn(Dir), (std::vector<std::string>{"link-to-locked", "locked.PST", "shut"}));
    EXPECT_EQ(NamesIn(Dir / "shut"), std::vector<std::string>{"doc.PST"});
}

TEST_F(SafeFileWriter, NotAPlainFileOrAProducerThatWroteNothingUseful) {
    fs::create_directory(Dir / "folder");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(File("folder"), Old, &error));
    EXPECT_NE(error.find("not a plain file"), std::string::npos) << error;

    // A producer writing by name: abandoned, it leaves nothing; committed, it replaces.
    const std::string path = File("out.pdf");
    ASSERT_TRUE(WriteFileAtomically(path, Old));
    {
        TSafeFileWriter writer(path);
        ASSERT_TRUE(writer.Ok());
        writer.CloseForProducer();
        ASSERT_TRUE(WriteFileAtomically(writer.TemporaryPath(), New));
    }
    EXPECT_EQ(ReadWholeFile(path).value(), Old);
    EXPECT_EQ(NamesIn(Dir), (std::vector<std::string>{"folder", "out.pdf"}));
    {
        TSafeFileWriter writer(path);
        writer.CloseForProducer();
        ASSERT_TRUE(WriteFileAtomically(writer.TemporaryPath(), New));
        ASSERT_TRUE(writer.Commit()) << writer.Error();
    }
    EXPECT_EQ(ReadWholeFile(path).value(), New);
    EXPECT_EQ(NamesIn(Dir), (std::vector<std::string>{"folder", "out.pdf"}));
}
