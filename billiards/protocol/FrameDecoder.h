#pragma once
// Cuts a byte stream into frames. Fed arbitrary chunks (a socket's reads,
// split wherever the network split them), it hands out each complete
// message as header, body and trailer. It knows nothing about sockets,
// sequence numbers or keys: the table server reads its clients with it, and
// the tests and fuzzers use it to look at what a peer sent.
//
// A header whose length cannot belong to a message (1 … 16, or above
// kMaxMessageLength) breaks the stream: the decoder reports it once and
// stays broken until Reset(), without ever buffering the announced size.

#include "billiards/protocol/Framing.h"

#include <cstdint>
#include <span>
#include <vector>

namespace protocol {

struct CFrame {
    MessageHeader header;
    std::vector<uint8_t> body; // without the trailer
    bool hasTrailer = false;   // false for a header with length 0
    MessageTrailer trailer;

    // body ‖ trailer as it was on the wire (empty for length 0).
    std::vector<uint8_t> Payload() const;
};

// How the table server checks a client's frame: the fixed trailer for the
// types the client sends with one, otherwise the keyed trailer over the
// frame's own seq and the connection key. A header without a body (length
// 0) has nothing to check.
bool ClientTrailerMatches(const CFrame& frame, uint32_t key);

class CFrameDecoder {
public:
    enum class Status { NeedMore, Frame, BadLength };

    void Feed(std::span<const uint8_t> bytes);
    // The next complete frame, if one is buffered.
    Status Next(CFrame& out);
    void Reset();

    bool Broken() const { return m_bBroken; }
    std::size_t Buffered() const { return m_buffer.size() - m_nStart; }

private:
    std::vector<uint8_t> m_buffer;
    std::size_t m_nStart = 0; // consumed bytes at the front of m_buffer
    bool m_bBroken = false;
};

} // namespace protocol
