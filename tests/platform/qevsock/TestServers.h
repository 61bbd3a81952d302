#pragma once
// Small servers on 127.0.0.1 for the socket component's tests: a plain TCP
// server the test scripts, and a SOCKS5 and an HTTP CONNECT proxy that tunnel
// to it and remember how they were asked. All run on the test's event loop.

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <memory>
#include <vector>

namespace qevsock_test {

// Pumps the event loop until `done` or the deadline.
bool waitFor(const std::function<bool()>& done, int ms = 5000);

// Accepts connections and records what each sends.
class ScriptServer : public QObject {
public:
    ScriptServer();
    ~ScriptServer() override;
    quint16 port() const { return m_server.serverPort(); }
    QTcpSocket* client(int i = 0) const { return i < m_clients.size() ? m_clients[i] : nullptr; }
    int clientCount() const { return int(m_clients.size()); }
    QByteArray received(int i = 0) const {
        return i < m_received.size() ? m_received[i] : QByteArray();
    }
    // Whether connection i was closed by the peer.
    bool closed(int i = 0) const { return i < m_closed.size() && m_closed[i]; }

private:
    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_clients;
    QList<QByteArray> m_received;
    QList<bool> m_closed;
};

// Silences and drops every connection of a server before the server's owner
// goes, so that no signal reaches a half-destroyed owner.
void shutDown(QTcpServer& server);

// Relays bytes between two sockets once a proxy has agreed to a tunnel.
void relay(QTcpSocket* a, QTcpSocket* b);

class Socks5Proxy : public QObject {
public:
    explicit Socks5Proxy(QByteArray user = {}, QByteArray password = {});
    ~Socks5Proxy() override;
    quint16 port() const { return m_server.serverPort(); }

    QByteArray offeredMethods; // the methods of the last greeting
    QByteArray seenUser, seenPassword;
    QByteArray targetHost;
    quint16 targetPort = 0;
    int tunnels = 0;

private:
    void onConnection(QTcpSocket* s);

    QTcpServer m_server;
    QByteArray m_user, m_password;
};

class HttpConnectProxy : public QObject {
public:
    explicit HttpConnectProxy(QByteArray user = {}, QByteArray password = {});
    ~HttpConnectProxy() override;
    quint16 port() const { return m_server.serverPort(); }

    QList<QByteArray> requests; // every request head received
    int tunnels = 0;

private:
    void onConnection(QTcpSocket* s);

    QTcpServer m_server;
    QByteArray m_expectedAuth; // "Basic …", empty when none is required
};

} // namespace qevsock_test
