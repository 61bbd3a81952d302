#include "FuzzTargets.h"

#include "billiards/protocol/FrameDecoder.h"
#include "billiards/protocol/MessageDispatch.h"
#include "billiards/protocol/TableConnection.h"
#include "platform/qevsock/ReceiveQueue.h"
#include "platform/timers/WindowTimers.h"

#include <cstdlib>
#include <vector>

namespace fuzz {

namespace {

// A socket component that delivers exactly what is asked for, as the real
// one does, and drops its bytes on Close and Connect.
class Socket : public platform::IQevSock {
public:
    platform::IQevSockEvents* sink = nullptr;
    std::size_t sentBytes = 0;
    bool connectPending = false;

    void Close() override { m_queue.Clear(); }
    bool Connect(const std::string&, long) override {
        m_queue.Clear();
        connectPending = true;
        return true;
    }
    short SendData(const uint8_t* data, long count, short) override {
        // Everything the client sends must be a whole, well-formed frame.
        protocol::CFrameDecoder d;
        d.Feed({data, std::size_t(count)});
        protocol::CFrame f;
        if (d.Next(f) != protocol::CFrameDecoder::Status::Frame || d.Buffered() != 0)
            std::abort();
        sentBytes += std::size_t(count);
        return short(count);
    }
    void SetProxy(short, const std::string&, long) override {}
    void SetProxyWithAuth(short, const std::string&, long, const std::string&,
                          const std::string&) override {}
    bool ReceiveBytes(long count) override {
        // The client never asks for more than one message can hold.
        if (count > long(protocol::kMaxMessageLength))
            std::abort();
        m_queue.Request(count);
        if (!m_bDelivering)
            deliver();
        return true;
    }
    void SetTimeoutValue(long) override {}
    void Advise(platform::IQevSockEvents* s) override { sink = s; }
    void Unadvise(platform::IQevSockEvents*) override { sink = nullptr; }

    void Push(std::span<const uint8_t> bytes) {
        m_queue.Append(bytes);
        deliver();
    }

private:
    void deliver() {
        m_bDelivering = true;
        while (sink && m_queue.Ready()) {
            const auto bytes = m_queue.Take();
            sink->OnReceive(bytes.data(), long(bytes.size()));
        }
        m_bDelivering = false;
    }

    platform::CReceiveQueue m_queue;
    bool m_bDelivering = false;
};

class Reporter : public protocol::IConnectionReporter {
public:
    void ShowTimedDialog(const std::string&, int) override {}
    void ShowModalMessage(const std::string&) override {}
    void ShowEndMessage(const std::string&) override {}
    void CloseTable() override {}
};

// Parses every message it is offered, as the real handlers will.
class ParsingHandler : public protocol::IMessageHandler {
public:
    bool HandleMessage(uint16_t type, std::span<const uint8_t> body) override {
        if (body.size() < protocol::ServerMinBody(type))
            std::abort(); // the connection promised to drop these
        protocol::DispatchFromServer(type, body, [](const auto& m) { (void)m.Build(); });
        return true;
    }
};

// The first byte says how many chunk sizes follow; the rest is the stream.
std::vector<std::size_t> chunking(const uint8_t*& data, std::size_t& size) {
    std::vector<std::size_t> cuts;
    if (size == 0)
        return cuts;
    std::size_t n = data[0] & 15;
    ++data;
    --size;
    for (; n > 0 && size > 0; --n, ++data, --size)
        cuts.push_back(std::size_t(data[0]) * 3 + 1);
    return cuts;
}

template <class Fn>
void feedInChunks(std::span<const uint8_t> stream, const std::vector<std::size_t>& cuts,
                  Fn&& feed) {
    std::size_t at = 0;
    for (std::size_t i = 0; at < stream.size(); ++i) {
        const std::size_t n =
            cuts.empty() ? stream.size() : std::min(cuts[i % cuts.size()], stream.size() - at);
        feed(stream.subspan(at, n));
        at += n;
    }
}

} // namespace

int FrameStream(const uint8_t* data, std::size_t size) {
    const auto cuts = chunking(data, size);
    platform::CManualTimerDriver clock;
    Socket socket;
    Reporter reporter;
    ParsingHandler handler;
    protocol::CTableConnection conn(socket, reporter);
    socket.Advise(&conn);
    protocol::CConnectionSettings settings;
    settings.address = "127.0.0.1";
    settings.port = 1;
    conn.SetSettings(settings);
    conn.SetHandlers(&handler, nullptr, &handler);
    conn.State().inGame = true;
    conn.Connect();
    socket.connectPending = false;
    conn.OnConnect(1);
    std::size_t chunk = 0;
    feedInChunks({data, size}, cuts, [&](std::span<const uint8_t> piece) {
        socket.Push(piece);
        // Now and then let time pass so that the timers join in.
        if (++chunk % 4 == 0)
            clock.advance(20000);
        // A reconnect the connection started completes, or fails.
        if (socket.connectPending && chunk % 3 == 0) {
            socket.connectPending = false;
            conn.OnConnect(piece[0] & 1);
        }
    });
    clock.advance(4 * 45000);
    if (conn.State().reconnectCount >= protocol::CTableConnection::kMaxReconnects)
        std::abort();
    return 0;
}

int FrameDecoder(const uint8_t* data, std::size_t size) {
    const auto cuts = chunking(data, size);
    protocol::CFrameDecoder decoder;
    uint32_t key = 0;
    feedInChunks({data, size}, cuts, [&](std::span<const uint8_t> piece) {
        decoder.Feed(piece);
        protocol::CFrame frame;
        protocol::CFrameDecoder::Status status;
        while ((status = decoder.Next(frame)) == protocol::CFrameDecoder::Status::Frame) {
            if (frame.header.length != 0 &&
                frame.body.size() + protocol::kTrailerSize != frame.header.length)
                std::abort();
            const auto payload = frame.Payload();
            if (frame.hasTrailer) {
                (void)protocol::KeyedTrailerMatches(payload, frame.header.seq, key);
                (void)protocol::FixedTrailerMatches(payload);
            }
            key = key * 31 + frame.header.seq;
            protocol::DispatchFromClient(frame.header.type, frame.body,
                                         [](const auto& m) { (void)m.Build(); });
        }
        if (decoder.Buffered() > protocol::kHeaderSize + protocol::kMaxMessageLength + piece.size())
            std::abort();
    });
    return 0;
}

} // namespace fuzz
