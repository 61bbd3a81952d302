#pragma once
// A raw client for the server tests: it logs in and sends whatever a test
// scripts, and checks everything the server sends the way the real client
// does (sequence numbers rising, keyed trailers over the last accepted
// sequence number and the connection key), counting every fault. Waiting is
// always for an event, with a deadline.

#include "billiards/protocol/FrameDecoder.h"
#include "billiards/protocol/Framing.h"
#include "billiards/protocol/MessageTable.h"
#include "billiards/protocol/TableMessages.h"
#include "tests/tools/WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpSocket>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace server::testing {

using tools::testing::waitUntil;

class ScriptedClient {
public:
    explicit ScriptedClient(quint16 port) {
        QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { onRead(); });
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        m_socket.waitForConnected(5000);
    }

    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // The server closed the connection (or never accepted it).
    bool waitClosed(int ms = 5000) {
        return waitUntil([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                         ms);
    }

    void login(uint32_t id, uint16_t desk, uint16_t seat, int16_t watchNo = -1) {
        protocol::CTable_Login m;
        m.m_nPersonId = id;
        m.m_nDeskNo = desk;
        m.m_nSeatNo = seat;
        m.m_nWatchNo = watchNo;
        send(protocol::msg::Table_Login, m.Build());
    }

    // Sends with the trailer the client uses for the type.
    void send(uint16_t type, const std::vector<uint8_t>& body) {
        sendRaw(m_sender.Next(type, body, protocol::ClientTrailerKind(type)));
    }
    template <class M> void sendMsg(const M& m) {
        if constexpr (requires { m.m_nType; })
            send(m.m_nType, m.Build());
        else
            send(M::kType, m.Build());
    }
    void sendRaw(const std::vector<uint8_t>& bytes) {
        m_socket.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        m_socket.flush();
    }
    protocol::CFrameSender& sender() { return m_sender; }

    // The next received frame of `type` (earlier frames of other types are
    // kept), waiting for it.
    std::optional<protocol::CFrame> next(uint16_t type, int ms = 5000) {
        std::optional<protocol::CFrame> found;
        waitUntil(
            [&] {
                for (auto it = m_frames.begin(); it != m_frames.end(); ++it) {
                    if (it->header.type == type) {
                        found = *it;
                        m_frames.erase(it);
                        return true;
                    }
                }
                return false;
            },
            ms);
        return found;
    }
    // Parses the next frame of the message's type.
    template <class M> std::optional<M> nextMsg(uint16_t type = 0, int ms = 5000) {
        if constexpr (requires { M::kType; })
            if (type == 0)
                type = M::kType;
        const auto f = next(type, ms);
        if (!f)
            return std::nullopt;
        M m;
        if constexpr (requires { m.m_nType; })
            m.m_nType = type;
        if (!m.Parse(f->body))
            return std::nullopt;
        return m;
    }
    // Whether a frame of `type` is already here (without waiting).
    bool has(uint16_t type) const {
        for (const auto& f : m_frames)
            if (f.header.type == type)
                return true;
        return false;
    }
    void clear() { m_frames.clear(); }
    // Every type received so far, in order.
    const std::vector<uint16_t>& received() const { return m_types; }

    int faults() const { return m_nFaults; }
    uint32_t key() const { return m_sender.Key(); }

private:
    void onRead() {
        const QByteArray bytes = m_socket.readAll();
        m_decoder.Feed(
            {reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size())});
        protocol::CFrame f;
        for (;;) {
            const auto status = m_decoder.Next(f);
            if (status == protocol::CFrameDecoder::Status::NeedMore)
                return;
            if (status == protocol::CFrameDecoder::Status::BadLength) {
                ++m_nFaults;
                return;
            }
            check(f);
            m_types.push_back(f.header.type);
            m_frames.push_back(f);
        }
    }

    void check(const protocol::CFrame& f) {
        if (f.header.seq != 0) {
            if (f.header.seq > m_nLastSeq)
                m_nLastSeq = f.header.seq;
            else
                ++m_nFaults;
        }
        if (f.header.type == protocol::msg::Connection_Key_Server) {
            protocol::CConnection_Key_Server m;
            if (m.Parse(f.body)) {
                m_sender.SetKey(m.m_nKey);
                m_sender.SetCounter(m.m_nSendCounter);
                m_nLastSeq = m.m_nLastSeq;
            }
            return;
        }
        if (f.hasTrailer && !protocol::IsTrailerExempt(f.header.type) &&
            !protocol::KeyedTrailerMatches(f.Payload(), m_nLastSeq, m_sender.Key()))
            ++m_nFaults;
    }

    QTcpSocket m_socket;
    protocol::CFrameDecoder m_decoder;
    protocol::CFrameSender m_sender;
    uint32_t m_nLastSeq = 0;
    std::deque<protocol::CFrame> m_frames;
    std::vector<uint16_t> m_types;
    int m_nFaults = 0;
};

} // namespace server::testing
