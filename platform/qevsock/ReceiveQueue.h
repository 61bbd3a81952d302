#pragma once
// The receive side of the socket component without the socket: bytes come in
// as the network splits them, and leave in exactly the counts the receiver
// asked for.

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

class CReceiveQueue {
public:
    void Append(std::span<const uint8_t> bytes);
    void Clear();

    // The next delivery's size; 0 or less holds delivery back.
    void Request(long count) { m_nRequest = count > 0 ? std::size_t(count) : 0; }
    std::size_t Requested() const { return m_nRequest; }

    bool Ready() const { return m_nRequest > 0 && Size() >= m_nRequest; }
    // Removes and returns the requested bytes and clears the request. Empty
    // when not Ready().
    std::vector<uint8_t> Take();

    std::size_t Size() const { return m_bytes.size() - m_nStart; }

private:
    std::vector<uint8_t> m_bytes;
    std::size_t m_nStart = 0;
    std::size_t m_nRequest = 0;
};

} // namespace platform
