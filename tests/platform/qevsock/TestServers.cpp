#include "TestServers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>

namespace qevsock_test {

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

ScriptServer::ScriptServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            const int i = int(m_clients.size());
            m_clients.push_back(s);
            m_received.push_back({});
            m_closed.push_back(false);
            connect(s, &QTcpSocket::readyRead, this,
                    [this, s, i] { m_received[i] += s->readAll(); });
            connect(s, &QTcpSocket::disconnected, this, [this, i] { m_closed[i] = true; });
        }
    });
}

void shutDown(QTcpServer& server) {
    server.close();
    for (QTcpSocket* s : server.findChildren<QTcpSocket*>()) {
        s->disconnect();
        s->abort();
    }
}

ScriptServer::~ScriptServer() {
    shutDown(m_server);
}
Socks5Proxy::~Socks5Proxy() {
    shutDown(m_server);
}
HttpConnectProxy::~HttpConnectProxy() {
    shutDown(m_server);
}

void relay(QTcpSocket* a, QTcpSocket* b) {
    QObject::connect(a, &QTcpSocket::readyRead, b, [a, b] { b->write(a->readAll()); });
    QObject::connect(b, &QTcpSocket::readyRead, a, [a, b] { a->write(b->readAll()); });
    QObject::connect(a, &QTcpSocket::disconnected, b, [b] { b->disconnectFromHost(); });
    QObject::connect(b, &QTcpSocket::disconnected, a, [a] { a->disconnectFromHost(); });
    if (a->bytesAvailable())
        b->write(a->readAll());
}

// ---- SOCKS5 (RFC 1928, user/password RFC 1929) ------------------------------------

Socks5Proxy::Socks5Proxy(QByteArray user, QByteArray password)
    : m_user(std::move(user)), m_password(std::move(password)) {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection())
            onConnection(s);
    });
}

void Socks5Proxy::onConnection(QTcpSocket* s) {
    enum Stage { Greeting, Auth, Request, Tunnel };
    auto stage = std::make_shared<Stage>(Greeting);
    auto buffer = std::make_shared<QByteArray>();
    connect(s, &QTcpSocket::readyRead, this, [this, s, stage, buffer] {
        if (*stage == Tunnel)
            return;
        *buffer += s->readAll();
        const auto& b = *buffer;
        if (*stage == Greeting) {
            if (b.size() < 2 || b.size() < 2 + quint8(b[1]))
                return;
            offeredMethods = b.mid(2, quint8(b[1]));
            const char want = m_user.isEmpty() ? 0x00 : 0x02;
            buffer->remove(0, 2 + quint8(b[1]));
            if (!offeredMethods.contains(want)) {
                s->write(QByteArray("\x05\xFF", 2));
                s->disconnectFromHost();
                return;
            }
            s->write(QByteArray("\x05", 1) + want);
            *stage = want == 0x02 ? Auth : Request;
        }
        if (*stage == Auth) {
            if (b.size() < 2)
                return;
            const int ulen = quint8(b[1]);
            if (b.size() < 2 + ulen + 1)
                return;
            const int plen = quint8(b[2 + ulen]);
            if (b.size() < 3 + ulen + plen)
                return;
            seenUser = b.mid(2, ulen);
            seenPassword = b.mid(3 + ulen, plen);
            buffer->remove(0, 3 + ulen + plen);
            const bool ok = seenUser == m_user && seenPassword == m_password;
            s->write(QByteArray("\x01", 1) + char(ok ? 0 : 1));
            if (!ok) {
                s->disconnectFromHost();
                return;
            }
            *stage = Request;
        }
        if (*stage == Request) {
            if (b.size() < 5)
                return;
            const char atyp = b[3];
            int addrLen = atyp == 1 ? 4 : atyp == 4 ? 16 : 1 + quint8(b[4]);
            if (b.size() < 4 + addrLen + 2)
                return;
            QHostAddress host;
            if (atyp == 1) {
                quint32 v = 0;
                for (int i = 0; i < 4; ++i)
                    v = v << 8 | quint8(b[4 + i]);
                host = QHostAddress(v);
                targetHost = host.toString().toLatin1();
            } else if (atyp == 3) {
                targetHost = b.mid(5, addrLen - 1);
                host = QHostAddress(QString::fromLatin1(targetHost));
            }
            targetPort = quint16(quint8(b[4 + addrLen]) << 8 | quint8(b[5 + addrLen]));
            buffer->clear();
            *stage = Tunnel;
            auto* upstream = new QTcpSocket(s);
            connect(upstream, &QTcpSocket::connected, this, [this, s, upstream] {
                ++tunnels;
                s->write(QByteArray("\x05\x00\x00\x01\x7F\x00\x00\x01\x00\x00", 10));
                relay(s, upstream);
            });
            connect(upstream, &QTcpSocket::errorOccurred, s, [s] {
                s->write(QByteArray("\x05\x05\x00\x01\x00\x00\x00\x00\x00\x00", 10));
                s->disconnectFromHost();
            });
            upstream->connectToHost(host, targetPort);
        }
    });
}

// ---- HTTP CONNECT -------------------------------------------------------------------

HttpConnectProxy::HttpConnectProxy(QByteArray user, QByteArray password) {
    if (!user.isEmpty())
        m_expectedAuth = "Basic " + (user + ':' + password).toBase64();
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection())
            onConnection(s);
    });
}

void HttpConnectProxy::onConnection(QTcpSocket* s) {
    auto buffer = std::make_shared<QByteArray>();
    auto tunnel = std::make_shared<bool>(false);
    connect(s, &QTcpSocket::readyRead, this, [this, s, buffer, tunnel] {
        if (*tunnel)
            return;
        *buffer += s->readAll();
        const int end = buffer->indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = buffer->left(end);
        buffer->remove(0, end + 4);
        requests.push_back(head);
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        if (first.value(0) != "CONNECT") {
            s->write("HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n");
            s->disconnectFromHost();
            return;
        }
        QByteArray auth;
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("proxy-authorization:"))
                auth = line.mid(line.indexOf(':') + 1).trimmed();
        if (!m_expectedAuth.isEmpty() && auth != m_expectedAuth) {
            s->write("HTTP/1.1 407 Proxy Authentication Required\r\n"
                     "Proxy-Authenticate: Basic realm=\"test\"\r\n"
                     "Connection: close\r\nContent-Length: 0\r\n\r\n");
            s->disconnectFromHost();
            return;
        }
        const QByteArray target = first.value(1);
        const int colon = target.lastIndexOf(':');
        *tunnel = true;
        auto* upstream = new QTcpSocket(s);
        connect(upstream, &QTcpSocket::connected, this, [this, s, upstream] {
            ++tunnels;
            s->write("HTTP/1.1 200 Connection established\r\n\r\n");
            relay(s, upstream);
        });
        connect(upstream, &QTcpSocket::errorOccurred, s, [s] {
            s->write("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n");
            s->disconnectFromHost();
        });
        upstream->connectToHost(QHostAddress(QString::fromLatin1(target.left(colon))),
                                quint16(target.mid(colon + 1).toUInt()));
    });
}

} // namespace qevsock_test
