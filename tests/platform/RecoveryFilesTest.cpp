#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/RecoveryFiles.h"
#include "platform/RecoveryStore.h"
#include "support/TempDir.h"

namespace {

std::set<std::string> NamesIn(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// The id of a process that has ended.
TRecoveryId Ended(int64_t startedMs) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return {pid, startedMs};
}

const std::vector<uint8_t> kPage = {'F', 'o', 'l', 'i', 'o', 0, 1, 2, 3};

} // namespace

TEST(RecoveryFiles, NamesCarryTheOwnerAndOnlyOurNamesParse) {
    const TRecoveryId id{4242, 1765200000123};
    EXPECT_EQ(RecoveryFileName(id, TRecoveryPart::Copy), "page-4242-1765200000123.PST");
    for (const TRecoveryPart part :
         {TRecoveryPart::Copy, TRecoveryPart::Info, TRecoveryPart::Lock}) {
        const auto entry = ParseRecoveryFileName(RecoveryFileName(id, part));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->Id, id);
        EXPECT_EQ(entry->Part, part);
    }
    // The safe writer's temporary files belong to the id too.
    const auto temp = ParseRecoveryFileName(".page-4242-1765200000123.PST.a1B2c3");
    ASSERT_TRUE(temp);
    EXPECT_EQ(temp->Part, TRecoveryPart::Temporary);
    EXPECT_EQ(temp->Id, id);

    for (const char* other :
         {"page-4242-17.pst", "page-4242.PST", "page--1-2.PST", "page-0-5.PST", "page-042-5.PST",
          "page-+4-5.PST", "page-4-5x.PST", "notes.txt", ".", "..", "page-4-5.PST~", ".page-4-5.",
          "page-99999999999999999999-1.PST"})
        EXPECT_FALSE(ParseRecoveryFileName(other)) << other;
}

TEST(RecoveryFiles, TheInfoKeepsAnyPathAndRefusesWhatItDidNotWrite) {
    const TRecoveryInfo info{{17, 99}, "/home/ann/odd\\name\nwith newline.PST"};
    const std::string text = FormatRecoveryInfo(info);
    const auto back = ParseRecoveryInfo(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Owner, info.Owner);
    EXPECT_EQ(back->DocumentPath, info.DocumentPath);
    EXPECT_EQ(ParseRecoveryInfo(FormatRecoveryInfo({{1, 2}, ""}))->DocumentPath, "");

    EXPECT_FALSE(ParseRecoveryInfo(text.substr(0, text.size() - 1))); // cut short
    EXPECT_FALSE(ParseRecoveryInfo(""));
    EXPECT_FALSE(ParseRecoveryInfo("folioscriptor recovery 2\npid 1\nstarted 2\ndocument \n"));
    EXPECT_FALSE(ParseRecoveryInfo("folioscriptor recovery 1\npid x\nstarted 2\ndocument \n"));
    EXPECT_FALSE(ParseRecoveryInfo("folioscriptor recovery 1\npid 1\nstarted 2\ndocument a\\\n"));
}

TEST(RecoveryFiles, OnlyCopiesOfEndedOwnersAreOfferedNewestFirst) {
    const TRecoveryId self{10, 500};
    const std::vector<std::string> names = {
        "page-10-500.PST",  "page-10-500.lock",   // ours
        "page-11-100.PST",  "page-11-100.info",   // ended, older
        "page-12-300.PST",  "page-12-300.lock",   // ended, newer
        "page-13-400.PST",  "page-13-400.lock",   // still running
        "page-14-200.lock", ".page-14-200.PST.x", // ended, no copy
        "page-10-1.PST",                          // an earlier process with our process id
        "README",
    };
    std::vector<TRecoveryId> asked;
    const TRecoveryPlan plan = PlanRecovery(names, self, [&](const TRecoveryId& id) {
        asked.push_back(id);
        return id.Pid != 13;
    });
    EXPECT_EQ(asked.size(), 5u); // once per id, never ours
    EXPECT_EQ(plan.Offer, (std::vector<TRecoveryId>{{12, 300}, {11, 100}, {10, 1}}));
    EXPECT_EQ(plan.Clutter, (std::vector<TRecoveryId>{{14, 200}}));
}

TEST(RecoveryFiles, TheFolderFollowsTheBaseDirectoryRules) {
    EXPECT_EQ(RecoveryFolder("/x/state", "/home/a"), "/x/state/folioscriptor");
    EXPECT_EQ(RecoveryFolder(nullptr, "/home/a"), "/home/a/.local/state/folioscriptor");
    EXPECT_EQ(RecoveryFolder("relative", "/home/a"), "/home/a/.local/state/folioscriptor");
    EXPECT_EQ(RecoveryFolder("", nullptr), "");
}

TEST(RecoveryStore, ARunningEditorsCopyIsNeverTakenAndAnEndedOnesIsOfferedOnce) {
    TTempDir dir("recovery");
    const std::string folder = dir.File("state/folioscriptor"); // made with its parents
    auto first = std::make_unique<TRecoveryStore>(folder, TRecoveryId{::getpid(), 1});
    ASSERT_TRUE(first->Ok()) << first->Error();
    ASSERT_TRUE(first->Write(kPage, "/docs/notice.PST"));
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadWholeFile(first->PathOf(TRecoveryPart::Copy)), kPage);
    for (const TRecoveryPart part : {TRecoveryPart::Copy, TRecoveryPart::Info})
        EXPECT_EQ(std::filesystem::status(first->PathOf(part)).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // Another editor (here in the same process: its lock is a file description of its own).
    TRecoveryStore second(folder, TRecoveryId{::getpid(), 2});
    ASSERT_TRUE(second.Ok());
    EXPECT_TRUE(second.ClaimOrphans().empty());

    // The first one goes without a clean close: its copy stays and is offered, to one only.
    first.reset();
    auto claims = second.ClaimOrphans();
    ASSERT_EQ(claims.size(), 1u);
    EXPECT_EQ(claims[0]->Id(), (TRecoveryId{::getpid(), 1}));
    EXPECT_EQ(claims[0]->DocumentPath(), "/docs/notice.PST");
    EXPECT_EQ(ReadWholeFile(claims[0]->CopyPath()), kPage);
    EXPECT_GT(claims[0]->WrittenAt(), 1700000000);
    TRecoveryStore third(folder, TRecoveryId{::getpid(), 3});
    EXPECT_TRUE(third.ClaimOrphans().empty());

    // Let go without an answer, it waits for a later start; discarded, it is gone.
    claims.clear();
    claims = third.ClaimOrphans();
    ASSERT_EQ(claims.size(), 1u);
    claims[0]->Discard();
    EXPECT_EQ(NamesIn(folder),
              (std::set<std::string>{"page-" + std::to_string(::getpid()) + "-2.lock",
                                     "page-" + std::to_string(::getpid()) + "-3.lock"}));
}

TEST(RecoveryStore, ACleanEndLeavesNothingAndEndedOwnersWithoutACopyAreSweptAway) {
    TTempDir dir("recovery");
    const std::string folder = dir.File("f");
    {
        TRecoveryStore store(folder, {::getpid(), 1});
        ASSERT_TRUE(store.Write(kPage, ""));
        ASSERT_TRUE(store.Remove());
        EXPECT_FALSE(store.HasCopy());
    }
    EXPECT_TRUE(NamesIn(folder).empty());

    // A killed editor that had no copy left its lock and a half-written file, one killed
    // before its first write an empty copy; one without a
    // lock file left a copy; one with no lock file whose process id runs is left alone.
    const TRecoveryId killed = Ended(5), lockless = Ended(6), running{::getppid(), 7},
                      early = Ended(8);
    dir.Write("f/" + RecoveryFileName(killed, TRecoveryPart::Lock), {});
    dir.Write("f/." + RecoveryFileName(killed, TRecoveryPart::Copy) + ".Ab12Cd", kPage);
    dir.Write("f/" + RecoveryFileName(lockless, TRecoveryPart::Copy), kPage);
    dir.Write("f/" + RecoveryFileName(running, TRecoveryPart::Copy), kPage);
    dir.Write("f/" + RecoveryFileName(early, TRecoveryPart::Copy), {});
    TRecoveryStore store(folder, {::getpid(), 2});
    auto claims = store.ClaimOrphans();
    ASSERT_EQ(claims.size(), 1u);
    EXPECT_EQ(claims[0]->Id(), lockless);
    EXPECT_EQ(claims[0]->DocumentPath(), "");
    claims[0]->Discard();
    EXPECT_EQ(NamesIn(folder),
              (std::set<std::string>{RecoveryFileName(running, TRecoveryPart::Copy),
                                     RecoveryFileName(store.Self(), TRecoveryPart::Lock)}));
}

TEST(RecoveryStore, AnUnusableFolderIsReportedAndKeepsNothing) {
    TTempDir dir("recovery");
    dir.Write("file", kPage);
    TRecoveryStore store(dir.File("file/sub"), {::getpid(), 1});
    EXPECT_FALSE(store.Ok());
    EXPECT_NE(store.Error().find("cannot create"), std::string::npos) << store.Error();
    EXPECT_FALSE(store.Write(kPage, ""));
    EXPECT_TRUE(store.ClaimOrphans().empty());
    EXPECT_FALSE(TRecoveryStore("", {1, 1}).Ok());
}
