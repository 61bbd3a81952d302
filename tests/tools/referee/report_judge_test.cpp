#include "tools/referee/ReportJudge.h"

#include "desk/model/StandardRack.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace referee {
namespace {

bool same(const desk::SphereRecords& a, const desk::SphereRecords& b) {
    return std::memcmp(a.data(), b.data(), sizeof(SphereRecord) * a.size()) == 0;
}

TEST(ReportJudge, WhatAVerdictRestsOn) {
    const CTablePosition rack = CTablePosition::Rack(desk::standardRack(8));
    const desk::Strike strike{-20000, 2000, 0};
    desk::CShotEngine engine;
    const desk::ShotOutcome truth = ReplayShot(engine, rack, desk::kOpenTable, strike);
    ASSERT_GT(truth.judge.m_nNum_TouchDesk, 0);
    int stayed = 0; // an object ball the break left on the table
    while (truth.balls[static_cast<std::size_t>(stayed)].m_nStatus != desk::kOnTable)
        ++stayed;

    struct Case {
        std::string name;
        std::function<void(ReportedShot&)> change;
        bool identical;
        bool replaced;
    };
    const std::vector<Case> cases = {
        {"the honest report", [](ReportedShot&) {}, true, false},
        {"a ball a hair away from the replay stands",
         [](ReportedShot& r) { r.balls[12].m_nX += 3; }, false, false},
        {"a cushion count off by one stands", [](ReportedShot& r) { ++r.cushionBalls; }, false,
         false},
        {"a ball back from the tray is refused",
         [](ReportedShot& r) { r.balls[3].m_nStatus = desk::kPocketedEarlier; }, false, true},
        {"a first pocketed ball that stayed on the table is refused",
         [&](ReportedShot& r) { r.firstPocketed = stayed; }, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportedShot report;
        report.isBreak = true;
        report.balls = truth.balls;
        report.firstPocketed = truth.judge.m_nFirst_Gone;
        report.cushionBalls = truth.judge.m_nNum_TouchDesk;
        c.change(report);
        const JudgedReport j = JudgeReport(engine, rack, desk::kOpenTable, strike, report);
        EXPECT_EQ(j.identical, c.identical);
        EXPECT_EQ(j.replaced(), c.replaced);
        EXPECT_TRUE(same(j.balls, c.replaced ? truth.balls : report.balls));
        EXPECT_EQ(j.facts.cushionBalls,
                  c.replaced ? truth.judge.m_nNum_TouchDesk : report.cushionBalls);
    }
}

TEST(ReportJudge, ShotValuesFollowTheReportOrTheReplay) {
    desk::CShotEngine engine;
    const CTablePosition rack = CTablePosition::Rack(desk::standardRack(8));
    const desk::ShotOutcome broken = ReplayShot(engine, rack, desk::kOpenTable, {0, 1800, 0});
    const CTablePosition after = CTablePosition::AfterShot(broken.balls);
    const desk::Strike strike{-3141592, 600, 0}; // away from the rack: touches nothing
    const desk::ShotOutcome truth = ReplayShot(engine, after, desk::kSolids, strike);
    ReportedShot report;
    report.balls = truth.balls;
    report.touchedNothing = truth.judge.m_bIsTouch_Nothing;
    report.touchedMyself = truth.judge.m_bIsTouch_Other == 1 ? 0 : 1;
    report.noCushion = truth.judge.m_bIsTouch_No_Desk;
    JudgedReport j = JudgeReport(engine, after, desk::kSolids, strike, report);
    EXPECT_TRUE(j.identical);
    EXPECT_EQ(j.facts.touchedNothing, truth.judge.m_bIsTouch_Nothing == 1);

    report.touchedMyself = 7; // not a flag
    j = JudgeReport(engine, after, desk::kSolids, strike, report);
    EXPECT_TRUE(j.replaced());
    EXPECT_EQ(j.facts.wrongFirstBall, truth.judge.m_bIsTouch_Other == 1);

    const JudgedReport alone = JudgeFromReplay(engine, after, desk::kSolids, strike);
    EXPECT_TRUE(same(alone.balls, truth.balls));
}

} // namespace
} // namespace referee
