#include <gtest/gtest.h>

#include "platform/RecoverySchedule.h"

using TAction = TRecoverySchedule::TAction;

TEST(RecoverySchedule, AChangeIsCopiedOnceItIsAnIntervalOldOrEnoughStepsGathered) {
    TRecoverySchedule s({1000, 3});
    EXPECT_EQ(s.Due(false, 0), TAction::None);
    EXPECT_EQ(s.WaitFrom(0), std::nullopt);

    s.Stepped(100);
    EXPECT_EQ(s.Due(true, 100), TAction::None);
    EXPECT_EQ(s.WaitFrom(600), 500);
    // Later steps do not push the write back: the oldest change sets the time.
    s.Stepped(900);
    EXPECT_EQ(s.Due(true, 1099), TAction::None);
    EXPECT_EQ(s.Due(true, 1100), TAction::Write);
    EXPECT_EQ(s.WaitFrom(5000), 0);
    s.Written();
    EXPECT_EQ(s.Due(true, 5000), TAction::None);
    EXPECT_TRUE(s.HasCopy());

    // Three quick steps need no waiting.
    s.Stepped(6000);
    s.Stepped(6001);
    EXPECT_EQ(s.Due(true, 6002), TAction::None);
    s.Stepped(6002);
    EXPECT_EQ(s.Due(true, 6002), TAction::Write);
    EXPECT_EQ(s.WaitFrom(6002), 0);
}

TEST(RecoverySchedule, ACleanPageDropsItsCopyAndAFailedWriteWaitsAWholeInterval) {
    TRecoverySchedule s({1000, 2});
    s.Stepped(0);
    s.Stepped(1);
    ASSERT_EQ(s.Due(true, 1), TAction::Write);
    s.Written();
    s.Stepped(10);
    // Undone back to the saved page, or saved: the copy goes, nothing waits.
    EXPECT_EQ(s.Due(false, 20), TAction::Remove);
    s.Removed();
    EXPECT_EQ(s.Due(false, 20), TAction::None);
    EXPECT_FALSE(s.HasPendingChanges());
    EXPECT_EQ(s.Due(true, 5000), TAction::None);

    // A full disk is not hammered on every step.
    s.Stepped(6000);
    s.Stepped(6001);
    ASSERT_EQ(s.Due(true, 6001), TAction::Write);
    s.WriteFailed(6001);
    s.Stepped(6002);
    s.Stepped(6003);
    EXPECT_EQ(s.Due(true, 6500), TAction::None);
    EXPECT_EQ(s.WaitFrom(6500), 501);
    EXPECT_EQ(s.Due(true, 7001), TAction::Write);
    EXPECT_FALSE(s.HasCopy());
}

TEST(RecoverySchedule, ASlowCopySpacesTheNextSoCopiesTakeAtMostATwentiethOfTheTime) {
    TRecoverySchedule s({30000, 20});
    for (int i = 0; i < 20; ++i) s.Stepped(0);
    ASSERT_EQ(s.Due(true, 0), TAction::Write);
    s.Written(2000, 2000); // two seconds to write a page of photos
    for (int i = 0; i < 20; ++i) s.Stepped(3000);
    EXPECT_EQ(s.Due(true, 3000), TAction::None);
    EXPECT_EQ(s.WaitFrom(3000), 2000 + 19 * 2000 - 3000);
    EXPECT_EQ(s.Due(true, 2000 + 19 * 2000), TAction::Write);
    // A quick write lets the steps count at once again.
    s.Written(40000, 0);
    for (int i = 0; i < 20; ++i) s.Stepped(40001);
    EXPECT_EQ(s.Due(true, 40001), TAction::Write);
}
