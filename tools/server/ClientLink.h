#pragma once
// One client connection of the table server: the socket, the frame decoder,
// the server's own key and sequence numbers, the checks of what the client
// sends (its trailers and sequence numbers, as the client checks the
// server's) and the watchdog that drops a silent client.
//
// Memory per connection is bounded: a frame can announce at most the
// protocol's length cap, the socket reads at most a fixed buffer ahead, and a
// client that stops reading what it is sent is dropped before its queue
// grows without end.

#include "billiards/protocol/FrameDecoder.h"
#include "billiards/protocol/Framing.h"
#include "platform/timers/WindowTimers.h"

#include <QString>
#include <QTcpSocket>
#include <cstdint>
#include <memory>
#include <span>

namespace server {

class CClientLink;

class ILinkOwner {
public:
    virtual ~ILinkOwner() = default;
    // A frame that passed the checks. The link may be closed from inside.
    virtual void OnLinkFrame(CClientLink& link, const protocol::CFrame& frame) = 0;
    // Called once, when the link closes for any reason.
    virtual void OnLinkClosed(CClientLink& link, const QString& reason) = 0;
};

class CClientLink final : private platform::ITimerOwner {
public:
    static constexpr int kWatchdogTimer = 1;
    static constexpr qint64 kReadBuffer = 64 * 1024;
    static constexpr qint64 kMaxQueuedBytes = 1024 * 1024;

    CClientLink(std::unique_ptr<QTcpSocket> socket, ILinkOwner& owner, uint64_t id, int watchdogMs);
    ~CClientLink() override;
    CClientLink(const CClientLink&) = delete;
    CClientLink& operator=(const CClientLink&) = delete;

    uint64_t Id() const { return m_nId; }
    QString Peer() const { return m_sPeer; }
    bool Closed() const { return m_bClosed; }

    // Sends one message with a keyed trailer and the next sequence number.
    void SendBody(uint16_t type, std::span<const uint8_t> body);
    template <class M> void Send(const M& m) {
        if constexpr (requires { m.m_nType; })
            SendBody(m.m_nType, m.Build());
        else
            SendBody(M::kType, m.Build());
    }
    // The connection set-up (3010): a new key, the counter the client sends
    // with from now on and the last sequence number it has seen from us. Its
    // header carries sequence 0, which a client accepts whatever it has seen
    // on an earlier connection.
    void SendConnectionKey(uint32_t key, uint32_t clientCounter);

    // Flushes what is queued, then closes. The owner hears of it once.
    void Close(const QString& reason);

    // Who is on the other end, once logged in.
    bool loggedIn = false;
    uint32_t personId = 0;
    uint16_t desk = 0;
    int seat = -1;
    int watchNo = -1;

    uint64_t FramesReceived() const { return m_nFrames; }

    // Sockets of destroyed links still handing over their last bytes.
    static int LingeringSockets();

private:
    void OnTimer(int id) override;
    void onReadyRead();
    bool accept(const protocol::CFrame& frame, QString& why);
    void write(const std::vector<uint8_t>& bytes);

    std::unique_ptr<QTcpSocket> m_socket;
    ILinkOwner& m_owner;
    uint64_t m_nId;
    int m_nWatchdogMs;
    QString m_sPeer;
    protocol::CFrameDecoder m_decoder;
    protocol::CFrameSender m_sender;
    bool m_bKeyed = false;
    uint32_t m_nLastClientSeq = 0;
    bool m_bClosed = false;
    uint64_t m_nFrames = 0;
    platform::CWindowTimers m_timers{*this};
};

} // namespace server
