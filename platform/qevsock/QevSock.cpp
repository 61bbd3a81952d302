#include "platform/qevsock/QevSock.h"

#include <QMetaObject>
#include <algorithm>

namespace platform {

void CQevSock::SocketDeleter::operator()(QTcpSocket* s) const {
    // The socket may be dropped from inside one of its own signals (a
    // receiver closing the connection in OnReceive): let the loop delete it.
    s->disconnect();
    s->abort();
    s->deleteLater();
}

CQevSock::CQevSock(QObject* parent) : QObject(parent) {}

CQevSock::~CQevSock() = default;

bool CQevSock::IsConnected() const {
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

void CQevSock::dropSocket() {
    m_socket.reset();
    m_bConnecting = false;
    m_timers.KillTimer(kTimeoutTimer);
}

void CQevSock::Close() {
    dropSocket();
    m_queue.Clear();
}

bool CQevSock::Connect(const std::string& address, long port) {
    Close();
    if (port <= 0 || port > 65535)
        return false;
    m_socket.reset(new QTcpSocket);
    m_socket->setProxy(m_proxy);
    QTcpSocket* s = m_socket.get();
    connect(s, &QTcpSocket::connected, this, &CQevSock::onConnected);
    connect(s, &QTcpSocket::errorOccurred, this, &CQevSock::onError);
    connect(s, &QTcpSocket::readyRead, this, &CQevSock::onReadyRead);
    m_bConnecting = true;
    armTimeout();
    s->connectToHost(QString::fromStdString(address), quint16(port));
    return true;
}

short CQevSock::SendData(const uint8_t* data, long count, short) {
    if (!IsConnected() || !data || count <= 0)
        return 0;
    const qint64 written = m_socket->write(reinterpret_cast<const char*>(data), count);
    return written < 0 ? 0 : short(std::min<qint64>(written, 0x7FFF));
}

void CQevSock::SetProxy(short kind, const std::string& address, long port) {
    SetProxyWithAuth(kind, address, port, {}, {});
}

void CQevSock::SetProxyWithAuth(short kind, const std::string& address, long port,
                                const std::string& user, const std::string& password) {
    using namespace qevsock;
    const auto host = QString::fromStdString(address);
    const auto p = quint16(std::clamp<long>(port, 0, 65535));
    const bool withUser = !user.empty();
    switch (kind) {
    case ProxyHttpConnect:
        m_proxy = QNetworkProxy(QNetworkProxy::HttpProxy, host, p);
        break;
    case ProxySocks5:
        m_proxy = QNetworkProxy(QNetworkProxy::Socks5Proxy, host, p);
        break;
    case ProxySocks5Auth:
        m_proxy = QNetworkProxy(QNetworkProxy::Socks5Proxy, host, p, QString::fromStdString(user),
                                QString::fromStdString(password));
        break;
    case ProxyHttpConnectAuth:
        m_proxy =
            withUser ? QNetworkProxy(QNetworkProxy::HttpProxy, host, p,
                                     QString::fromStdString(user), QString::fromStdString(password))
                     : QNetworkProxy(QNetworkProxy::HttpProxy, host, p);
        break;
    default:
        // An unknown kind connects directly rather than through a guess.
        m_proxy = QNetworkProxy(QNetworkProxy::NoProxy);
        break;
    }
}

bool CQevSock::ReceiveBytes(long count) {
    m_queue.Request(count);
    scheduleDelivery();
    return true;
}

void CQevSock::SetTimeoutValue(long ms) {
    m_nTimeoutMs = std::max(0L, ms);
    armTimeout();
}

void CQevSock::Advise(IQevSockEvents* sink) {
    if (sink && std::find(m_sinks.begin(), m_sinks.end(), sink) == m_sinks.end())
        m_sinks.push_back(sink);
}

void CQevSock::Unadvise(IQevSockEvents* sink) {
    std::erase(m_sinks, sink);
}

void CQevSock::armTimeout() {
    if (m_nTimeoutMs > 0 && m_socket)
        m_timers.SetTimer(kTimeoutTimer, int(std::min<long>(m_nTimeoutMs, 0x7FFFFFFF)));
    else
        m_timers.KillTimer(kTimeoutTimer);
}

void CQevSock::OnTimer(int id) {
    if (id != kTimeoutTimer)
        return;
    const bool wasConnecting = m_bConnecting;
    dropSocket();
    if (wasConnecting)
        fireConnect(0);
}

void CQevSock::fireConnect(short result) {
    QPointer<CQevSock> self(this);
    const auto sinks = m_sinks; // a sink may unadvise itself
    for (auto* sink : sinks) {
        sink->OnConnect(result);
        if (!self)
            return;
    }
}

void CQevSock::onConnected() {
    m_bConnecting = false;
    armTimeout();
    fireConnect(1);
}

void CQevSock::onError() {
    if (!m_bConnecting)
        return; // a dropped connection is noticed by the receiver's own watchdog
    dropSocket();
    fireConnect(0);
}

void CQevSock::onReadyRead() {
    if (!m_socket)
        return;
    const QByteArray bytes = m_socket->readAll();
    if (bytes.isEmpty())
        return;
    armTimeout();
    m_queue.Append(
        {reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size())});
    deliver();
}

void CQevSock::scheduleDelivery() {
    // A request made while a delivery runs is served by that delivery's loop;
    // any other goes through the event loop, so the caller never sees
    // OnReceive from inside its own ReceiveBytes call.
    if (m_bDelivering || m_bDeliveryPosted || !m_queue.Ready())
        return;
    m_bDeliveryPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bDeliveryPosted = false;
            deliver();
        },
        Qt::QueuedConnection);
}

void CQevSock::deliver() {
    if (m_bDelivering)
        return;
    QPointer<CQevSock> self(this);
    m_bDelivering = true;
    while (m_queue.Ready()) {
        const std::vector<uint8_t> bytes = m_queue.Take();
        const auto sinks = m_sinks;
        for (auto* sink : sinks) {
            sink->OnReceive(bytes.data(), long(bytes.size()));
            if (!self)
                return;
        }
    }
    m_bDelivering = false;
}

} // namespace platform
