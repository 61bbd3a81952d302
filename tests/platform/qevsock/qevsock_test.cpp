// The socket component against real sockets on 127.0.0.1: a scripted server,
// and the same server behind a SOCKS5 and an HTTP CONNECT proxy.
#include "TestServers.h"
#include "platform/qevsock/QevSock.h"
#include "platform/timers/WindowTimers.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <gtest/gtest.h>

using namespace qevsock_test;
using platform::CQevSock;
using platform::IQevSockEvents;
namespace qs = platform::qevsock;

namespace {

struct Sink : IQevSockEvents {
    std::vector<short> connects;
    std::vector<QByteArray> chunks;
    std::function<void(const QByteArray&)> onReceive;

    void OnConnect(short result) override { connects.push_back(result); }
    void OnReceive(const uint8_t* data, long count) override {
        chunks.emplace_back(reinterpret_cast<const char*>(data), int(count));
        if (onReceive)
            onReceive(chunks.back());
    }
};

class QevSockTest : public ::testing::Test {
protected:
    platform::CManualTimerDriver clock; // the component's timeout runs on it
    ScriptServer server;
    CQevSock sock;
    Sink sink;

    void SetUp() override { sock.Advise(&sink); }

    bool connectTo(quint16 port) {
        sock.Connect("127.0.0.1", port);
        return waitFor([&] { return !sink.connects.empty(); }) && sink.connects.back() == 1 &&
               waitFor([&] { return server.clientCount() > 0; });
    }
    void serverSends(const QByteArray& bytes, int client = 0) {
        server.client(client)->write(bytes);
        server.client(client)->flush();
    }
};

QByteArray numbered(int n) {
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char(i & 0xFF);
    return b;
}

TEST_F(QevSockTest, DeliversExactlyTheCountAskedFor) {
    ASSERT_TRUE(connectTo(server.port()));
    EXPECT_TRUE(sock.IsConnected());
    sock.ReceiveBytes(32);
    // The server's bytes come in two pieces that do not match the request.
    serverSends(numbered(100).left(20));
    QCoreApplication::processEvents();
    serverSends(numbered(100).mid(20));
    ASSERT_TRUE(waitFor([&] { return !sink.chunks.empty(); }));
    ASSERT_EQ(sink.chunks.size(), 1u);
    EXPECT_EQ(sink.chunks[0], numbered(32));
    // No request, no delivery; 0 holds delivery back too.
    sock.ReceiveBytes(0);
    EXPECT_FALSE(waitFor([&] { return sink.chunks.size() > 1; }, 100));
    sock.ReceiveBytes(68);
    ASSERT_TRUE(waitFor([&] { return sink.chunks.size() == 2; }));
    EXPECT_EQ(sink.chunks[1], numbered(100).mid(32));
}

TEST_F(QevSockTest, RequestMadeDuringADeliveryIsServedByIt) {
    ASSERT_TRUE(connectTo(server.port()));
    // A header of 4 bytes announcing the body length, as a receiver does it.
    sink.onReceive = [&](const QByteArray& chunk) {
        if (sink.chunks.size() % 2 == 1)
            sock.ReceiveBytes(quint8(chunk[3]));
        else
            sock.ReceiveBytes(4);
    };
    sock.ReceiveBytes(4);
    serverSends(QByteArray("\0\0\0\3abc\0\0\0\1d\0\0\0\2ef", 19));
    ASSERT_TRUE(waitFor([&] { return sink.chunks.size() == 6; }));
    EXPECT_EQ(sink.chunks[1], "abc");
    EXPECT_EQ(sink.chunks[3], "d");
    EXPECT_EQ(sink.chunks[5], "ef");
}

TEST_F(QevSockTest, SendsWhatItIsGiven) {
    ASSERT_TRUE(connectTo(server.port()));
    const QByteArray msg = numbered(49);
    EXPECT_EQ(sock.SendData(reinterpret_cast<const uint8_t*>(msg.constData()), msg.size(), 0), 49);
    ASSERT_TRUE(waitFor([&] { return server.received().size() == 49; }));
    EXPECT_EQ(server.received(), msg);
}

TEST_F(QevSockTest, RefusedConnectionReportsZero) {
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
    } // nobody listens there now
    sock.Connect("127.0.0.1", port);
    ASSERT_TRUE(waitFor([&] { return !sink.connects.empty(); }));
    EXPECT_EQ(sink.connects, std::vector<short>{0});
    EXPECT_FALSE(sock.Connect("127.0.0.1", 70000));
}

TEST_F(QevSockTest, CloseDropsTheConnectionAndItsBytes) {
    ASSERT_TRUE(connectTo(server.port()));
    serverSends(numbered(10));
    waitFor([] { return false; }, 50); // let the bytes arrive and be buffered
    sock.Close();
    EXPECT_FALSE(sock.IsConnected());
    sock.ReceiveBytes(10);
    EXPECT_FALSE(waitFor([&] { return !sink.chunks.empty(); }, 100));
    const uint8_t byte = 1;
    EXPECT_EQ(sock.SendData(&byte, 1, 0), 0);
    ASSERT_TRUE(waitFor([&] { return server.closed(); }));
}

TEST_F(QevSockTest, SilenceLongerThanTheTimeoutClosesTheConnection) {
    ASSERT_TRUE(connectTo(server.port()));
    sock.SetTimeoutValue(60000);
    clock.advance(59999);
    EXPECT_TRUE(sock.IsConnected());
    serverSends("x");
    sock.ReceiveBytes(1);
    ASSERT_TRUE(waitFor([&] { return sink.chunks.size() == 1; }));
    clock.advance(59999); // the byte re-armed the timeout
    EXPECT_TRUE(sock.IsConnected());
    clock.advance(1);
    EXPECT_FALSE(sock.IsConnected());
    EXPECT_EQ(sink.connects, std::vector<short>{1}); // closing is silent
    EXPECT_TRUE(waitFor([&] { return server.closed(); }));
}

TEST_F(QevSockTest, ConnectThatTakesLongerThanTheTimeoutFails) {
    sock.SetTimeoutValue(500);
    // A listening socket whose backlog never accepts still completes the TCP
    // handshake, so use a proxy that never answers the greeting instead.
    QTcpServer silent;
    silent.listen(QHostAddress::LocalHost, 0);
    sock.SetProxy(qs::ProxySocks5, "127.0.0.1", silent.serverPort());
    sock.Connect("127.0.0.1", server.port());
    ASSERT_TRUE(waitFor([&] { return silent.hasPendingConnections(); }));
    EXPECT_TRUE(sink.connects.empty());
    clock.advance(500);
    EXPECT_EQ(sink.connects, std::vector<short>{0});
}

// ---- proxies --------------------------------------------------------------------------

void exchangeThrough(QevSockTest&, CQevSock& sock, ScriptServer& server, Sink& sink) {
    sock.Connect("127.0.0.1", server.port());
    ASSERT_TRUE(waitFor([&] { return !sink.connects.empty(); }));
    ASSERT_EQ(sink.connects.back(), 1);
    ASSERT_TRUE(waitFor([&] { return server.clientCount() > 0; }));
    const QByteArray hello = "hello through the proxy";
    sock.SendData(reinterpret_cast<const uint8_t*>(hello.constData()), hello.size(), 0);
    ASSERT_TRUE(waitFor([&] { return server.received() == hello; }));
    server.client()->write("reply");
    sock.ReceiveBytes(5);
    ASSERT_TRUE(waitFor([&] { return !sink.chunks.empty(); }));
    EXPECT_EQ(sink.chunks[0], "reply");
}

TEST_F(QevSockTest, Socks5WithoutUserName) {
    Socks5Proxy proxy;
    sock.SetProxyWithAuth(qs::ProxySocks5, "127.0.0.1", proxy.port(), "ignored", "ignored");
    exchangeThrough(*this, sock, server, sink);
    EXPECT_EQ(proxy.offeredMethods, QByteArray(1, 0));
    EXPECT_EQ(proxy.targetHost, "127.0.0.1");
    EXPECT_EQ(proxy.targetPort, server.port());
}

TEST_F(QevSockTest, Socks5WithUserNameAndPassword) {
    Socks5Proxy proxy("bob", "secret");
    sock.SetProxyWithAuth(qs::ProxySocks5Auth, "127.0.0.1", proxy.port(), "bob", "secret");
    exchangeThrough(*this, sock, server, sink);
    EXPECT_TRUE(proxy.offeredMethods.contains('\x02'));
    EXPECT_EQ(proxy.seenUser, "bob");
    EXPECT_EQ(proxy.seenPassword, "secret");
}

TEST_F(QevSockTest, Socks5WrongPasswordFailsTheConnect) {
    Socks5Proxy proxy("bob", "secret");
    sock.SetProxyWithAuth(qs::ProxySocks5Auth, "127.0.0.1", proxy.port(), "bob", "guess");
    sock.Connect("127.0.0.1", server.port());
    ASSERT_TRUE(waitFor([&] { return !sink.connects.empty(); }));
    EXPECT_EQ(sink.connects.back(), 0);
    EXPECT_EQ(server.clientCount(), 0);
}

TEST_F(QevSockTest, HttpConnectWithoutUserName) {
    HttpConnectProxy proxy;
    sock.SetProxy(qs::ProxyHttpConnect, "127.0.0.1", proxy.port());
    exchangeThrough(*this, sock, server, sink);
    ASSERT_FALSE(proxy.requests.isEmpty());
    EXPECT_TRUE(
        proxy.requests[0].startsWith("CONNECT 127.0.0.1:" + QByteArray::number(server.port())));
    EXPECT_FALSE(proxy.requests[0].toLower().contains("proxy-authorization"));
}

TEST_F(QevSockTest, HttpConnectWithUserNameAndPassword) {
    HttpConnectProxy proxy("alice", "pw");
    sock.SetProxyWithAuth(qs::ProxyHttpConnectAuth, "127.0.0.1", proxy.port(), "alice", "pw");
    exchangeThrough(*this, sock, server, sink);
    EXPECT_EQ(proxy.tunnels, 1);
    EXPECT_TRUE(proxy.requests.back().contains("Basic " + QByteArray("alice:pw").toBase64()));
}

TEST_F(QevSockTest, ProxyKindsMapToQtProxies) {
    const struct {
        short kind;
        const char* user;
        QNetworkProxy::ProxyType type;
        const char* expectedUser;
    } cases[] = {
        {qs::ProxyHttpConnect, "u", QNetworkProxy::HttpProxy, ""},
        {qs::ProxySocks5, "u", QNetworkProxy::Socks5Proxy, ""},
        {qs::ProxySocks5Auth, "u", QNetworkProxy::Socks5Proxy, "u"},
        {qs::ProxyHttpConnectAuth, "u", QNetworkProxy::HttpProxy, "u"},
        {qs::ProxyHttpConnectAuth, "", QNetworkProxy::HttpProxy, ""},
        {9, "u", QNetworkProxy::NoProxy, ""},
    };
    for (const auto& c : cases) {
        sock.SetProxyWithAuth(c.kind, "10.0.0.1", 1080, c.user, "p");
        EXPECT_EQ(sock.Proxy().type(), c.type) << c.kind;
        EXPECT_EQ(sock.Proxy().user().toStdString(), c.expectedUser) << c.kind;
        if (c.type != QNetworkProxy::NoProxy) {
            EXPECT_EQ(sock.Proxy().port(), 1080);
        }
    }
}

} // namespace

// Sockets need an event loop but no display.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
