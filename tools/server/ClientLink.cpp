#include "tools/server/ClientLink.h"

#include "billiards/protocol/TableMessages.h"

#include <QTimer>

namespace server {

namespace {
// How long a closing socket may take to hand over what is queued.
constexpr int kLingerMs = 5000;
int g_lingering = 0;

void forget(QTcpSocket* s) {
    --g_lingering;
    s->deleteLater();
}
} // namespace

int CClientLink::LingeringSockets() {
    return g_lingering;
}

CClientLink::CClientLink(std::unique_ptr<QTcpSocket> socket, ILinkOwner& owner, uint64_t id,
                         int watchdogMs)
    : m_socket(std::move(socket)), m_owner(owner), m_nId(id), m_nWatchdogMs(watchdogMs) {
    m_sPeer = m_socket->peerAddress().toString() + QLatin1Char(':') +
              QString::number(m_socket->peerPort());
    m_socket->setReadBufferSize(kReadBuffer);
    QObject::connect(m_socket.get(), &QTcpSocket::readyRead, [this] { onReadyRead(); });
    QObject::connect(m_socket.get(), &QTcpSocket::disconnected,
                     [this] { Close(QStringLiteral("peer closed")); });
    QObject::connect(m_socket.get(), &QTcpSocket::errorOccurred,
                     [this](QAbstractSocket::SocketError) {
                         Close(QStringLiteral("socket error: ") + m_socket->errorString());
                     });
    m_timers.SetTimer(kWatchdogTimer, m_nWatchdogMs);
}

CClientLink::~CClientLink() {
    m_timers.KillAll();
    QTcpSocket* s = m_socket.release();
    QObject::disconnect(s, nullptr, nullptr, nullptr);
    // Let the socket hand over what is still queued, then go; a peer that
    // never takes it is cut off after a while.
    if (s->state() == QAbstractSocket::UnconnectedState) {
        s->deleteLater();
        return;
    }
    ++g_lingering;
    // Both ends may come: whichever is first lets go, the other never fires.
    QObject::connect(s, &QAbstractSocket::disconnected, s, [s] {
        QObject::disconnect(s, nullptr, nullptr, nullptr);
        forget(s);
    });
    QTimer::singleShot(kLingerMs, s, [s] {
        QObject::disconnect(s, nullptr, nullptr, nullptr);
        s->abort();
        forget(s);
    });
    if (!m_bClosed)
        s->disconnectFromHost();
}

void CClientLink::write(const std::vector<uint8_t>& bytes) {
    if (m_bClosed)
        return;
    if (m_socket->bytesToWrite() + qint64(bytes.size()) > kMaxQueuedBytes) {
        Close(QStringLiteral("not reading what it is sent"));
        return;
    }
    m_socket->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

void CClientLink::SendBody(uint16_t type, std::span<const uint8_t> body) {
    write(m_sender.Next(type, body, protocol::TrailerKind::Keyed));
}

void CClientLink::SendConnectionKey(uint32_t key, uint32_t clientCounter) {
    protocol::CConnection_Key_Server m;
    m.m_nKey = key;
    m.m_nSendCounter = clientCounter;
    m.m_nLastSeq = m_sender.Counter();
    m_sender.SetKey(key);
    const std::vector<uint8_t> body = m.Build();
    write(protocol::BuildFrame(protocol::msg::Connection_Key_Server, 0, body,
                               protocol::TrailerKind::Keyed, key));
    m_bKeyed = true;
    m_nLastClientSeq = clientCounter;
}

void CClientLink::Close(const QString& reason) {
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_timers.KillAll();
    m_socket->disconnectFromHost();
    m_owner.OnLinkClosed(*this, reason);
}

void CClientLink::OnTimer(int id) {
    if (id == kWatchdogTimer)
        Close(QStringLiteral("silent for %1 ms").arg(m_nWatchdogMs));
}

bool CClientLink::accept(const protocol::CFrame& frame, QString& why) {
    // Before the key exists only the login may come, with its fixed trailer.
    if (!m_bKeyed) {
        if (frame.header.type != protocol::msg::Table_Login) {
            why = QStringLiteral("message %1 before the login").arg(frame.header.type);
            return false;
        }
    } else if (frame.header.seq != 0) {
        if (frame.header.seq <= m_nLastClientSeq) {
            why = QStringLiteral("old sequence number %1 (last %2)")
                      .arg(frame.header.seq)
                      .arg(m_nLastClientSeq);
            return false;
        }
        m_nLastClientSeq = frame.header.seq;
    }
    if (!protocol::ClientTrailerMatches(frame, m_sender.Key())) {
        why = QStringLiteral("bad digest on message %1").arg(frame.header.type);
        return false;
    }
    return true;
}

void CClientLink::onReadyRead() {
    if (m_bClosed) {
        m_socket->readAll();
        return;
    }
    const QByteArray bytes = m_socket->readAll();
    m_decoder.Feed(
        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size())));
    protocol::CFrame frame;
    for (;;) {
        const auto status = m_decoder.Next(frame);
        if (status == protocol::CFrameDecoder::Status::NeedMore)
            return;
        if (status == protocol::CFrameDecoder::Status::BadLength) {
            Close(QStringLiteral("impossible message length"));
            return;
        }
        m_timers.SetTimer(kWatchdogTimer, m_nWatchdogMs);
        QString why;
        if (!accept(frame, why)) {
            Close(why);
            return;
        }
        ++m_nFrames;
        m_owner.OnLinkFrame(*this, frame);
        if (m_bClosed)
            return;
    }
}

} // namespace server
