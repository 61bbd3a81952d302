#include "billiards/protocol/FrameDecoder.h"

#include <algorithm>

namespace protocol {

std::vector<uint8_t> CFrame::Payload() const {
    std::vector<uint8_t> out(body);
    if (hasTrailer) {
        out.resize(body.size() + kTrailerSize);
        trailer.Encode(std::span<uint8_t, kTrailerSize>(out.data() + body.size(), kTrailerSize));
    }
    return out;
}

bool ClientTrailerMatches(const CFrame& frame, uint32_t key) {
    if (!frame.hasTrailer)
        return true;
    const auto payload = frame.Payload();
    return ClientTrailerKind(frame.header.type) == TrailerKind::Fixed
               ? FixedTrailerMatches(payload)
               : KeyedTrailerMatches(payload, frame.header.seq, key);
}

void CFrameDecoder::Feed(std::span<const uint8_t> bytes) {
    if (m_bBroken)
        return;
    // Drop what was consumed before growing, so the buffer never holds more
    // than one frame and one chunk.
    if (m_nStart > 0) {
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + std::ptrdiff_t(m_nStart));
        m_nStart = 0;
    }
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

CFrameDecoder::Status CFrameDecoder::Next(CFrame& out) {
    if (m_bBroken)
        return Status::BadLength;
    const std::span<const uint8_t> data(m_buffer.data() + m_nStart, m_buffer.size() - m_nStart);
    if (data.size() < kHeaderSize)
        return Status::NeedMore;
    const MessageHeader header = MessageHeader::Decode(data.first<kHeaderSize>());
    if (!IsValidLength(header.length)) {
        m_bBroken = true;
        m_buffer.clear();
        m_nStart = 0;
        return Status::BadLength;
    }
    if (data.size() - kHeaderSize < header.length)
        return Status::NeedMore;

    out.header = header;
    out.hasTrailer = header.length != 0;
    out.body.clear();
    if (out.hasTrailer) {
        const auto payload = data.subspan(kHeaderSize, header.length);
        const auto body = payload.first(header.length - kTrailerSize);
        out.body.assign(body.begin(), body.end());
        out.trailer = MessageTrailer::Decode(payload.subspan(body.size()).first<kTrailerSize>());
    } else {
        out.trailer = MessageTrailer{};
    }
    m_nStart += kHeaderSize + header.length;
    return Status::Frame;
}

void CFrameDecoder::Reset() {
    m_buffer.clear();
    m_nStart = 0;
    m_bBroken = false;
}

} // namespace protocol
