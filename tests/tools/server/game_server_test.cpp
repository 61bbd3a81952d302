// The server against scripted clients on 127.0.0.1: the connection flow,
// a game from agreeing to the score list, verdicts on reported shots, exit
// negotiation, dropping and coming back, watchers, chat and magic actions,
// and input that must drop a client without harming anybody else.

#include "ScriptedClient.h"
#include "billiards/protocol/Messages.h"
#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "platform/timers/WindowTimers.h"
#include "tools/referee/ShotReplay.h"
#include "tools/server/GameServer.h"
#include "tools/server/ServerLog.h"

#include <QCoreApplication>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace server {
namespace {

using namespace protocol;
using testing::ScriptedClient;
using testing::waitUntil;

constexpr uint16_t kDesk = 4;
constexpr uint32_t kIdA = 501;
constexpr uint32_t kIdB = 502;
constexpr uint32_t kIdW = 503;

desk::SphereRecords records(const SphereArray& a) {
    desk::SphereRecords r{};
    std::copy(a.begin(), a.end(), r.begin());
    return r;
}

bool same(const desk::SphereRecords& a, const desk::SphereRecords& b) {
    return std::memcmp(a.data(), b.data(), sizeof(SphereRecord) * a.size()) == 0;
}

class GameServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetLogToStderr(false);
        config.port = 0;
        config.seed = 77;
        start();
    }
    void TearDown() override {
        clients.clear();
        server.reset();
        SetLogToStderr(true);
    }

    void start() {
        server = std::make_unique<CGameServer>(config);
        QString error;
        ASSERT_TRUE(server->Listen(error)) << error.toStdString();
    }

    ScriptedClient& client() {
        clients.push_back(std::make_unique<ScriptedClient>(server->Port()));
        EXPECT_TRUE(clients.back()->connected());
        return *clients.back();
    }

    // Both players seated; everything up to the first 601 consumed.
    void seatBoth() {
        a = &client();
        a->login(kIdA, kDesk, 0);
        ASSERT_TRUE(a->next(msg::Person_State_Server));
        b = &client();
        b->login(kIdB, kDesk, 1);
        ASSERT_TRUE(a->next(msg::Game_Start_Server));
        ASSERT_TRUE(b->next(msg::Game_Start_Server));
        a->clear();
        b->clear();
    }

    // Both agree; returns the rack.
    COneHand_Start_Server agreeBoth() {
        CAgree_Start agree;
        agree.m_nSeatNo = 0;
        a->sendMsg(agree);
        agree.m_nSeatNo = 1;
        b->sendMsg(agree);
        auto rack = a->nextMsg<COneHand_Start_Server>();
        EXPECT_TRUE(rack);
        EXPECT_TRUE(b->next(msg::OneHand_Start_Server));
        return rack.value_or(COneHand_Start_Server{});
    }

    ScriptedClient& seat(int s) { return s == 0 ? *a : *b; }

    // The breaker breaks with an honest report; returns the verdict.
    CCrash_End_InStart_Server breakHonestly(const COneHand_Start_Server& rack,
                                            const desk::Strike& strike) {
        const int s = rack.m_nSeatNo;
        CCrash_Begin_InStart begin;
        begin.m_nSeatNo = static_cast<uint16_t>(s);
        begin.arc = strike.arc;
        begin.speed = strike.speed;
        begin.z = strike.tip;
        seat(s).sendMsg(begin);
        desk::CShotEngine engine;
        const desk::ShotOutcome out = referee::ReplayShot(
            engine, referee::CTablePosition::Rack(records(rack.m_Sphere)), -1, strike);
        seat(s).sendMsg(CCrash_End_InStart::FromDesk(static_cast<uint16_t>(s), 16, out.balls.data(),
                                                     out.judge));
        auto verdict = seat(1 - s).nextMsg<CCrash_End_InStart_Server>();
        EXPECT_TRUE(verdict);
        EXPECT_TRUE(seat(s).next(msg::Crash_End_InStart_Server));
        return verdict.value_or(CCrash_End_InStart_Server{});
    }

    CServerConfig config;
    std::unique_ptr<CGameServer> server;
    std::vector<std::unique_ptr<ScriptedClient>> clients;
    ScriptedClient* a = nullptr;
    ScriptedClient* b = nullptr;
    platform::CManualTimerDriver timers;
};

const desk::Strike kBreak{-30000, 2000, 0};

TEST_F(GameServerTest, StartUpFlowAsTheClientExpectsIt) {
    ScriptedClient& first = client();
    first.login(kIdA, kDesk, 0);
    const auto key = first.next(msg::Connection_Key_Server);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->header.seq, 0u) << "a key must pass whatever the client saw before";
    const auto list = first.nextMsg<CPerson_List_Server>(msg::Person_List_0);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->m_Persons.size(), 1u);
    EXPECT_EQ(list->m_Persons[0].m_Person.id, kIdA);
    EXPECT_EQ(list->m_Persons[0].m_Person.status, 4);
    EXPECT_EQ(list->m_Persons[0].m_Person.seatno, 0);
    EXPECT_TRUE(first.next(msg::Avatar_List_0));
    const auto waiting = first.nextMsg<CPerson_State_Server>();
    ASSERT_TRUE(waiting);
    EXPECT_EQ(waiting->m_nPersonId, kIdA);
    EXPECT_EQ(waiting->m_nState, 4);

    ScriptedClient& second = client();
    second.login(kIdB, kDesk, 1);
    ASSERT_TRUE(second.next(msg::Game_Start_Server));
    const std::vector<uint16_t> expected = {msg::Connection_Key_Server, msg::Person_List_0,
                                            msg::Avatar_List_0,         msg::Person_State_Server,
                                            msg::Person_State_Server,   msg::Game_Abort_Server,
                                            msg::Game_Start_Server};
    EXPECT_EQ(second.received(), expected);
    for (ScriptedClient* c : {&first, &second}) {
        const auto s0 = c->nextMsg<CPerson_State_Server>();
        const auto s1 = c->nextMsg<CPerson_State_Server>();
        ASSERT_TRUE(s0 && s1);
        EXPECT_EQ(s0->m_nPersonId, kIdA);
        EXPECT_EQ(s0->m_nState, 1);
        EXPECT_EQ(s1->m_nPersonId, kIdB);
        EXPECT_EQ(s1->m_nState, 1);
        const auto go = c->nextMsg<CGame_Abort_Server>();
        ASSERT_TRUE(go);
        EXPECT_EQ(go->m_nMode, 1);
        EXPECT_FALSE(c->has(msg::Person_State_Server)) << "no state 4 once both are here";
    }
    const auto both = first.nextMsg<CPerson_List_Server>(msg::Person_List_0);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->m_Persons.size(), 2u);
    EXPECT_EQ(first.faults(), 0);
    EXPECT_EQ(second.faults(), 0);
}

TEST_F(GameServerTest, DetectsAreAnswered) {
    seatBoth();
    a->send(msg::Detect, {});
    EXPECT_TRUE(a->next(msg::Detect));
    EXPECT_FALSE(b->has(msg::Detect));
}

TEST_F(GameServerTest, AGameFromAgreeingToTheScoreList) {
    config.maxShotsPerGame = 2;
    server.reset();
    start();
    seatBoth();
    CAgree_Start agree;
    agree.m_nSeatNo = 0;
    a->sendMsg(agree);
    for (ScriptedClient* c : {a, b}) {
        const auto echo = c->nextMsg<CAgree_Start>();
        ASSERT_TRUE(echo);
        EXPECT_EQ(echo->m_nSeatNo, 0);
        EXPECT_EQ(echo->m_nVersion, kClientVersion);
    }
    EXPECT_FALSE(a->has(msg::OneHand_Start_Server));
    agree.m_nSeatNo = 1;
    b->sendMsg(agree);
    const auto rack = a->nextMsg<COneHand_Start_Server>();
    ASSERT_TRUE(rack);
    EXPECT_EQ(rack->m_nSeatNo, 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(rack->m_Sphere[static_cast<std::size_t>(i)].m_nStatus, 0);
    ASSERT_TRUE(b->next(msg::OneHand_Start_Server));

    // Aiming is relayed to everybody; the strike with the state to set.
    CTurn_InStart turn;
    turn.arc = -123456;
    a->sendMsg(turn);
    const auto turned = b->nextMsg<CTurn_InStart>();
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->arc, -123456);
    const CCrash_End_InStart_Server verdict = breakHonestly(*rack, kBreak);
    EXPECT_EQ(server->Stats().shotsJudged, 1u);
    EXPECT_EQ(server->Stats().reportDifferences, 0u);
    const auto struck = b->nextMsg<CCrash_Begin_InStart>();
    ASSERT_TRUE(struck);
    EXPECT_EQ(struck->m_nStatus, 2);
    EXPECT_EQ(struck->speed, kBreak.speed);

    // The second shot, by whoever the verdict names.
    referee::CTablePosition position =
        referee::CTablePosition::AfterShot(records(verdict.m_Sphere));
    const int next = verdict.m_nSeatNo;
    ASSERT_TRUE(next == 0 || next == 1);
    if (verdict.m_nStatus == 5) {
        const desk::BallPosition spot = desk::breakSpot();
        CBall_Moved moved;
        moved.m_nSeatNo = static_cast<uint16_t>(next);
        moved.x = desk::toInterface(spot.x);
        moved.y = desk::toInterface(spot.y);
        seat(next).sendMsg(moved);
        const auto placed = seat(1 - next).nextMsg<CBall_Moved>();
        ASSERT_TRUE(placed);
        EXPECT_EQ(placed->m_nStatus, 3);
        position.PlaceCueBall({moved.x, moved.y});
    } else {
        EXPECT_EQ(verdict.m_nStatus, 3);
    }
    const int group = verdict.m_nSeatNo_Mono == next  ? desk::kSolids
                      : verdict.m_nSeatNo_Hua == next ? desk::kStripes
                                                      : desk::kOpenTable;
    const desk::Strike shot{-1500000, 700, 0};
    CCrash_Begin_InPlay begin;
    begin.m_nSeatNo = static_cast<uint16_t>(next);
    begin.arc = shot.arc;
    begin.speed = shot.speed;
    seat(next).sendMsg(begin);
    desk::CShotEngine engine;
    const desk::ShotOutcome out = referee::ReplayShot(engine, position, group, shot);
    seat(next).sendMsg(
        CCrash_End_InPlay::FromDesk(static_cast<uint16_t>(next), 16, out.balls.data(), out.judge));
    const auto shotVerdict = seat(1 - next).nextMsg<CCrash_End_InPlay_Server>();
    ASSERT_TRUE(shotVerdict);
    EXPECT_TRUE(same(records(shotVerdict->m_Sphere), out.balls));
    EXPECT_EQ(server->Stats().reportDifferences, 0u);

    // Two shots is the limit here: the game is decided and the next offered.
    const auto scores = a->nextMsg<CScore_List_Server>();
    ASSERT_TRUE(scores);
    const int winner = scores->m_nWinner;
    ASSERT_TRUE(winner == 0 || winner == 1);
    EXPECT_EQ(scores->m_nScore[winner], 1);
    EXPECT_EQ(scores->m_nScore[1 - winner], -1);
    EXPECT_EQ(scores->m_nTotalScore[winner], 1);
    EXPECT_EQ(scores->m_nWin[winner], 1);
    EXPECT_EQ(scores->m_nLose[1 - winner], 1);
    EXPECT_TRUE(a->next(msg::Game_Start_Server));
    EXPECT_TRUE(b->next(msg::Score_List_Server));
    EXPECT_EQ(server->Stats().games, 1u);
    EXPECT_EQ(a->faults(), 0);
    EXPECT_EQ(b->faults(), 0);
}

TEST_F(GameServerTest, AnImpossibleReportIsReplacedByTheReplay) {
    seatBoth();
    const COneHand_Start_Server rack = agreeBoth();
    CCrash_Begin_InStart begin;
    begin.arc = kBreak.arc;
    begin.speed = kBreak.speed;
    a->sendMsg(begin);
    desk::CShotEngine engine;
    const desk::ShotOutcome truth = referee::ReplayShot(
        engine, referee::CTablePosition::Rack(records(rack.m_Sphere)), -1, kBreak);
    // Claims ball 3 went down on an earlier shot, which never happened.
    desk::SphereRecords lie = truth.balls;
    lie[3].m_nStatus = desk::kPocketedEarlier;
    a->sendMsg(CCrash_End_InStart::FromDesk(0, 16, lie.data(), truth.judge));
    const auto verdict = b->nextMsg<CCrash_End_InStart_Server>();
    ASSERT_TRUE(verdict);
    EXPECT_TRUE(same(records(verdict->m_Sphere), truth.balls));
    EXPECT_EQ(server->Stats().reportsReplaced, 1u);
    EXPECT_EQ(server->Stats().reportDifferences, 1u);
}

TEST_F(GameServerTest, OutOfTurnMessagesChangeNothing) {
    seatBoth();
    agreeBoth();
    CCrash_Begin_InStart begin;
    begin.m_nSeatNo = 1;
    b->sendMsg(begin); // seat 0 breaks, not seat 1
    CTurn_InPlay turn;
    b->sendMsg(turn);
    a->send(msg::Detect, {});
    ASSERT_TRUE(a->next(msg::Detect));
    EXPECT_FALSE(a->has(msg::Crash_Begin_InStart));
    EXPECT_FALSE(a->has(msg::Turn_InPlay));
    EXPECT_EQ(server->Table(kDesk)->CurrentStage(), CTable::Stage::Break);
}

TEST_F(GameServerTest, ExitByAgreement) {
    seatBoth();
    agreeBoth();
    CExit_Request ask;
    ask.m_nPersonId = kIdA;
    a->sendMsg(ask);
    const auto asked = b->nextMsg<CExit_Request>();
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->m_nPersonId, kIdA);
    CExit_Answer yes;
    yes.m_nPersonId = kIdB;
    yes.m_nSeatNo = 1;
    yes.m_nAskerId = kIdA;
    yes.m_nAnswer = 0;
    b->sendMsg(yes);
    for (ScriptedClient* c : {a, b}) {
        ASSERT_TRUE(c->next(msg::Exit_Answer));
        const auto end = c->nextMsg<CGame_End_Server>();
        ASSERT_TRUE(end);
        EXPECT_EQ(end->m_nPersonId, static_cast<int32_t>(kIdA));
        EXPECT_EQ(end->m_nReason, CTable::kReasonAgreed);
        EXPECT_TRUE(c->waitClosed());
    }
}

TEST_F(GameServerTest, ExitRefusedAndUnanswered) {
    seatBoth();
    agreeBoth();
    CExit_Request ask;
    ask.m_nPersonId = kIdA;
    a->sendMsg(ask);
    ASSERT_TRUE(b->next(msg::Exit_Request));
    CExit_Answer no;
    no.m_nAskerId = kIdA;
    no.m_nAnswer = 1;
    b->sendMsg(no);
    const auto refused = a->nextMsg<CExit_Refused_Server>();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->m_nPersonId, kIdA);

    // Asked again and not answered in time: refused as well.
    a->sendMsg(ask);
    ASSERT_TRUE(b->next(msg::Exit_Request));
    timers.advance(config.limits.exitAnswerMs);
    EXPECT_TRUE(a->next(msg::Exit_Refused_Server));
    EXPECT_FALSE(server->Table(kDesk)->Ended());
}

TEST_F(GameServerTest, LeavingByForceLosesTheGame) {
    seatBoth();
    agreeBoth();
    CExit_Game leave;
    leave.m_nPersonId = kIdA;
    leave.m_nForce = 1;
    a->sendMsg(leave);
    const auto scores = b->nextMsg<CScore_List_Server>();
    ASSERT_TRUE(scores);
    EXPECT_EQ(scores->m_nWinner, 1);
    const auto end = b->nextMsg<CGame_End_Server>();
    ASSERT_TRUE(end);
    EXPECT_EQ(end->m_nReason, CTable::kReasonForced);
    EXPECT_FALSE(b->has(msg::Game_Start_Server)) << "no next game after the table ended";
}

TEST_F(GameServerTest, LeavingBetweenGamesIsANormalExit) {
    seatBoth();
    CExit_Game leave;
    leave.m_nPersonId = kIdB;
    b->sendMsg(leave);
    const auto end = a->nextMsg<CGame_End_Server>();
    ASSERT_TRUE(end);
    EXPECT_EQ(end->m_nPersonId, static_cast<int32_t>(kIdB));
    EXPECT_EQ(end->m_nReason, CTable::kReasonNormal);
    EXPECT_TRUE(a->waitClosed());
}

TEST_F(GameServerTest, ADroppedPlayerComesBackToTheGame) {
    seatBoth();
    const COneHand_Start_Server rack = agreeBoth();
    const CCrash_End_InStart_Server verdict = breakHonestly(rack, kBreak);
    a->clear();
    b->clear();
    clients.erase(clients.begin()); // seat 0's connection dies
    const auto offline = b->nextMsg<CPerson_Offline_Server>();
    ASSERT_TRUE(offline);
    EXPECT_EQ(offline->m_nPersonId, kIdA);

    ScriptedClient& back = client();
    a = &back;
    back.login(kIdA, kDesk, 0);
    const auto state = back.nextMsg<CPerson_State_Server>();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->m_nPersonId, kIdA);
    EXPECT_EQ(state->m_nState, 2);
    ASSERT_TRUE(b->next(msg::Person_State_Server));
    // Exactly one recovery message: the position of the table after the break.
    const uint16_t expectedType =
        verdict.m_nStatus == 5 ? msg::Recover_Moving : msg::Recover_Turn_OnPlay;
    const auto recovery = back.next(expectedType);
    ASSERT_TRUE(recovery);
    int recoveries = 0;
    for (uint16_t t : back.received())
        recoveries += t >= msg::Recover_Idle && t <= msg::Recover_Moving;
    EXPECT_EQ(recoveries, 1);
    CRecoverHead head;
    if (expectedType == msg::Recover_Turn_OnPlay) {
        CRecover_Turn_OnPlay m;
        ASSERT_TRUE(m.Parse(recovery->body));
        head = m;
        EXPECT_EQ(m.num, verdict.gan_num);
        EXPECT_EQ(m.m_nSeatNo_Mono, verdict.m_nSeatNo_Mono);
    } else {
        CRecover_Moving m;
        ASSERT_TRUE(m.Parse(recovery->body));
        head = m;
    }
    EXPECT_EQ(head.m_nNext, verdict.m_nSeatNo);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(head.m_Sphere[static_cast<std::size_t>(i)].m_nX,
                  verdict.m_Sphere[static_cast<std::size_t>(i)].m_nX);
        EXPECT_EQ(head.m_Sphere[static_cast<std::size_t>(i)].m_nStatus,
                  verdict.m_Sphere[static_cast<std::size_t>(i)].m_nStatus);
    }
    // The other desk is brought to the same rebuilt position.
    EXPECT_TRUE(b->next(expectedType));
    EXPECT_EQ(back.faults(), 0);
}

TEST_F(GameServerTest, AShooterBackDuringHisShotGetsItJudgedFromTheReplay) {
    seatBoth();
    const COneHand_Start_Server rack = agreeBoth();
    CCrash_Begin_InStart begin;
    begin.arc = kBreak.arc;
    begin.speed = kBreak.speed;
    a->sendMsg(begin);
    ASSERT_TRUE(b->next(msg::Crash_Begin_InStart));
    // The breaker's new connection arrives before the old one is noticed.
    ScriptedClient& back = client();
    back.login(kIdA, kDesk, 0);
    const auto verdict = b->nextMsg<CCrash_End_InStart_Server>();
    ASSERT_TRUE(verdict) << "judged without waiting for a report";
    desk::CShotEngine engine;
    const desk::ShotOutcome truth = referee::ReplayShot(
        engine, referee::CTablePosition::Rack(records(rack.m_Sphere)), -1, kBreak);
    EXPECT_TRUE(same(records(verdict->m_Sphere), truth.balls));
    const auto state = back.nextMsg<CPerson_State_Server>();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->m_nState, 2);
    EXPECT_TRUE(
        back.next(verdict->m_nStatus == 5 ? msg::Recover_Moving : msg::Recover_Turn_OnPlay));
    EXPECT_FALSE(back.has(msg::Recover_Crash_OnKai));
    EXPECT_TRUE(a->waitClosed()) << "the old connection is dropped";
}

TEST_F(GameServerTest, APlayerWhoDoesNotComeBackEndsTheGame) {
    seatBoth();
    agreeBoth();
    clients.erase(clients.begin());
    ASSERT_TRUE(b->next(msg::Person_Offline_Server));
    timers.advance(config.limits.reconnectGraceMs - 1);
    EXPECT_FALSE(b->has(msg::Exit_Game));
    timers.advance(1);
    const auto end = b->nextMsg<CGame_End_Server>();
    ASSERT_TRUE(end);
    EXPECT_EQ(end->m_nPersonId, static_cast<int32_t>(kIdA));
    EXPECT_EQ(end->m_nReason, CTable::kReasonDropped);
}

TEST_F(GameServerTest, TheSecondPlayerMustComeWithinTheStartUpLimit) {
    // Below the watchdog: this client sends no keep-alive while it waits.
    config.limits.startupMs = config.limits.watchdogMs / 2;
    server.reset();
    start();
    ScriptedClient& alone = client();
    alone.login(kIdA, kDesk, 0);
    ASSERT_TRUE(alone.next(msg::Person_State_Server));
    timers.advance(config.limits.startupMs);
    const auto abort = alone.nextMsg<CGame_Abort_Server>();
    ASSERT_TRUE(abort);
    EXPECT_EQ(abort->m_nMode, 0);
    EXPECT_NE(abort->m_nKind, -1);
    EXPECT_TRUE(alone.waitClosed());
}

TEST_F(GameServerTest, AWatcherSeesTheTableAndIsAnnounced) {
    seatBoth();
    ScriptedClient& w = client();
    w.login(kIdW, kDesk, 1, 0);
    const auto list = w.nextMsg<CPerson_List_Server>(msg::Person_List_0);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->m_Persons.size(), 3u);
    const auto state = w.nextMsg<CPerson_State_Server>();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->m_nState, 3);
    const auto idle = w.nextMsg<CRecover_Idle>();
    ASSERT_TRUE(idle) << "a running table sends its position";
    const auto arrive = a->nextMsg<CWatcher_Arrive_Server>(msg::Watcher_Arrive_0);
    ASSERT_TRUE(arrive);
    EXPECT_EQ(arrive->m_Person.m_Person.id, kIdW);
    EXPECT_EQ(arrive->m_Person.m_Person.status, 5);
    EXPECT_EQ(arrive->m_Person.m_Person.watchno, 0);

    // The watcher leaves: everybody, himself included, hears it.
    CExit_Watch leave;
    leave.m_nPersonId = kIdW;
    w.sendMsg(leave);
    const auto left = b->nextMsg<CPerson_Leave_Server>();
    ASSERT_TRUE(left);
    EXPECT_EQ(left->m_nPersonId, kIdW);
    EXPECT_TRUE(w.next(msg::Exit_Watch));
    EXPECT_TRUE(w.waitClosed());
}

TEST_F(GameServerTest, ChatAndMagicActions) {
    seatBoth();
    CChat_Line line;
    line.m_nType = msg::Chat_Line_Plain;
    line.m_nPersonId = 999; // a claim the server does not believe
    line.SetText("hello");
    a->sendMsg(line);
    for (ScriptedClient* c : {a, b}) {
        const auto heard = c->nextMsg<CChat_Line>(msg::Chat_Line_Plain);
        ASSERT_TRUE(heard);
        EXPECT_EQ(heard->m_sText, "hello");
        EXPECT_EQ(heard->m_nPersonId, kIdA);
    }
    CMagic_Action magic;
    magic.m_nKind = 2;
    magic.m_nTargetId = static_cast<int32_t>(kIdB);
    a->sendMsg(magic);
    const auto seen = b->nextMsg<CMagic_Action>();
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->m_nSenderId, kIdA);
    EXPECT_EQ(seen->m_nToAll, 0);
    a->sendMsg(magic); // too soon after the first
    const auto refused = a->nextMsg<CMagic_Action_Failed_Server>();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->m_nKind, 3);
}

TEST_F(GameServerTest, AWrongVersionEndsTheTable) {
    seatBoth();
    CAgree_Start old;
    old.m_nSeatNo = 0;
    old.m_nVersion = 17;
    a->sendMsg(old);
    const auto failure = b->nextMsg<CAgree_Start>();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->m_nSeatNo, 0);
    EXPECT_EQ(failure->m_nVersion, kWrongVersion);
    EXPECT_TRUE(b->waitClosed());
}

TEST_F(GameServerTest, PlayTimeNotices) {
    config.limits.playTimeNotice1Ms = 1000;
    config.limits.playTimeNotice2Ms = 3000;
    server.reset();
    start();
    seatBoth();
    timers.advance(1000);
    auto notice = a->nextMsg<CPlay_Time_Server>();
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->m_nKind, 1);
    ASSERT_TRUE(a->next(msg::Play_Time_Server)); // the other seat's
    timers.advance(2000);
    notice = a->nextMsg<CPlay_Time_Server>();
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->m_nKind, 2);
}

TEST_F(GameServerTest, ASilentClientIsDropped) {
    ScriptedClient& silent = client();
    silent.login(kIdA, kDesk, 0);
    ASSERT_TRUE(silent.next(msg::Person_State_Server));
    timers.advance(config.limits.watchdogMs);
    EXPECT_TRUE(silent.waitClosed());
}

// Each case is one connection that misbehaves; the server drops it and
// goes on serving the table that is playing meanwhile.
TEST_F(GameServerTest, BadInputDropsTheClientOnly) {
    seatBoth();
    struct Case {
        const char* name;
        std::function<void(ScriptedClient&)> act;
        bool answeredWithNoServer;
    };
    const auto headerWithLength = [](uint32_t length) {
        auto h = MessageHeader::Make(msg::Detect, length, 1).Encode();
        return std::vector<uint8_t>(h.begin(), h.end());
    };
    const std::vector<Case> cases = {
        {"garbage bytes", [](ScriptedClient& c) { c.sendRaw(std::vector<uint8_t>(64, 0xAB)); },
         false},
        {"a length no message has", [&](ScriptedClient& c) { c.sendRaw(headerWithLength(5)); },
         false},
        {"a huge length", [&](ScriptedClient& c) { c.sendRaw(headerWithLength(0x7FFFFFFF)); },
         false},
        {"a message before the login", [](ScriptedClient& c) { c.send(msg::Detect, {}); }, false},
        {"a login with a broken trailer",
         [](ScriptedClient& c) {
             CTable_Login login;
             login.m_nPersonId = 9;
             auto frame = BuildFrame(msg::Table_Login, 1, login.Build(), TrailerKind::Keyed, 5);
             c.sendRaw(frame);
         },
         false},
        {"a wrong digest after the login",
         [](ScriptedClient& c) {
             c.login(601, 9, 0);
             c.next(msg::Connection_Key_Server);
             c.sender().SetKey(c.key() + 1);
             c.send(msg::Detect, {});
         },
         false},
        {"an old sequence number",
         [](ScriptedClient& c) {
             c.login(602, 9, 0);
             c.next(msg::Connection_Key_Server);
             c.send(msg::Detect, {});
             c.sender().SetCounter(c.sender().Counter() - 1);
             c.send(msg::Detect, {});
         },
         false},
        {"a body too short for its message",
         [](ScriptedClient& c) {
             c.login(603, 9, 0);
             c.next(msg::Connection_Key_Server);
             c.send(msg::Crash_End_InPlay, std::vector<uint8_t>(10, 0));
         },
         false},
        {"a second login",
         [](ScriptedClient& c) {
             c.login(604, 9, 0);
             c.next(msg::Connection_Key_Server);
             c.login(604, 9, 0);
         },
         false},
        {"a seat that does not exist", [](ScriptedClient& c) { c.login(605, 9, 7); }, true},
        {"a seat somebody else holds", [](ScriptedClient& c) { c.login(606, kDesk, 0); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedClient& bad = client();
        c.act(bad);
        EXPECT_TRUE(bad.waitClosed());
        EXPECT_EQ(bad.has(msg::No_Server), c.answeredWithNoServer);
        // The table playing meanwhile is untouched.
        a->send(msg::Detect, {});
        EXPECT_TRUE(a->next(msg::Detect));
    }
    EXPECT_EQ(a->faults(), 0);
    EXPECT_EQ(server->Table(kDesk)->CurrentStage(), CTable::Stage::Agreeing);
}

// Well-framed messages with random bodies, in and out of turn, from both
// players and a watcher, through every stage a game reaches: the server
// judges or ignores them and never falls over.
TEST_F(GameServerTest, RandomBodiesNeverHurtTheServer) {
    seatBoth();
    ScriptedClient& w = client();
    w.login(kIdW, kDesk, 0, 0);
    ASSERT_TRUE(w.next(msg::Recover_Idle));
    std::mt19937 rng(5);
    std::size_t rows = 0;
    const MessageInfo* table = MessageRows(rows);
    std::vector<uint16_t> types;
    for (std::size_t i = 0; i < rows; ++i)
        if (table[i].clientName[0] != '\0' && table[i].type != msg::Table_Login)
            types.push_back(table[i].type);
    const auto randomBody = [&](uint16_t type) {
        // Long enough to parse (a shorter body drops its sender, which the
        // bad-input test covers), sometimes longer than the message.
        std::size_t size = ClientMinBody(type);
        if (rng() % 4 == 0)
            size += rng() % 300;
        std::vector<uint8_t> body(size);
        for (auto& b : body)
            b = static_cast<uint8_t>(rng());
        // Seat fields that name a real seat reach deeper into the game.
        if (size >= 2 && rng() % 2 == 0) {
            body[0] = 0;
            body[1] = static_cast<uint8_t>(rng() % 2);
        }
        return body;
    };
    for (int round = 0; round < 300; ++round) {
        ScriptedClient* c = round % 7 == 0 ? &w : (rng() % 2 ? a : b);
        const uint16_t type = types[rng() % types.size()];
        if (type == msg::Exit_Game || type == msg::Exit_Watch || type == msg::Leave_Seat ||
            type == msg::Exit_Answer || type == msg::Exit_Request || type == msg::Agree_Start)
            continue; // these end the table or the watcher's stay, by design
        c->send(type, randomBody(type));
        // One message at a time, so that both players' messages interleave.
        c->send(msg::Detect, {});
        ASSERT_TRUE(c->next(msg::Detect)) << "round " << round << " type " << type;
        if (round % 10 == 0) {
            // Keep a game going so that reports and placements are judged.
            CAgree_Start agree;
            agree.m_nSeatNo = 0;
            a->sendMsg(agree);
            agree.m_nSeatNo = 1;
            b->sendMsg(agree);
        }
    }
    for (ScriptedClient* c : {a, b, &w}) {
        c->send(msg::Detect, {});
        EXPECT_TRUE(c->next(msg::Detect)) << "the server still answers";
        EXPECT_EQ(c->faults(), 0);
    }
    EXPECT_GT(server->Stats().shotsJudged, 0u) << "random reports reached the referee";
}

} // namespace
} // namespace server

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
