#pragma once
// The frame around every message body: a 32-byte MessageHeader in front and
// a 17-byte MessageTrailer (an MD5 digest and a zero byte) behind.
//
//   header (32) ‖ body (n) ‖ trailer (17), header.length = n + 17
//
// A header with length 0 has neither body nor trailer.

#include "billiards/protocol/MessageTable.h"
#include "platform/md5/CMD5Checksum.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace protocol {

inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kTrailerSize = 17;

// No message of this protocol comes near this: the largest are person lists
// (a full table of 264-byte records) and ball snapshots (1124 bytes). A
// header announcing more is a broken or hostile stream, and is refused
// before anything is allocated for it.
inline constexpr uint32_t kMaxMessageLength = 32 * 1024;

// Whether a header's length field can belong to a well-formed message:
// 0 (header only), or a body plus its trailer within the cap.
constexpr bool IsValidLength(uint32_t length) {
    return length == 0 || (length >= kTrailerSize && length <= kMaxMessageLength);
}

using Digest = CMD5Checksum::Digest;

struct MessageHeader {
    uint16_t type = 0;
    uint32_t length = 0; // body + 17, or 0
    uint32_t seq = 0;
    Digest digest{}; // the receiver does not check it

    // A header with its digest over type ‖ length ‖ seq ‖ "4736".
    static MessageHeader Make(uint16_t type, uint32_t length, uint32_t seq);
    static Digest ComputeDigest(uint16_t type, uint32_t length, uint32_t seq);

    void Encode(std::span<uint8_t, kHeaderSize> out) const;
    std::array<uint8_t, kHeaderSize> Encode() const;
    // Reads type, length, seq and digest; the reserved bytes are ignored.
    static MessageHeader Decode(std::span<const uint8_t, kHeaderSize> in);
};

struct MessageTrailer {
    Digest digest{};

    // MD5 over body ‖ seq ‖ 7351 ‖ key (each 32-bit big-endian).
    static MessageTrailer Keyed(std::span<const uint8_t> body, uint32_t seq, uint32_t key);
    static MessageTrailer Keyed(std::span<const uint8_t> body1, std::span<const uint8_t> body2,
                                uint32_t seq, uint32_t key);
    // MD5 over body ‖ 2914 ‖ 7351 ‖ 8127: the login and the messages that may
    // be sent before a connection key exists.
    static MessageTrailer Fixed(std::span<const uint8_t> body);
    static MessageTrailer Fixed(std::span<const uint8_t> body1, std::span<const uint8_t> body2);

    void Encode(std::span<uint8_t, kTrailerSize> out) const;
    // The 17th byte is not looked at.
    static MessageTrailer Decode(std::span<const uint8_t, kTrailerSize> in);
};

// One complete message: header ‖ body ‖ trailer. The body may come in two
// pieces that are sent back to back.
std::vector<uint8_t> BuildFrame(uint16_t type, uint32_t seq, std::span<const uint8_t> body,
                                TrailerKind kind, uint32_t key,
                                std::span<const uint8_t> body2 = {});

// Whether the last 17 bytes of `payload` (body ‖ trailer, as announced by a
// header's length) hold the keyed digest of the bytes before them.
bool KeyedTrailerMatches(std::span<const uint8_t> payload, uint32_t seq, uint32_t key);
bool FixedTrailerMatches(std::span<const uint8_t> payload);

// The sending side of one connection: the connection key and the send
// counter. Each frame takes the next counter value as its seq. The client
// and the table server both send through this.
class CFrameSender {
public:
    uint32_t Key() const { return m_nKey; }
    uint32_t Counter() const { return m_nSendCounter; }
    void SetKey(uint32_t key) { m_nKey = key; }
    void SetCounter(uint32_t counter) { m_nSendCounter = counter; }

    std::vector<uint8_t> Next(uint16_t type, std::span<const uint8_t> body, TrailerKind kind,
                              std::span<const uint8_t> body2 = {}) {
        return BuildFrame(type, ++m_nSendCounter, body, kind, m_nKey, body2);
    }

private:
    uint32_t m_nKey = 0;
    uint32_t m_nSendCounter = 0;
};

} // namespace protocol
