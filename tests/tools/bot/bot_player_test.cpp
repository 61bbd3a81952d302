// A bot whose choice goes stale while it thinks: the other player comes back
// in the middle of its thinking and the server rebuilds every table. The bot
// must think again and strike on the rebuilt table, so that the server's
// replay and every client agree with its report to the bit. The server runs
// in this process; the brain is held at a gate, so the timing is the test's.

#include "tools/bot/BotPlayer.h"

#include "platform/timers/WindowTimers.h"
#include "tests/tools/WaitUntil.h"
#include "tools/server/GameServer.h"
#include "tools/server/ServerLog.h"

#include <QCoreApplication>
#include <condition_variable>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>

namespace bot {
namespace {

constexpr uint16_t kDesk = 3;

bool waitUntil(const std::function<bool()>& done) {
    return tools::testing::waitUntil(done, 20000);
}

// Holds the first choice of a shot in play (not a break, not ball in hand),
// whoever makes it, until the test opens it. Passed on the players' threads.
class CGate {
public:
    void pass(int seat, const ShotRequest& r) {
        std::unique_lock lock(m_mutex);
        if (!m_bArmed || r.isBreak || r.ballInHand)
            return;
        m_bArmed = false;
        m_nHeld = seat;
        m_wake.wait(lock, [this] { return m_bOpen; });
    }
    int held() {
        const std::lock_guard lock(m_mutex);
        return m_nHeld;
    }
    void open() {
        {
            const std::lock_guard lock(m_mutex);
            m_bOpen = true;
        }
        m_wake.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bArmed = true;
    bool m_bOpen = false;
    int m_nHeld = -1;
};

// One player: the protocol client, the brain behind the gate, the player.
struct CSeat {
    CSeat(quint16 port, uint16_t seat, CGate& gate)
        : client(settings(port, seat)), brain({kStrongestLevel, 7u + seat, 40}),
          player(client, [this, seat, &gate](const ShotRequest& r) {
              gate.pass(seat, r);
              return brain.choose(r);
          }) {
        auto& cb = client.Callbacks();
        cb.agreeTurn = [this] { client.Agree(); };
        cb.breakTurn = [this] { player.Break(); };
        cb.shotTurn = [this] {
            ++shotTurns;
            player.Shoot();
        };
        cb.placeTurn = [this] { player.PlaceCueBall(); };
        client.Connect();
    }

    static CBotSettings settings(quint16 port, uint16_t seat) {
        CBotSettings s;
        s.port = port;
        s.id = 700u + seat;
        s.desk = kDesk;
        s.seat = seat;
        return s;
    }

    CBotClient client;
    CShotBrain brain;
    CBotPlayer player;
    int shotTurns = 0;
};

TEST(BotPlayer, ThinksAgainWhenTheTableIsRebuiltWhileItThinks) {
    server::SetLogToStderr(false);
    platform::CManualTimerDriver timers; // no watchdog or turn clock runs out meanwhile
    server::CServerConfig config;
    config.port = 0;
    config.seed = 31;
    server::CGameServer server(config);
    QString error;
    ASSERT_TRUE(server.Listen(error)) << error.toStdString();

    CGate gate;
    std::unique_ptr<CSeat> seats[2];
    seats[0] = std::make_unique<CSeat>(server.Port(), 0, gate);
    seats[1] = std::make_unique<CSeat>(server.Port(), 1, gate);
    // Whatever fails, a held player is let go before the seats are gone.
    struct OpenOnExit {
        CGate& gate;
        ~OpenOnExit() { gate.open(); }
    } openOnExit{gate};

    // The first shot after the break is being thought about.
    ASSERT_TRUE(waitUntil([&] { return gate.held() >= 0; }));
    const int held = gate.held();
    const int other = 1 - held;
    CSeat& thinker = *seats[held];
    const int turns = thinker.shotTurns;
    const uint64_t judged = server.Stats().shotsJudged;
    const int compared = thinker.client.ShotsCompared();

    // The other player drops and comes back: every table is rebuilt, the
    // thinker's included, and its turn is given again.
    seats[other].reset();
    seats[other] = std::make_unique<CSeat>(server.Port(), static_cast<uint16_t>(other), gate);
    ASSERT_TRUE(waitUntil(
        [&] { return thinker.client.RecoveriesReceived() >= 1 && thinker.shotTurns > turns; }));
    EXPECT_EQ(server.Stats().shotsJudged, judged) << "nothing was struck meanwhile";

    gate.open();
    ASSERT_TRUE(waitUntil([&] {
        return thinker.client.ShotsCompared() > compared &&
               seats[other]->client.ShotsCompared() >= 1;
    }));
    EXPECT_EQ(thinker.player.StaleChoices(), 1);
    EXPECT_EQ(server.Stats().reportDifferences, 0u) << "the strike was made on the rebuilt table";
    EXPECT_EQ(server.Stats().reportsReplaced, 0u);
    EXPECT_EQ(thinker.client.ShotMismatches(), 0);
    EXPECT_EQ(seats[other]->client.ShotMismatches(), 0);
    EXPECT_EQ(thinker.client.NetworkFaults(), 0);

    server::SetLogToStderr(true);
}

} // namespace
} // namespace bot

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
