#include "platform/qevsock/ReceiveQueue.h"

namespace platform {

void CReceiveQueue::Append(std::span<const uint8_t> bytes) {
    if (m_nStart > 0 && m_nStart >= m_bytes.size() / 2) {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + std::ptrdiff_t(m_nStart));
        m_nStart = 0;
    }
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void CReceiveQueue::Clear() {
    m_bytes.clear();
    m_nStart = 0;
    m_nRequest = 0;
}

std::vector<uint8_t> CReceiveQueue::Take() {
    if (!Ready())
        return {};
    const auto first = m_bytes.begin() + std::ptrdiff_t(m_nStart);
    std::vector<uint8_t> out(first, first + std::ptrdiff_t(m_nRequest));
    m_nStart += m_nRequest;
    m_nRequest = 0;
    if (m_nStart == m_bytes.size()) {
        m_bytes.clear();
        m_nStart = 0;
    }
    return out;
}

} // namespace platform
