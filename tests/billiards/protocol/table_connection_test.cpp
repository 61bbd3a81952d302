// The client's connection against scripted server streams: what it sends,
// what it accepts, how it fails, and its timers, all on the virtual clock.
#include "billiards/protocol/BilliardsMessages.h"
#include "billiards/protocol/ChatLine.h"
#include "billiards/protocol/ConnectionTexts.h"
#include "billiards/protocol/TableConnection.h"
#include "platform/text/Gbk.h"
#include "support/ProtocolFakes.h"

#include <gtest/gtest.h>
#include <random>

using namespace protocol;
using namespace protocol::testing;
using platform::CManualTimerDriver;

namespace {

using C = CTableConnection;

class TableConnectionTest : public ::testing::Test {
protected:
    CManualTimerDriver clock;
    FakeSocket socket;
    FakeReporter reporter;
    RecordingHandler table, chat, billiards;
    ServerSide server;
    std::unique_ptr<CTableConnection> conn;

    void SetUp() override {
        conn = std::make_unique<CTableConnection>(socket, reporter);
        socket.Advise(conn.get());
        CConnectionSettings s;
        s.address = "127.0.0.1";
        s.port = 4100;
        conn->SetSettings(s);
        CTable_Login login;
        login.m_nPersonId = 1001;
        login.m_nSeatNo = 1;
        conn->SetLogin(login);
        table.takes = [](uint16_t t) { return GroupOf(t) == MessageGroup::Table; };
        chat.takes = [](uint16_t t) { return GroupOf(t) == MessageGroup::Chat; };
        conn->SetHandlers(&table, &chat, &billiards);
    }

    // Connected and keyed by the server, logs cleared.
    void Keyed() {
        conn->Connect();
        conn->OnConnect(1);
        socket.Push(server.KeyMessage());
        conn->State().inGame = true;
        socket.ClearLog();
        reporter.shown.clear();
        table.received.clear();
    }

    void Push(const std::vector<uint8_t>& bytes) { socket.Push(bytes); }

    int count(const std::string& call) const {
        return int(std::count(socket.calls.begin(), socket.calls.end(), call));
    }
    int connects() const { return count("Connect 127.0.0.1 4100"); }
    std::vector<std::string> shownKinds() const {
        std::vector<std::string> out;
        for (const auto& s : reporter.shown)
            out.push_back(s.kind + ":" + platform::gbk::toUtf8(s.text));
        return out;
    }
};

std::string modal(const std::string& t) {
    return "modal:" + platform::gbk::toUtf8(t);
}

// ---- connecting -------------------------------------------------------------------

TEST_F(TableConnectionTest, ConnectLogsInAndWaitsForAHeader) {
    conn->Connect();
    EXPECT_EQ(socket.calls, (std::vector<std::string>{"Close", "Connect 127.0.0.1 4100"}));
    conn->OnConnect(1);
    EXPECT_EQ(socket.timeout, 60000);
    ASSERT_EQ(socket.sent.size(), 1u);
    const CFrame& login = socket.sent[0];
    EXPECT_EQ(login.header.type, msg::Table_Login);
    EXPECT_EQ(login.header.seq, 1u);
    EXPECT_EQ(socket.sentBytes[0].size(), 65u);
    EXPECT_TRUE(FixedTrailerMatches(login.Payload()));
    EXPECT_EQ(socket.Pending(), 32);
    EXPECT_EQ(conn->Timers().Interval(C::kLoginWatchdogTimer), 57606648);
    EXPECT_EQ(conn->State().phase, ReceivePhase::Header);
}

TEST_F(TableConnectionTest, ProxyCallFollowsTheHallsSettings) {
    const struct {
        short kind;
        bool password;
        std::string call;
    } cases[] = {
        {0, false, "SetProxy 1 proxy 8080"},
        {0, true, "SetProxy 1 proxy 8080"},
        {1, false, "SetProxyWithAuth 2 proxy 8080 [] []"},
        {1, true, "SetProxyWithAuth 3 proxy 8080 [bob] [pw]"},
        {2, false, "SetProxy 4 proxy 8080"},
        {7, true, "SetProxyWithAuth 4 proxy 8080 [bob] [pw]"},
    };
    for (const auto& c : cases) {
        CConnectionSettings s;
        s.address = "game";
        s.port = 9;
        s.useProxy = true;
        s.proxyKind = c.kind;
        s.proxyNeedsPassword = c.password;
        s.proxyAddress = "proxy";
        s.proxyPort = 8080;
        s.proxyUser = "bob";
        s.proxyPassword = "pw";
        conn->SetSettings(s);
        socket.ClearLog();
        conn->Connect();
        EXPECT_EQ(socket.calls, (std::vector<std::string>{"Close", c.call, "Connect game 9"}))
            << c.kind << c.password;
    }
}

TEST_F(TableConnectionTest, ReviewModeNeitherConnectsNorKeepsTimers) {
    CConnectionSettings s;
    s.review = true;
    conn->SetSettings(s);
    conn->Connect();
    EXPECT_TRUE(socket.calls.empty());
    conn->Timers().SetTimer(C::kKeepAliveTimer, 100);
    clock.advance(100);
    EXPECT_FALSE(conn->Timers().IsActive(C::kKeepAliveTimer));
    EXPECT_TRUE(socket.sent.empty());
}

TEST_F(TableConnectionTest, FailedConnectShowsATimedDialogOnly) {
    conn->Connect();
    socket.ClearLog();
    conn->OnConnect(0);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].kind, "timed");
    EXPECT_EQ(platform::gbk::toUtf8(reporter.shown[0].text), "游戏服务器连接失败");
    EXPECT_EQ(reporter.shown[0].ms, 2000);
    EXPECT_TRUE(socket.calls.empty());
}

TEST_F(TableConnectionTest, ConnectionKeySetsUpAndDetectsAtOnce) {
    conn->Connect();
    conn->OnConnect(1);
    socket.ClearLog();
    auto key = server.KeyMessage(/*clientCounter=*/41);
    key[key.size() - 5] ^= 0xFF; // exempt: a wrong trailer does not matter
    Push(key);
    EXPECT_EQ(conn->Key(), server.key);
    EXPECT_EQ(conn->State().lastSeq, server.seq);
    ASSERT_EQ(socket.sent.size(), 1u);
    const CFrame& detect = socket.sent[0];
    EXPECT_EQ(detect.header.type, msg::Detect);
    EXPECT_EQ(detect.header.seq, 42u);
    EXPECT_EQ(socket.sentBytes[0].size(), 49u);
    EXPECT_TRUE(KeyedTrailerMatches(detect.Payload(), 42, server.key));
    EXPECT_EQ(conn->Timers().Interval(C::kKeepAliveTimer), 30000);
    EXPECT_EQ(conn->Timers().Interval(C::kReceiveWatchdogTimer), 45000);
    EXPECT_EQ(socket.Pending(), 32);
    // The table still sees the key message (it distributes avatars then).
    ASSERT_EQ(table.received.size(), 1u);
    EXPECT_EQ(table.received[0].first, msg::Connection_Key_Server);
}

// ---- receiving --------------------------------------------------------------------

TEST_F(TableConnectionTest, StreamSplitAnywhereGivesTheSameMessages) {
    const uint32_t base = server.seq;
    std::vector<uint8_t> stream;
    auto add = [&](const std::vector<uint8_t>& f) {
        stream.insert(stream.end(), f.begin(), f.end());
    };
    CCrash_End_InPlay_Server shot;
    shot.m_nSeatNo = 1;
    shot.gan_num = 2;
    add(server.Message(shot));
    add(ServerSide::HeaderOnly(3011, 0, 0)); // length 0: straight to the next header
    add(server.Message(CDetect{}));
    CChat_Line line;
    line.m_nType = msg::Chat_Line;
    line.SetText("hi");
    add(server.Message(line));
    CGame_End_Server end;
    end.m_nReason = 3;
    add(server.Message(end));

    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        server.seq = base; // every round replays the same numbers
        Keyed();
        billiards.received.clear();
        chat.received.clear();
        std::vector<std::size_t> cuts;
        if (round == 0)
            for (std::size_t i = 1; i < stream.size(); ++i)
                cuts.push_back(i); // one byte at a time
        else if (round == 1)
            cuts = {31, 32, 33, 32 + 1113 - 1, 32 + 1113, 32 + 1113 + 32 + 1};
        else
            for (std::size_t at = 0; at < stream.size();)
                cuts.push_back(at += 1 + rng() % 200);
        socket.PushInChunks(stream, cuts);
        ASSERT_TRUE(reporter.shown.empty()) << round;
        ASSERT_EQ(billiards.received.size(), 1u) << round;
        EXPECT_EQ(billiards.received[0].first, 618);
        EXPECT_EQ(billiards.received[0].second, shot.Build());
        ASSERT_EQ(chat.received.size(), 1u);
        EXPECT_EQ(chat.received[0].second, line.Build());
        ASSERT_EQ(table.received.size(), 1u); // 3011 is taken without any action
        EXPECT_EQ(table.received[0].first, 3026);
        EXPECT_EQ(socket.Pending(), 32);
        EXPECT_EQ(socket.Buffered(), 0u);
    }
}

TEST_F(TableConnectionTest, SequenceZeroIsAlwaysAcceptedAndNeverRaises) {
    Keyed();
    const uint32_t last = conn->State().lastSeq;
    // Twice with seq 0; the trailer is checked against the previous seq.
    for (int i = 0; i < 2; ++i)
        Push(server.FrameWith(618, 0, last, CCrash_End_InPlay_Server{}.Build()));
    EXPECT_EQ(conn->State().lastSeq, last);
    EXPECT_EQ(billiards.received.size(), 2u);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(TableConnectionTest, BodyAfterASeqZeroHeaderIsCheckedWithThePreviousSeq) {
    Keyed();
    const uint32_t last = conn->State().lastSeq;
    // Keyed with 0 (the header's own seq) instead: a digest failure.
    Push(server.FrameWith(618, 0, 0, CCrash_End_InPlay_Server{}.Build()));
    EXPECT_TRUE(billiards.received.empty());
    EXPECT_EQ(shownKinds(), (std::vector<std::string>{modal(texts::NetworkFault())}));
    EXPECT_EQ(connects(), 1);
    EXPECT_EQ(conn->State().reconnectCount, 0); // digest failures are not counted
    EXPECT_EQ(conn->State().lastSeq, last);
}

TEST_F(TableConnectionTest, EqualOrOlderSeqIsASequenceFailure) {
    for (const int back : {0, 1, 50}) {
        Keyed();
        const uint32_t last = conn->State().lastSeq;
        Push(server.FrameWith(3002, last - uint32_t(back), 0, std::vector<uint8_t>(8, 0)));
        EXPECT_EQ(socket.calls.front(), "Close") << back;
        EXPECT_EQ(connects(), 1) << back;
        EXPECT_EQ(shownKinds(), (std::vector<std::string>{modal(texts::NetworkFault())}));
        EXPECT_EQ(conn->State().reconnectCount, 1);
        EXPECT_TRUE(conn->State().reconnecting);
        EXPECT_FALSE(conn->Timers().IsActive(C::kKeepAliveTimer));
        // The rest of the header step still runs: the body is asked for.
        EXPECT_EQ(socket.requests.back(), 8 + 17);
        conn->OnConnect(1); // a successful connect clears the count
        EXPECT_EQ(conn->State().reconnectCount, 0);
        EXPECT_EQ(socket.Pending(), 32);
        EXPECT_EQ(conn->State().phase, ReceivePhase::Header);
    }
}

TEST_F(TableConnectionTest, ThirdSequenceFailureReconnectsTheFourthGivesUp) {
    Keyed();
    const uint32_t stale = conn->State().lastSeq;
    for (int i = 1; i <= 3; ++i) {
        Push(ServerSide::HeaderOnly(3011, 0, stale));
        EXPECT_EQ(conn->State().reconnectCount, i);
        EXPECT_EQ(connects(), i);
        EXPECT_FALSE(conn->State().ended);
        socket.ReceiveBytes(32); // as after the reconnect
    }
    Push(ServerSide::HeaderOnly(3011, 0, stale));
    EXPECT_EQ(connects(), 3);
    EXPECT_TRUE(conn->State().ended);
    EXPECT_EQ(conn->State().reconnectCount, 0);
    EXPECT_EQ(reporter.closeTableCalls, 1);
    EXPECT_EQ(reporter.shown.back().kind, "modal");
    EXPECT_EQ(platform::gbk::toUtf8(reporter.shown.back().text), "不能连接服务器，游戏结束");
    EXPECT_FALSE(conn->Timers().IsActive(C::kReceiveWatchdogTimer));
    EXPECT_FALSE(conn->Timers().IsActive(C::kKeepAliveTimer));
}

TEST_F(TableConnectionTest, ExemptTypesPassWithWrongTrailersOthersDoNot) {
    const uint16_t exempt[] = {3002, 3003, 3004, 3009, 3016, 3027, 3033, 3806,
                               3817, 3819, 3821, 3106, 3161, 3260, 3511};
    for (const uint16_t type : exempt) {
        Keyed();
        auto frame = server.Frame(type, std::vector<uint8_t>(300, 0));
        frame[frame.size() - 2] ^= 0x55;
        Push(frame);
        EXPECT_TRUE(reporter.shown.empty()) << type;
        EXPECT_EQ(socket.Pending(), 32) << type;
    }
    const uint16_t checked[] = {601, 618, 3021, 3026, 3031, 3040, 3041, 3045, 3108, 4000};
    for (const uint16_t type : checked) {
        Keyed();
        auto frame = server.Frame(type, std::vector<uint8_t>(1200, 0));
        frame[frame.size() - 2] ^= 0x55;
        Push(frame);
        EXPECT_EQ(shownKinds(), (std::vector<std::string>{modal(texts::NetworkFault())})) << type;
        EXPECT_EQ(connects(), 1) << type;
    }
}

TEST_F(TableConnectionTest, ImpossibleLengthsAreNetworkFailures) {
    for (const uint32_t length : {1u, 16u, kMaxMessageLength + 1, 0xFFFFFFF0u}) {
        Keyed();
        Push(ServerSide::HeaderOnly(618, length, server.seq + 1));
        EXPECT_EQ(shownKinds(), (std::vector<std::string>{modal(texts::NetworkFault())})) << length;
        EXPECT_EQ(connects(), 1);
        EXPECT_EQ(std::count(socket.requests.begin(), socket.requests.end(), long(length)), 0);
        EXPECT_EQ(conn->State().phase, ReceivePhase::Header);
    }
}

TEST_F(TableConnectionTest, BodyTooShortForItsMessageIsDropped) {
    Keyed();
    Push(server.Frame(618, std::vector<uint8_t>(1000, 0))); // 618 needs 1096
    Push(server.Frame(3040, std::vector<uint8_t>(10, 0)));  // 3040 needs 228
    EXPECT_TRUE(billiards.received.empty());
    EXPECT_TRUE(table.received.empty());
    EXPECT_TRUE(reporter.shown.empty());
    EXPECT_EQ(socket.Pending(), 32);
    // The stream goes on.
    Push(server.Message(CCrash_End_InPlay_Server{}));
    EXPECT_EQ(billiards.received.size(), 1u);
}

TEST_F(TableConnectionTest, DispatchStopsAtTheFirstTaker) {
    Keyed();
    std::vector<std::string> order;
    table.takes = [&](uint16_t) {
        order.push_back("table");
        return false;
    };
    chat.takes = [&](uint16_t) {
        order.push_back("chat");
        return true;
    };
    billiards.takes = [&](uint16_t) {
        order.push_back("billiards");
        return true;
    };
    Push(server.Message(CGame_Start_Server{}));
    EXPECT_EQ(order, (std::vector<std::string>{"table", "chat"}));
    order.clear();
    chat.takes = [&](uint16_t) {
        order.push_back("chat");
        return false;
    };
    billiards.takes = [&](uint16_t) {
        order.push_back("billiards");
        return false;
    };
    Push(server.Frame(4321, std::vector<uint8_t>(3, 0))); // nobody's type
    EXPECT_EQ(order, (std::vector<std::string>{"table", "chat", "billiards"}));
    EXPECT_EQ(socket.Pending(), 32);
}

TEST_F(TableConnectionTest, HandlerHoldingDeliveryBackIsResumedAfterIt) {
    Keyed();
    std::vector<long> seenRequests;
    billiards.takes = [&](uint16_t type) {
        if (type == msg::Crash_Begin_InPlay)
            socket.ReceiveBytes(0);
        seenRequests.push_back(socket.Pending());
        return true;
    };
    auto stream = server.Message(CCrash_Begin_InPlay{});
    const auto second = server.Message(CTurn_InPlay{});
    stream.insert(stream.end(), second.begin(), second.end());
    Push(stream);
    EXPECT_EQ(seenRequests, (std::vector<long>{0, 0}));
    EXPECT_EQ(billiards.received.size(), 2u);
}

// ---- sending ------------------------------------------------------------------------

TEST_F(TableConnectionTest, SendingNumbersAndKeysEveryMessage) {
    Keyed();
    const uint32_t counter = conn->SendCounter();
    CTurn_InPlay turn;
    turn.arc = 5;
    ASSERT_TRUE(conn->Send(turn));
    CChat_Line plain;
    plain.m_nType = msg::Chat_Line_Plain;
    ASSERT_TRUE(conn->Send(plain));
    ASSERT_EQ(socket.sent.size(), 2u);
    EXPECT_EQ(socket.sent[0].header.seq, counter + 1);
    EXPECT_TRUE(KeyedTrailerMatches(socket.sent[0].Payload(), counter + 1, server.key));
    EXPECT_EQ(socket.sent[1].header.type, 3009);
    EXPECT_TRUE(FixedTrailerMatches(socket.sent[1].Payload()));
    EXPECT_EQ(socket.calls.back(), "SendData " + std::to_string(32 + 49 + 17) + " 0");
}

TEST_F(TableConnectionTest, GameMessagesNeedTheInGameFlag) {
    Keyed();
    conn->State().inGame = false;
    EXPECT_FALSE(conn->Send(CTurn_InPlay{}));
    EXPECT_FALSE(conn->Send(CExit_Game{}));
    EXPECT_FALSE(conn->Send(CLeave_Seat{}));
    EXPECT_TRUE(conn->Send(CExit_Watch{}));
    EXPECT_TRUE(conn->Send(CExit_Answer{}));
    ASSERT_EQ(socket.sent.size(), 2u);
    EXPECT_EQ(socket.sent[0].header.type, 3027);
}

TEST_F(TableConnectionTest, KeepAliveDetectsEveryThirtySecondsOfSendingNothing) {
    Keyed();
    conn->Timers().KillTimer(C::kReceiveWatchdogTimer);
    clock.advance(29999);
    EXPECT_TRUE(socket.sent.empty());
    clock.advance(1);
    ASSERT_EQ(socket.sent.size(), 1u);
    EXPECT_EQ(socket.sent[0].header.type, msg::Detect);
    // A game message re-arms the keep-alive: no detect 30 s after the last one.
    clock.advance(20000);
    conn->Send(CTurn_InPlay{});
    clock.advance(20000);
    EXPECT_EQ(socket.sent.size(), 2u);
    clock.advance(10000);
    EXPECT_EQ(socket.sent.size(), 3u);
    EXPECT_EQ(socket.sent[2].header.type, msg::Detect);
    // Messages that do not re-arm it: the plain chat line.
    CChat_Line plain;
    plain.m_nType = msg::Chat_Line_Plain;
    clock.advance(29000);
    conn->Send(plain);
    clock.advance(1000);
    EXPECT_EQ(socket.sent.back().header.type, msg::Detect);
}

// ---- watchdogs ----------------------------------------------------------------------

TEST_F(TableConnectionTest, SilenceReconnectsThreeTimesThenGivesUp) {
    Keyed();
    for (int i = 1; i <= 3; ++i) {
        clock.advance(45000);
        EXPECT_EQ(connects(), i);
        EXPECT_EQ(conn->State().reconnectCount, i);
        EXPECT_TRUE(conn->State().reconnecting);
        EXPECT_FALSE(conn->Timers().IsActive(C::kKeepAliveTimer));
    }
    EXPECT_TRUE(reporter.shown.empty()); // silent reconnects
    clock.advance(45000);
    EXPECT_EQ(connects(), 3);
    EXPECT_TRUE(conn->State().ended);
    EXPECT_EQ(conn->State().reconnectCount, 0);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].kind, "end");
    EXPECT_EQ(platform::gbk::toUtf8(reporter.shown[0].text), "不能连接服务器，游戏结束");
    EXPECT_FALSE(conn->Timers().IsActive(C::kReceiveWatchdogTimer));
}

TEST_F(TableConnectionTest, DataKeepsTheReceiveWatchdogAway) {
    Keyed();
    for (int i = 0; i < 10; ++i) {
        clock.advance(40000);
        Push(server.Message(CDetect{}));
    }
    EXPECT_EQ(connects(), 0);
    EXPECT_EQ(conn->State().reconnectCount, 0);
}

TEST_F(TableConnectionTest, PlayerAndLoginWatchdogs) {
    const struct {
        int timer;
        int period;
    } cases[] = {{C::kPlayerWatchdogTimer, 45000}, {C::kLoginWatchdogTimer, 57606648}};
    for (const auto& c : cases) {
        SetUp();
        Keyed();
        // Look at one watchdog alone.
        conn->Timers().KillTimer(C::kReceiveWatchdogTimer);
        conn->Timers().KillTimer(C::kKeepAliveTimer);
        conn->Timers().SetTimer(c.timer, c.period);
        for (int i = 1; i <= 3; ++i) {
            clock.advance(c.period);
            EXPECT_EQ(connects(), i) << c.timer;
            EXPECT_EQ(conn->Timers().Interval(c.timer), c.period);
        }
        clock.advance(c.period);
        EXPECT_EQ(connects(), 3);
        EXPECT_TRUE(conn->State().ended);
        EXPECT_FALSE(conn->Timers().IsActive(c.timer));
        EXPECT_EQ(reporter.shown.back().kind, "end");
    }
}

TEST_F(TableConnectionTest, EndedTableKillsEveryTimerThatFires) {
    Keyed();
    conn->State().ended = true;
    clock.advance(30000);
    EXPECT_FALSE(conn->Timers().IsActive(C::kKeepAliveTimer));
    clock.advance(15000);
    EXPECT_FALSE(conn->Timers().IsActive(C::kReceiveWatchdogTimer));
    EXPECT_TRUE(socket.sent.empty());
    EXPECT_EQ(connects(), 0);
}

TEST_F(TableConnectionTest, PersonStateDrivesTheWatchdogsAndTheInGameFlag) {
    Keyed();
    const struct {
        int16_t endFlag, state;
        bool own;
        bool armed203, kills204;
        int inGame; // −1: unchanged
    } cases[] = {
        {0, 4, true, true, false, 0},    {0, 6, true, true, false, 0},
        {0, 4, false, false, false, -1}, {0, 1, true, false, true, 1},
        {0, 2, true, false, false, 1},   {0, 3, false, false, true, -1},
        {1, 4, true, true, false, -1},   {2, 1, true, false, false, -1},
    };
    for (const auto& c : cases) {
        conn->Timers().KillTimer(C::kPlayerWatchdogTimer);
        conn->Timers().SetTimer(C::kLoginWatchdogTimer, C::kLoginWatchdogMs);
        conn->State().inGame = true;
        conn->State().reconnecting = true;
        CPerson_State_Server m;
        m.m_nEndFlag = c.endFlag;
        m.m_nState = c.state;
        conn->ApplyPersonState(m, c.own);
        EXPECT_EQ(conn->Timers().IsActive(C::kPlayerWatchdogTimer), c.armed203) << c.state;
        EXPECT_EQ(!conn->Timers().IsActive(C::kLoginWatchdogTimer), c.kills204) << c.state;
        EXPECT_EQ(conn->State().inGame, c.inGame == -1 ? true : c.inGame == 1) << c.state;
        EXPECT_EQ(conn->State().reconnecting, !(c.own && c.state == 2 && c.endFlag == 0));
    }
}

TEST_F(TableConnectionTest, GameAbortRestartsTheReceiveWatchdog) {
    Keyed();
    conn->Timers().SetTimer(C::kPlayerWatchdogTimer, 45000);
    clock.advance(40000);
    conn->ApplyGameAbort();
    EXPECT_FALSE(conn->Timers().IsActive(C::kPlayerWatchdogTimer));
    EXPECT_FALSE(conn->Timers().IsActive(C::kLoginWatchdogTimer));
    clock.advance(44999);
    EXPECT_EQ(connects(), 0);
    clock.advance(1);
    EXPECT_EQ(connects(), 1);
}

TEST_F(TableConnectionTest, ExitRequestsTwicePerTable) {
    Keyed();
    conn->Timers().KillTimer(C::kReceiveWatchdogTimer);
    CExit_Request r;
    r.m_nPersonId = 1001;
    EXPECT_TRUE(conn->RequestExit(r));
    EXPECT_FALSE(conn->State().exitRequestAllowed);
    clock.advance(45000);
    EXPECT_TRUE(conn->State().exitRequestAllowed);
    EXPECT_FALSE(conn->Timers().IsActive(C::kExitRequestTimer));
    EXPECT_TRUE(conn->RequestExit(r));
    EXPECT_FALSE(conn->RequestExit(r));
    const auto exits = std::count_if(socket.sent.begin(), socket.sent.end(),
                                     [](const CFrame& f) { return f.header.type == 3031; });
    EXPECT_EQ(exits, 2);
    conn->State().inGame = false;
    EXPECT_FALSE(conn->RequestExit(r));
}

} // namespace
