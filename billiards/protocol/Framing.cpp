#include "billiards/protocol/Framing.h"

#include <algorithm>

namespace protocol {

namespace {

// Salts of the digests; part of the wire format.
constexpr char kHeaderSalt[4] = {'4', '7', '3', '6'};
constexpr uint32_t kKeyedSalt = 7351;
constexpr uint32_t kFixedSalt[3] = {2914, 7351, 8127};

void putBE(uint8_t* p, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i, v >>= 8)
        p[i] = uint8_t(v);
}

uint32_t getBE(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | p[i];
    return v;
}

// Empty pieces are skipped: an empty span may carry a null pointer.
void updateBytes(CMD5Checksum& md5, std::span<const uint8_t> bytes) {
    if (!bytes.empty())
        md5.Update(bytes.data(), bytes.size());
}

void updateU32(CMD5Checksum& md5, uint32_t v) {
    uint8_t b[4];
    putBE(b, v, 4);
    md5.Update(b, 4);
}

bool digestAtEndMatches(std::span<const uint8_t> payload, const Digest& expected) {
    const auto got = payload.subspan(payload.size() - kTrailerSize, expected.size());
    return std::equal(got.begin(), got.end(), expected.begin());
}

} // namespace

Digest MessageHeader::ComputeDigest(uint16_t type, uint32_t length, uint32_t seq) {
    uint8_t bytes[14];
    putBE(bytes, type, 2);
    putBE(bytes + 2, length, 4);
    putBE(bytes + 6, seq, 4);
    std::copy(std::begin(kHeaderSalt), std::end(kHeaderSalt), bytes + 10);
    return CMD5Checksum::GetMD5(bytes, sizeof bytes);
}

MessageHeader MessageHeader::Make(uint16_t type, uint32_t length, uint32_t seq) {
    return MessageHeader{type, length, seq, ComputeDigest(type, length, seq)};
}

void MessageHeader::Encode(std::span<uint8_t, kHeaderSize> out) const {
    std::fill(out.begin(), out.end(), uint8_t(0));
    putBE(out.data(), type, 2);
    putBE(out.data() + 4, length, 4);
    putBE(out.data() + 8, seq, 4);
    std::copy(digest.begin(), digest.end(), out.data() + 12);
}

std::array<uint8_t, kHeaderSize> MessageHeader::Encode() const {
    std::array<uint8_t, kHeaderSize> out;
    Encode(std::span<uint8_t, kHeaderSize>(out));
    return out;
}

MessageHeader MessageHeader::Decode(std::span<const uint8_t, kHeaderSize> in) {
    MessageHeader h;
    h.type = uint16_t(getBE(in.data(), 2));
    h.length = getBE(in.data() + 4, 4);
    h.seq = getBE(in.data() + 8, 4);
    std::copy_n(in.data() + 12, h.digest.size(), h.digest.begin());
    return h;
}

MessageTrailer MessageTrailer::Keyed(std::span<const uint8_t> body, uint32_t seq, uint32_t key) {
    return Keyed(body, {}, seq, key);
}

MessageTrailer MessageTrailer::Keyed(std::span<const uint8_t> body1, std::span<const uint8_t> body2,
                                     uint32_t seq, uint32_t key) {
    CMD5Checksum md5;
    updateBytes(md5, body1);
    updateBytes(md5, body2);
    updateU32(md5, seq);
    updateU32(md5, kKeyedSalt);
    updateU32(md5, key);
    return MessageTrailer{md5.Final()};
}

MessageTrailer MessageTrailer::Fixed(std::span<const uint8_t> body) {
    return Fixed(body, {});
}

MessageTrailer MessageTrailer::Fixed(std::span<const uint8_t> body1,
                                     std::span<const uint8_t> body2) {
    CMD5Checksum md5;
    updateBytes(md5, body1);
    updateBytes(md5, body2);
    for (const uint32_t v : kFixedSalt)
        updateU32(md5, v);
    return MessageTrailer{md5.Final()};
}

void MessageTrailer::Encode(std::span<uint8_t, kTrailerSize> out) const {
    std::copy(digest.begin(), digest.end(), out.begin());
    out[16] = 0;
}

MessageTrailer MessageTrailer::Decode(std::span<const uint8_t, kTrailerSize> in) {
    MessageTrailer t;
    std::copy_n(in.begin(), t.digest.size(), t.digest.begin());
    return t;
}

std::vector<uint8_t> BuildFrame(uint16_t type, uint32_t seq, std::span<const uint8_t> body,
                                TrailerKind kind, uint32_t key, std::span<const uint8_t> body2) {
    const std::size_t bodySize = body.size() + body2.size();
    const auto length = uint32_t(bodySize + kTrailerSize);
    std::vector<uint8_t> frame(kHeaderSize + bodySize + kTrailerSize);
    MessageHeader::Make(type, length, seq)
        .Encode(std::span<uint8_t, kHeaderSize>(frame.data(), kHeaderSize));
    std::copy(body.begin(), body.end(), frame.begin() + kHeaderSize);
    std::copy(body2.begin(), body2.end(),
              frame.begin() + std::ptrdiff_t(kHeaderSize + body.size()));
    const MessageTrailer trailer = kind == TrailerKind::Fixed
                                       ? MessageTrailer::Fixed(body, body2)
                                       : MessageTrailer::Keyed(body, body2, seq, key);
    trailer.Encode(
        std::span<uint8_t, kTrailerSize>(frame.data() + kHeaderSize + bodySize, kTrailerSize));
    return frame;
}

bool KeyedTrailerMatches(std::span<const uint8_t> payload, uint32_t seq, uint32_t key) {
    if (payload.size() < kTrailerSize)
        return false;
    const auto body = payload.first(payload.size() - kTrailerSize);
    return digestAtEndMatches(payload, MessageTrailer::Keyed(body, seq, key).digest);
}

bool FixedTrailerMatches(std::span<const uint8_t> payload) {
    if (payload.size() < kTrailerSize)
        return false;
    const auto body = payload.first(payload.size() - kTrailerSize);
    return digestAtEndMatches(payload, MessageTrailer::Fixed(body).digest);
}

} // namespace protocol
