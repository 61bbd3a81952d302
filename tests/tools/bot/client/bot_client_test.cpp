// The bot's client against a scripted server built from the server's own
// connection class (keyed trailers, sequence numbers): a position message
// that crossed the bot's strike must not give the bot its turn again, and
// the strike's verdict must still be checked against the bot's simulation.

#include "tools/bot/client/BotClient.h"

#include "billiards/protocol/Messages.h"
#include "desk/model/StandardRack.h"
#include "platform/timers/WindowTimers.h"
#include "tests/tools/WaitUntil.h"
#include "tools/server/ClientLink.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace bot {
namespace {

using namespace protocol;

bool waitUntil(const std::function<bool()>& done) {
    return tools::testing::waitUntil(done, 10000);
}

// One connection, whatever the test sends on it; every frame the client
// sends is kept.
class CScriptedServer final : public server::ILinkOwner {
public:
    CScriptedServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            std::unique_ptr<QTcpSocket> socket(m_server.nextPendingConnection());
            socket->setParent(nullptr);
            m_link = std::make_unique<server::CClientLink>(std::move(socket), *this, 1, 60000);
        });
    }
    quint16 Port() const { return m_server.serverPort(); }
    server::CClientLink& Link() { return *m_link; }
    bool LoggedIn() const { return m_bLoggedIn; }
    int Count(uint16_t type) const {
        int n = 0;
        for (const CFrame& f : m_frames)
            n += f.header.type == type;
        return n;
    }
    const CFrame* Last(uint16_t type) const {
        for (auto it = m_frames.crbegin(); it != m_frames.crend(); ++it)
            if (it->header.type == type)
                return &*it;
        return nullptr;
    }

    void OnLinkFrame(server::CClientLink& link, const CFrame& frame) override {
        if (frame.header.type == msg::Table_Login && !m_bLoggedIn) {
            m_bLoggedIn = true;
            link.SendConnectionKey(0x1234567u, 99);
        }
        m_frames.push_back(frame);
    }
    void OnLinkClosed(server::CClientLink&, const QString&) override {}

private:
    QTcpServer m_server;
    std::unique_ptr<server::CClientLink> m_link;
    std::vector<CFrame> m_frames;
    bool m_bLoggedIn = false;
};

SphereArray toWire(const desk::SphereRecords& r) {
    SphereArray a{};
    std::copy(r.begin(), r.end(), a.begin());
    return a;
}

// Seat 0 to play in an open game, as a rebuilt table.
CRecover_Turn_OnPlay aimingPosition(const desk::SphereRecords& balls) {
    CRecover_Turn_OnPlay m;
    m.m_Sphere = toWire(balls);
    m.m_nNext = 0;
    m.num = 1;
    m.m_nSeatNo_Mono = 0xFFFF;
    m.m_nSeatNo_Hua = 0xFFFF;
    return m;
}

TEST(BotClient, APositionThatCrossedItsStrikeWaitsForTheStrikesVerdict) {
    platform::CManualTimerDriver timers;
    CScriptedServer server;
    CBotSettings settings;
    settings.port = server.Port();
    settings.id = 41;
    settings.desk = 2;
    settings.seat = 0;
    CBotClient client(settings);
    int shotTurns = 0;
    const desk::Strike strike{-3141592, 900, 0};
    client.Callbacks().shotTurn = [&] {
        ++shotTurns;
        client.Shoot(strike);
    };
    client.Connect();
    ASSERT_TRUE(waitUntil([&] { return server.LoggedIn(); }));

    // The table as every desk rebuilds it; the bot strikes and reports.
    const desk::SphereRecords rack = desk::standardRack(9);
    server.Link().Send(aimingPosition(rack));
    ASSERT_TRUE(waitUntil([&] { return server.Count(msg::Crash_End_InPlay) == 1; }));
    EXPECT_EQ(shotTurns, 1);
    CCrash_End_InPlay report;
    ASSERT_TRUE(report.Parse(server.Last(msg::Crash_End_InPlay)->body));

    // The server had sent the same position again before the strike reached
    // it (a player came back), then relays the strike and sends its verdict,
    // which lets the bot's report stand and passes the turn.
    server.Link().Send(aimingPosition(rack));
    CCrash_Begin_InPlay relay;
    relay.m_nSeatNo = 0;
    relay.arc = strike.arc;
    relay.speed = strike.speed;
    relay.z = strike.tip;
    relay.m_nStatus = 4;
    server.Link().Send(relay);
    CCrash_End_InPlay_Server verdict;
    verdict.m_Sphere = report.m_Sphere;
    verdict.m_nSeatNo = 1;
    verdict.gan_num = 1;
    verdict.m_nStatus = 3;
    server.Link().Send(verdict);

    ASSERT_TRUE(waitUntil([&] { return client.ShotsCompared() == 1; }))
        << "the crossing position must not drop the shot awaiting its verdict";
    EXPECT_EQ(client.ShotMismatches(), 0);
    EXPECT_EQ(client.View().turnSeat, 1);
    // Whatever the bot sends now comes after anything the crossing position
    // could have made it send.
    QCoreApplication::processEvents();
    client.Chat("done");
    ASSERT_TRUE(waitUntil([&] { return server.Count(msg::Chat_Line) >= 1; }));
    EXPECT_EQ(server.Count(msg::Crash_Begin_InPlay), 1) << "one strike, not a second one";
    EXPECT_EQ(shotTurns, 1);
    EXPECT_EQ(client.NetworkFaults(), 0);
}

} // namespace
} // namespace bot

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
