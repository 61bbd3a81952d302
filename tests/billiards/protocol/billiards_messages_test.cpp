#include "billiards/protocol/BilliardsMessages.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

using namespace protocol;
using namespace protocol::testing;

namespace {

SphereArray numberedBalls() {
    SphereArray a{};
    for (int i = 0; i < 16; ++i) {
        a[std::size_t(i)].index = int16_t(i);
        a[std::size_t(i)].m_nX = 0x01000000 + i;
        a[std::size_t(i)].m_nStatus = int16_t(i % 3);
        a[std::size_t(i)].rotation[11] = -i;
    }
    return a;
}

// Ball k of an array starting at `at` on the wire.
void expectBall(std::span<const uint8_t> body, std::size_t at, int k) {
    const std::size_t b = at + std::size_t(k) * 68;
    EXPECT_EQ(i16At(body, b), k);
    EXPECT_EQ(u16At(body, b + 2), 0);
    EXPECT_EQ(i32At(body, b + 4), 0x01000000 + k);
    EXPECT_EQ(i16At(body, b + 16), k % 3);
    EXPECT_EQ(i32At(body, b + 20 + 44), -k);
}

TEST(BilliardsMessages, BreakResultLayout) {
    CCrash_End_InStart_Server m;
    m.m_Sphere = numberedBalls();
    m.m_nSeatNo = 1;
    m.gan_num = -3;
    m.m_nSeatNo_Mono = 0;
    m.m_nSeatNo_Hua = 1;
    m.m_nStatus = 5;
    m.iserror = 1;
    const auto body = m.Build();
    ASSERT_EQ(body.size(), 1100u);
    for (int k : {0, 7, 15})
        expectBall(body, 0, k);
    EXPECT_EQ(u16At(body, 1088), 1);
    EXPECT_EQ(i16At(body, 1090), -3);
    EXPECT_EQ(u16At(body, 1092), 0);
    EXPECT_EQ(u16At(body, 1094), 1);
    EXPECT_EQ(i16At(body, 1096), 5);
    EXPECT_EQ(i16At(body, 1098), 1);

    CCrash_End_InStart_Server back;
    ASSERT_TRUE(back.Parse(body));
    EXPECT_EQ(back.Build(), body);
}

TEST(BilliardsMessages, ShotBeginLayoutAndClientStatus) {
    CCrash_Begin_InPlay m;
    m.m_nSeatNo = 1;
    m.arc = -1570796;
    m.speed = 4500000;
    m.x = 1;
    m.y = -2;
    m.z = 3;
    const auto body = m.Build();
    ASSERT_EQ(body.size(), 28u);
    EXPECT_EQ(u16At(body, 0), 1);
    EXPECT_EQ(i32At(body, 4), -1570796);
    EXPECT_EQ(i32At(body, 8), 4500000);
    EXPECT_EQ(i32At(body, 12), 1);
    EXPECT_EQ(i32At(body, 16), -2);
    EXPECT_EQ(i32At(body, 20), 3);
    EXPECT_EQ(i16At(body, 24), -1); // the client never sets the state
    EXPECT_EQ(u16At(body, 26), 0);
}

TEST(BilliardsMessages, ScoreListPairsPerSeat) {
    std::vector<uint8_t> body(44, 0);
    putBE(body, 0, 1, 2);
    for (int i = 0; i < 10; ++i)
        putBE(body, 4 + 4 * std::size_t(i), uint32_t(100 + i), 4);
    CScore_List_Server m;
    ASSERT_TRUE(m.Parse(body));
    EXPECT_EQ(m.m_nWinner, 1);
    EXPECT_EQ(m.m_nScore[0], 100);
    EXPECT_EQ(m.m_nScore[1], 101);
    EXPECT_EQ(m.m_nTotalScore[1], 103);
    EXPECT_EQ(m.m_nWin[0], 104);
    EXPECT_EQ(m.m_nLose[1], 107);
    EXPECT_EQ(m.m_nEqual[0], 108);
    EXPECT_EQ(m.m_nEqual[1], 109);
}

TEST(BilliardsMessages, RecoverySnapshotTails) {
    CRecover_Crash_OnPlay m;
    m.m_nScore[0] = 7;
    m.m_nScore[1] = -7;
    m.m_Sphere = numberedBalls();
    m.m_nNext = 1;
    m.arc = 11;
    m.z = 55;
    m.m_nSeatNo_Mono = 1;
    m.m_nSeatNo_Hua = 0;
    const auto body = m.Build();
    ASSERT_EQ(body.size(), 1124u);
    EXPECT_EQ(i16At(body, 2), 7);
    EXPECT_EQ(i16At(body, 4), -7);
    expectBall(body, 8, 15);
    EXPECT_EQ(u16At(body, 1096), 1);
    EXPECT_EQ(i32At(body, 1100), 11);
    EXPECT_EQ(i32At(body, 1116), 55);
    EXPECT_EQ(u16At(body, 1120), 1);
    EXPECT_EQ(u16At(body, 1122), 0);

    CRecover_Moving mv;
    mv.m_nNext = 1;
    mv.m_nSeatNo_Mono = 0x0102;
    mv.m_nSeatNo_Hua = 0x0304;
    const auto b2 = mv.Build();
    ASSERT_EQ(b2.size(), 1104u);
    EXPECT_EQ(u16At(b2, 1096), 1);
    EXPECT_EQ(u16At(b2, 1098), 0x0102);
    EXPECT_EQ(u16At(b2, 1100), 0x0304);

    CRecover_Turn_OnPlay tp;
    tp.num = 2;
    tp.m_nSeatNo_Mono = 9;
    tp.m_nSeatNo_Hua = 8;
    const auto b3 = tp.Build();
    EXPECT_EQ(i16At(b3, 1098), 2);
    EXPECT_EQ(u16At(b3, 1104), 9);
    EXPECT_EQ(u16At(b3, 1106), 8);
}

TEST(BilliardsMessages, PassTheTurnLayouts) {
    std::vector<uint8_t> body(12, 0);
    putBE(body, 0, 1, 2);
    putBE(body, 4, 0xFFFFFFFF, 4);
    putBE(body, 8, 0, 2);
    putBE(body, 10, 3, 2);
    CGuo_InPlay_Server m;
    ASSERT_TRUE(m.Parse(body));
    EXPECT_EQ(m.m_nSeatNo, 1);
    EXPECT_EQ(m.m_nSeatNo_Next, 0);
    EXPECT_EQ(m.num, 3);

    CGuo_InMoving_Server mv;
    ASSERT_TRUE(mv.Parse(std::vector<uint8_t>{0, 1, 0, 0, 0xFF, 0xFE}));
    EXPECT_EQ(mv.m_nSeatNo, 1);
    EXPECT_EQ(mv.m_nSeatNo_Next, 0);
    EXPECT_EQ(mv.num, -2);
}

TEST(BilliardsMessages, ShortBodiesAreRefusedLongerOnesRead) {
    CCrash_End_InPlay_Server m;
    EXPECT_FALSE(m.Parse(std::vector<uint8_t>(1095, 0)));
    EXPECT_TRUE(m.Parse(std::vector<uint8_t>(1200, 0)));
    CAgree_Start a;
    EXPECT_FALSE(a.Parse(std::vector<uint8_t>{0, 1, 0}));
    ASSERT_TRUE(a.Parse(std::vector<uint8_t>{0, 1, 0, 99}));
    EXPECT_EQ(a.m_nVersion, kWrongVersion);
    EXPECT_EQ(CAgree_Start{}.Build(), (std::vector<uint8_t>{0, 0, 0, 18}));
}

TEST(BilliardsMessages, DeskArraysAreCopiedUpToTheirCount) {
    const SphereArray balls = numberedBalls();
    const struct {
        int num;
        int copied;
    } cases[] = {{16, 16}, {3, 3}, {0, 0}, {-5, 0}, {40, 16}};
    for (const auto& c : cases) {
        const auto a = SpheresFromDesk(c.num, balls.data());
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(a[std::size_t(i)].m_nX, i < c.copied ? 0x01000000 + i : 0) << c.num;
    }
    EXPECT_EQ(SpheresFromDesk(16, nullptr)[5].m_nX, 0);
}

TEST(BilliardsMessages, BreakOutcomeTakesTheJudgeEntriesTwentyAndTwentyOne) {
    JudgeRecord jg{};
    jg.m_nFirst_Gone = 4;
    jg.m_nNum_TouchDesk = 6;
    jg.m_nFirst_Touch = 9; // not sent
    const SphereArray balls = numberedBalls();
    const auto body = CCrash_End_InStart::FromDesk(1, 16, balls.data(), jg).Build();
    ASSERT_EQ(body.size(), 1096u);
    EXPECT_EQ(u16At(body, 0), 1);
    expectBall(body, 4, 15);
    EXPECT_EQ(i16At(body, 1092), 4);
    EXPECT_EQ(i16At(body, 1094), 6);
}

} // namespace
