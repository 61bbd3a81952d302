#pragma once
// Test doubles around the protocol: a socket component that delivers bytes
// the way the real one does (exactly the counts asked for), a reporter that
// records dialogs, handlers that record messages, and a server side that
// builds frames with its own key and sequence numbers.

#include "billiards/protocol/FrameDecoder.h"
#include "billiards/protocol/IConnectionReporter.h"
#include "billiards/protocol/TableMessages.h"
#include "platform/qevsock/IQevSock.h"
#include "platform/qevsock/ReceiveQueue.h"

#include <functional>
#include <string>
#include <vector>

namespace protocol::testing {

class FakeSocket : public platform::IQevSock {
public:
    std::vector<std::string> calls; // "Close", "Connect host 1234", "SetProxy 1 host 8080" …
    std::vector<CFrame> sent;       // every frame given to SendData, decoded
    std::vector<std::vector<uint8_t>> sentBytes;
    std::vector<long> requests; // every ReceiveBytes argument
    long timeout = -1;
    platform::IQevSockEvents* sink = nullptr;

    void Close() override {
        calls.push_back("Close");
        m_queue.Clear();
    }
    bool Connect(const std::string& address, long port) override {
        calls.push_back("Connect " + address + " " + std::to_string(port));
        m_queue.Clear();
        return true;
    }
    short SendData(const uint8_t* data, long count, short flag) override {
        std::vector<uint8_t> bytes(data, data + count);
        sentBytes.push_back(bytes);
        calls.push_back("SendData " + std::to_string(count) + " " + std::to_string(flag));
        CFrameDecoder decoder;
        decoder.Feed(bytes);
        CFrame frame;
        if (decoder.Next(frame) == CFrameDecoder::Status::Frame)
            sent.push_back(frame);
        return short(count);
    }
    void SetProxy(short kind, const std::string& address, long port) override {
        calls.push_back("SetProxy " + std::to_string(kind) + " " + address + " " +
                        std::to_string(port));
    }
    void SetProxyWithAuth(short kind, const std::string& address, long port,
                          const std::string& user, const std::string& password) override {
        calls.push_back("SetProxyWithAuth " + std::to_string(kind) + " " + address + " " +
                        std::to_string(port) + " [" + user + "] [" + password + "]");
    }
    bool ReceiveBytes(long count) override {
        requests.push_back(count);
        m_queue.Request(count);
        if (!m_bDelivering)
            deliver();
        return true;
    }
    void SetTimeoutValue(long ms) override {
        timeout = ms;
        calls.push_back("SetTimeoutValue " + std::to_string(ms));
    }
    void Advise(platform::IQevSockEvents* s) override { sink = s; }
    void Unadvise(platform::IQevSockEvents*) override { sink = nullptr; }

    // Bytes arriving from the server, split however the test likes.
    void Push(std::span<const uint8_t> bytes) {
        m_queue.Append(bytes);
        deliver();
    }
    void PushInChunks(std::span<const uint8_t> bytes, std::span<const std::size_t> cuts) {
        std::size_t at = 0;
        for (std::size_t cut : cuts) {
            cut = std::min(cut, bytes.size());
            if (cut > at) {
                Push(bytes.subspan(at, cut - at));
                at = cut;
            }
        }
        Push(bytes.subspan(at));
    }
    long Pending() const { return long(m_queue.Requested()); }
    std::size_t Buffered() const { return m_queue.Size(); }
    void ClearLog() {
        calls.clear();
        sent.clear();
        sentBytes.clear();
        requests.clear();
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

class FakeReporter : public IConnectionReporter {
public:
    struct Shown {
        std::string kind; // "timed", "modal", "end"
        std::string text; // GBK
        int ms = 0;
    };
    std::vector<Shown> shown;
    int closeTableCalls = 0;
    std::function<void()> onModal; // runs while a modal message is "open"

    void ShowTimedDialog(const std::string& text, int ms) override {
        shown.push_back({"timed", text, ms});
    }
    void ShowModalMessage(const std::string& text) override {
        shown.push_back({"modal", text, 0});
        if (onModal)
            onModal();
    }
    void ShowEndMessage(const std::string& text) override { shown.push_back({"end", text, 0}); }
    void CloseTable() override { ++closeTableCalls; }
};

class RecordingHandler : public IMessageHandler {
public:
    std::vector<std::pair<uint16_t, std::vector<uint8_t>>> received;
    std::function<bool(uint16_t)> takes = [](uint16_t) { return true; };

    bool HandleMessage(uint16_t type, std::span<const uint8_t> body) override {
        if (!takes(type))
            return false;
        received.emplace_back(type, std::vector<uint8_t>(body.begin(), body.end()));
        return true;
    }
};

// The server's side of one connection.
class ServerSide {
public:
    uint32_t key = 0x5A17C0DE;
    uint32_t seq = 100; // the last seq the server sent

    // A frame with the next seq and the trailer the client checks.
    std::vector<uint8_t> Frame(uint16_t type, std::span<const uint8_t> body) {
        ++seq;
        return BuildFrame(type, seq, body, TrailerKind::Keyed, key);
    }
    template <class M> std::vector<uint8_t> Message(const M& m) {
        if constexpr (requires { m.m_nType; })
            return Frame(m.m_nType, m.Build());
        else
            return Frame(M::kType, m.Build());
    }
    // A frame with an explicit header seq whose trailer is keyed with
    // `trailerSeq` (what the client will use to check it).
    std::vector<uint8_t> FrameWith(uint16_t type, uint32_t headerSeq, uint32_t trailerSeq,
                                   std::span<const uint8_t> body) {
        auto frame = BuildFrame(type, headerSeq, body, TrailerKind::Keyed, key);
        const auto trailer = MessageTrailer::Keyed(body, trailerSeq, key);
        trailer.Encode(std::span<uint8_t, kTrailerSize>(frame.data() + kHeaderSize + body.size(),
                                                        kTrailerSize));
        return frame;
    }
    // A header with only a length: what the client sees for a broken stream.
    static std::vector<uint8_t> HeaderOnly(uint16_t type, uint32_t length, uint32_t headerSeq) {
        const auto h = MessageHeader::Make(type, length, headerSeq).Encode();
        return {h.begin(), h.end()};
    }
    // The connection key message that keys the client with our values.
    std::vector<uint8_t> KeyMessage(uint32_t clientCounter = 7) {
        CConnection_Key_Server m;
        m.m_nKey = key;
        m.m_nSendCounter = clientCounter;
        m.m_nLastSeq = seq;
        // 3010 goes out with seq 0 so that it never trips the sequence check.
        return BuildFrame(m.kType, 0, m.Build(), TrailerKind::Keyed, key);
    }
};

} // namespace protocol::testing
