#include "desk/rules/ShotJudge.h"

#include <gtest/gtest.h>

namespace desk {
namespace {

BallStatuses onTable() {
    BallStatuses s{};
    s.fill(kOnTable);
    return s;
}

std::array<bool, kBallCount> noCushions() {
    return {};
}

TEST(ShotJudge, StartValues) {
    CShotJudge j;
    j.pocketed(3);
    j.cueTouched(5, kSolids, onTable());
    j.reset();
    const JudgeRecord& r = j.record();
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(r.m_bGone[i], 0);
    EXPECT_EQ(r.m_bWhiteGone, 0);
    EXPECT_EQ(r.m_bOtherGone, 0);
    EXPECT_EQ(r.m_bIsTouch_Nothing, 1);
    EXPECT_EQ(r.m_bIsTouch_Other, 0);
    EXPECT_EQ(r.m_bIsTouch_No_Desk, 0);
    EXPECT_EQ(r.m_nFirst_Gone, -1);
    EXPECT_EQ(r.m_nNum_TouchDesk, 0);
    EXPECT_EQ(r.m_nFirst_Touch, -1);
}

TEST(ShotJudge, FirstContactDecidesIllegalTouchByGroup) {
    BallStatuses oneSolidLeft = onTable();
    for (int i = 0; i <= 5; ++i)
        oneSolidLeft[static_cast<std::size_t>(i)] = kPocketedEarlier;
    BallStatuses noSolidLeft = oneSolidLeft;
    noSolidLeft[6] = kPocketedThisShot;

    struct Case {
        int group;
        int first;
        const BallStatuses* statuses;
        int16_t other;
    };
    const BallStatuses all = onTable();
    const Case cases[] = {
        {kOpenTable, 7, &all, 0},       {kOpenTable, 12, &all, 0},
        {kSolids, 3, &all, 0},          {kSolids, 8, &all, 1},
        {kSolids, 7, &oneSolidLeft, 1}, {kSolids, 7, &noSolidLeft, 0},
        {kStripes, 2, &all, 1},         {kStripes, 14, &all, 0},
        {kStripes, 7, &all, 1},         {kStripes, 7, &noSolidLeft, 1},
    };
    for (const auto& c : cases) {
        CShotJudge j;
        j.cueTouched(c.first, c.group, *c.statuses);
        EXPECT_EQ(j.record().m_nFirst_Touch, c.first);
        EXPECT_EQ(j.record().m_bIsTouch_Nothing, 0);
        EXPECT_EQ(j.record().m_bIsTouch_Other, c.other)
            << "group " << c.group << " first " << c.first;
    }
}

TEST(ShotJudge, OnlyTheFirstContactCounts) {
    CShotJudge j;
    j.cueTouched(2, kSolids, onTable());
    j.cueTouched(9, kSolids, onTable());
    EXPECT_EQ(j.record().m_nFirst_Touch, 2);
    EXPECT_EQ(j.record().m_bIsTouch_Other, 0);
}

TEST(ShotJudge, ShotThatTouchesNothing) {
    CShotJudge j;
    BallStatuses s = onTable();
    j.complete(kSolids, noCushions(), s);
    EXPECT_EQ(j.record().m_bIsTouch_Nothing, 1);
    EXPECT_EQ(j.record().m_nFirst_Touch, -1);
    EXPECT_EQ(j.record().m_bIsTouch_Other, 0);
    EXPECT_EQ(j.record().m_bIsTouch_No_Desk, 1);
}

TEST(ShotJudge, PocketedBallsBecomeStatusTwoAndTheFirstOneIsKept) {
    CShotJudge j;
    BallStatuses s = onTable();
    j.pocketed(kCueBall);
    j.pocketed(4);
    j.pocketed(2);
    j.complete(kOpenTable, noCushions(), s);
    const JudgeRecord& r = j.record();
    EXPECT_EQ(r.m_bWhiteGone, 1);
    EXPECT_EQ(r.m_bGone[4], 1);
    EXPECT_EQ(r.m_bGone[2], 1);
    EXPECT_EQ(r.m_nFirst_Gone, 4);
    EXPECT_EQ(s[4], kPocketedThisShot);
    EXPECT_EQ(s[2], kPocketedThisShot);
    EXPECT_EQ(s[kCueBall], kPocketedThisShot);
    EXPECT_EQ(s[3], kOnTable);
}

TEST(ShotJudge, OpponentBallsPocketed) {
    struct Case {
        int group;
        int ball;
        int16_t otherGone;
    };
    const Case cases[] = {
        {kSolids, 9, 1},    {kSolids, 3, 0},    {kStripes, 0, 1},
        {kStripes, 13, 0},  {kSolids, 7, 0},    {kStripes, 7, 0},
        {kOpenTable, 9, 0}, {kOpenTable, 1, 0}, {kSolids, 15, 0},
    };
    for (const auto& c : cases) {
        CShotJudge j;
        BallStatuses s = onTable();
        j.pocketed(c.ball);
        j.complete(c.group, noCushions(), s);
        EXPECT_EQ(j.record().m_bOtherGone, c.otherGone)
            << "group " << c.group << " ball " << c.ball;
        EXPECT_EQ(s[static_cast<std::size_t>(c.ball)], kPocketedThisShot);
    }
}

TEST(ShotJudge, CushionCountLeavesTheCueBallOut) {
    CShotJudge onlyCue;
    BallStatuses s = onTable();
    std::array<bool, kBallCount> cushions{};
    cushions[kCueBall] = true;
    onlyCue.complete(kSolids, cushions, s);
    EXPECT_EQ(onlyCue.record().m_nNum_TouchDesk, 0);
    EXPECT_EQ(onlyCue.record().m_bIsTouch_No_Desk, 1);

    CShotJudge three;
    cushions[1] = cushions[7] = cushions[14] = true;
    three.complete(kSolids, cushions, s);
    EXPECT_EQ(three.record().m_nNum_TouchDesk, 3);
    EXPECT_EQ(three.record().m_bIsTouch_No_Desk, 0);
}

TEST(ShotJudge, OutOfRangeBallsAreIgnored) {
    CShotJudge j;
    j.pocketed(-1);
    j.pocketed(16);
    j.cueTouched(99, kSolids, onTable());
    EXPECT_EQ(j.record().m_nFirst_Gone, -1);
    EXPECT_EQ(j.record().m_nFirst_Touch, -1);
    EXPECT_EQ(j.record().m_bIsTouch_Nothing, 1);
}

} // namespace
} // namespace desk
