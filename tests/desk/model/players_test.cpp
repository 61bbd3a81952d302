#include "desk/model/Players.h"

#include <gtest/gtest.h>
#include <string>

namespace desk {
namespace {

TEST(Players, PersonInfoFillsTheEntryOfLocZeroOrOne) {
    CPlayers p;
    const PersonInfo info{"\xd5\xc5\xc8\xfd", 12, 3}; // GBK bytes stay as they are
    p.setPersonInfo(1, &info);
    EXPECT_EQ(p.entry(1).m_sName, "\xd5\xc5\xc8\xfd");
    EXPECT_EQ(p.entry(1).m_nScore, 12);
    EXPECT_EQ(p.entry(1).m_nChances, 3);
    EXPECT_EQ(p.entry(0).m_sName, "");
}

TEST(Players, NegativeValuesKeepTheCurrentOnes) {
    CPlayers p;
    const PersonInfo first{"a", 5, 2};
    p.setPersonInfo(0, &first);
    const PersonInfo second{"b", -1, -7};
    p.setPersonInfo(0, &second);
    EXPECT_EQ(p.entry(0).m_sName, "b");
    EXPECT_EQ(p.entry(0).m_nScore, 5);
    EXPECT_EQ(p.entry(0).m_nChances, 2);
}

TEST(Players, OtherLocsAndMissingRecordsChangeNothing) {
    CPlayers p;
    const PersonInfo info{"x", 9, 9};
    for (int loc : {-1, 2, 100})
        p.setPersonInfo(loc, &info);
    p.setPersonInfo(0, nullptr);
    const PersonInfo noName{nullptr, 4, 1};
    p.setPersonInfo(1, &noName);
    EXPECT_EQ(p.entry(0).m_nScore, 0);
    EXPECT_EQ(p.entry(1).m_nScore, 4);
    EXPECT_EQ(p.entry(1).m_sName, "");
    p.setScore(2, 5);
    p.setChances(-1, 5);
    p.setReady(3, true);
    EXPECT_EQ(p.entry(0).m_nChances, 0);
    EXPECT_EQ(p.entry(1).m_nChances, 1);
}

TEST(Players, ScoresAreSixteenBit) {
    CPlayers p;
    p.setScore(0, 70000);
    EXPECT_EQ(p.entry(0).m_nScore, 4464);
}

TEST(Players, TurnChancesGoToThePlayerToMoveOnly) {
    CPlayers p;
    p.setChances(0, 3);
    p.giveTurnChances(1, 2);
    EXPECT_EQ(p.entry(1).m_nChances, 2);
    EXPECT_EQ(p.entry(0).m_nChances, 0);
}

TEST(Players, TurnLocIsZeroOneOrNone) {
    CPlayers p;
    EXPECT_EQ(p.turnLoc(), kNoTurn);
    p.setTurnLoc(1);
    EXPECT_EQ(p.turnLoc(), 1);
    p.setTurnLoc(5);
    EXPECT_EQ(p.turnLoc(), kNoTurn);
}

TEST(Players, ReadyMarks) {
    CPlayers p;
    p.setReady(0, true);
    p.setReady(1, true);
    EXPECT_EQ(p.entry(0).m_nReady, 1);
    p.clearReady();
    EXPECT_EQ(p.entry(0).m_nReady, 0);
    EXPECT_EQ(p.entry(1).m_nReady, 0);
}

TEST(Players, UnterminatedNamesAreCut) {
    CPlayers p;
    const std::string longName(1000, 'n');
    const PersonInfo info{longName.c_str(), 0, 0};
    p.setPersonInfo(0, &info);
    EXPECT_EQ(p.entry(0).m_sName.size(), 256u);
}

} // namespace
} // namespace desk
