#include "tools/bot/brain/Forecast.h"

#include <gtest/gtest.h>
#include <vector>

namespace bot {
namespace {

using desk::kOpenTable;
using desk::kSolids;
using desk::kStripes;

// A shot as a shooter's desk would report it: the shot record and the final
// statuses (what was down before stays down, `potted` went down now).
struct Shot {
    std::vector<int> potted{};
    int firstTouch = -1;
    bool touchOther = false;
    bool otherGone = false;
    bool whiteGone = false;
    int cushions = 0;

    desk::ShotOutcome outcome(const desk::BallStatuses& before) const {
        desk::ShotOutcome o;
        for (std::size_t i = 0; i < before.size(); ++i)
            o.balls[i].m_nStatus =
                before[i] == desk::kOnTable ? desk::kOnTable : desk::kPocketedEarlier;
        for (int b : potted)
            o.balls[static_cast<std::size_t>(b)].m_nStatus = desk::kPocketedThisShot;
        if (whiteGone)
            o.balls[desk::kCueBall].m_nStatus = desk::kPocketedThisShot;
        JudgeRecord& j = o.judge;
        j.m_bIsTouch_Nothing = firstTouch < 0 ? 1 : 0;
        j.m_nFirst_Touch = static_cast<int16_t>(firstTouch);
        j.m_bIsTouch_Other = touchOther ? 1 : 0;
        j.m_bOtherGone = otherGone ? 1 : 0;
        j.m_bWhiteGone = whiteGone ? 1 : 0;
        j.m_nNum_TouchDesk = static_cast<int16_t>(cushions);
        j.m_bIsTouch_No_Desk = cushions == 0 ? 1 : 0;
        j.m_nFirst_Gone = -1;
        for (int b : potted) {
            j.m_bGone[b] = 1;
            if (j.m_nFirst_Gone < 0)
                j.m_nFirst_Gone = static_cast<int16_t>(b);
        }
        return o;
    }
};

desk::BallStatuses allOnTable() {
    desk::BallStatuses s{};
    s.fill(desk::kOnTable);
    return s;
}

desk::BallStatuses solidsCleared() {
    desk::BallStatuses s = allOnTable();
    for (int i = 0; i <= 6; ++i)
        s[static_cast<std::size_t>(i)] = desk::kPocketedEarlier;
    return s;
}

struct Case {
    const char* name;
    desk::BallStatuses before;
    int group;
    Shot shot;
    bool foul, wins, loses, keepsTurn;
    int ownPotted;
    int groupAfter;
    int chances = 1;
};

class ShotsInPlay : public ::testing::TestWithParam<Case> {};

TEST_P(ShotsInPlay, ReadAsTheRefereeReadsThem) {
    const Case c = GetParam();
    const Forecast f = forecastShot(c.before, c.group, false, c.shot.outcome(c.before), c.chances);
    EXPECT_EQ(f.foul, c.foul);
    EXPECT_EQ(f.wins, c.wins);
    EXPECT_EQ(f.loses, c.loses);
    EXPECT_EQ(f.keepsTurn, c.keepsTurn);
    EXPECT_EQ(f.ownPotted, c.ownPotted);
    EXPECT_EQ(f.groupAfter, c.groupAfter);
    EXPECT_FALSE(f.rerack);
    if (!c.keepsTurn) {
        EXPECT_EQ(f.chancesAfter, 0);
    } else if (c.ownPotted == 0) {
        EXPECT_EQ(f.chancesAfter, c.chances - 1) << "a miss uses up a chance";
    }
}

const desk::BallStatuses kAll = allOnTable();
const desk::BallStatuses kSolidsDone = solidsCleared();

INSTANTIATE_TEST_SUITE_P(Cases, ShotsInPlay,
                         ::testing::Values(Case{"OwnPot",
                                                kAll,
                                                kSolids,
                                                {{3}, 3, false, false, false, 1},
                                                false,
                                                false,
                                                false,
                                                true,
                                                1,
                                                kSolids},
                                           Case{"TwoOwnPots",
                                                kAll,
                                                kSolids,
                                                {{3, 5}, 3, false, false, false, 0},
                                                false,
                                                false,
                                                false,
                                                true,
                                                2,
                                                kSolids},
                                           Case{"SafetyToACushion",
                                                kAll,
                                                kSolids,
                                                {{}, 3, false, false, false, 1},
                                                false,
                                                false,
                                                false,
                                                false,
                                                0,
                                                kSolids},
                                           Case{"NoCushionNoPot",
                                                kAll,
                                                kSolids,
                                                {{}, 3, false, false, false, 0},
                                                true,
                                                false,
                                                false,
                                                false,
                                                0,
                                                kSolids},
                                           Case{"TouchedNothing",
                                                kAll,
                                                kSolids,
                                                {{}, -1, false, false, false, 0},
                                                true,
                                                false,
                                                false,
                                                false,
                                                0,
                                                kSolids},
                                           Case{"WrongBallFirst",
                                                kAll,
                                                kSolids,
                                                {{3}, 9, true, false, false, 1},
                                                true,
                                                false,
                                                false,
                                                false,
                                                1,
                                                kSolids},
                                           Case{"OpponentBallDown",
                                                kAll,
                                                kSolids,
                                                {{3, 9}, 3, false, true, false, 1},
                                                true,
                                                false,
                                                false,
                                                false,
                                                1,
                                                kSolids},
                                           Case{"CueBallDown",
                                                kAll,
                                                kSolids,
                                                {{3}, 3, false, false, true, 1},
                                                true,
                                                false,
                                                false,
                                                false,
                                                1,
                                                kSolids},
                                           Case{"OpenTableLowestPotSetsGroup",
                                                kAll,
                                                kOpenTable,
                                                {{10, 4}, 10, false, false, false, 1},
                                                false,
                                                false,
                                                false,
                                                true,
                                                1,
                                                kSolids},
                                           Case{"OpenTableBlackFirstIsNoFoul",
                                                kAll,
                                                kOpenTable,
                                                {{}, 7, false, false, false, 2},
                                                false,
                                                false,
                                                false,
                                                false,
                                                0,
                                                kOpenTable},
                                           Case{"MissWithASpareChance",
                                                kAll,
                                                kSolids,
                                                {{}, 3, false, false, false, 1},
                                                false,
                                                false,
                                                false,
                                                true,
                                                0,
                                                kSolids,
                                                2},
                                           Case{"FoulWithASpareChance",
                                                kAll,
                                                kSolids,
                                                {{}, 3, false, false, false, 0},
                                                true,
                                                false,
                                                false,
                                                false,
                                                0,
                                                kSolids,
                                                2},
                                           Case{"OpenTableFoulSetsNoGroup",
                                                kAll,
                                                kOpenTable,
                                                {{9}, 9, false, false, true, 1},
                                                true,
                                                false,
                                                false,
                                                false,
                                                1,
                                                kOpenTable},
                                           Case{"BlackBeforeGroupCleared",
                                                kAll,
                                                kSolids,
                                                {{7}, 7, true, false, false, 1},
                                                true,
                                                false,
                                                true,
                                                false,
                                                0,
                                                kSolids},
                                           Case{"BlackWithOwnLastBall",
                                                kAll,
                                                kSolids,
                                                {{6, 7}, 6, false, false, false, 1},
                                                false,
                                                false,
                                                true,
                                                false,
                                                1,
                                                kSolids},
                                           Case{"BlackLegally",
                                                kSolidsDone,
                                                kSolids,
                                                {{7}, 7, false, false, false, 1},
                                                false,
                                                true,
                                                false,
                                                false,
                                                0,
                                                kSolids},
                                           Case{"BlackWithTheCueBall",
                                                kSolidsDone,
                                                kSolids,
                                                {{7}, 7, false, false, true, 1},
                                                true,
                                                false,
                                                true,
                                                false,
                                                0,
                                                kSolids},
                                           Case{"BlackOnOpenTable",
                                                kAll,
                                                kOpenTable,
                                                {{7}, 3, false, false, false, 1},
                                                false,
                                                false,
                                                true,
                                                false,
                                                0,
                                                kOpenTable}),
                         [](const auto& info) { return info.param.name; });

struct BreakCase {
    const char* name;
    Shot shot;
    bool foul, rerack, keepsTurn;
    int groupAfter;
};

class Breaks : public ::testing::TestWithParam<BreakCase> {};

TEST_P(Breaks, AreLegalWithAPotOrFourCushions) {
    const BreakCase c = GetParam();
    const Forecast f = forecastShot(allOnTable(), kOpenTable, true, c.shot.outcome(allOnTable()));
    EXPECT_EQ(f.foul, c.foul);
    EXPECT_EQ(f.rerack, c.rerack);
    EXPECT_EQ(f.keepsTurn, c.keepsTurn);
    EXPECT_EQ(f.groupAfter, c.groupAfter);
    EXPECT_FALSE(f.wins);
    EXPECT_FALSE(f.loses);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Breaks,
    ::testing::Values(
        BreakCase{"PotTakesFirstGoneGroup",
                  {{12, 2}, 0, false, false, false, 1},
                  false,
                  false,
                  true,
                  kStripes},
        BreakCase{"FourCushions", {{}, 0, false, false, false, 4}, false, false, false, kOpenTable},
        BreakCase{"ThreeCushions", {{}, 0, false, false, false, 3}, true, false, false, kOpenTable},
        BreakCase{"CueBallDown", {{2}, 0, false, false, true, 6}, true, false, false, kOpenTable},
        BreakCase{"BlackDown", {{7}, 0, false, false, false, 6}, false, true, false, kOpenTable}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace bot
