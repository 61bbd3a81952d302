#include "FuzzTargets.h"

#include "billiards/protocol/MessageDispatch.h"

#include <cstdlib>
#include <vector>

namespace fuzz {

namespace {

// build(parse(x)) is a normal form: parsing it again and building must give
// the same bytes, or the two directions of a layout disagree.
struct RoundTrip {
    uint16_t type;
    bool fromServer;

    template <class M> bool operator()(const M& m) const {
        const std::vector<uint8_t> once = m.Build();
        M again;
        if constexpr (requires { again.m_nType; })
            again.m_nType = type;
        if (!again.Parse(once))
            std::abort();
        if (again.Build() != once)
            std::abort();
        const uint32_t min =
            fromServer ? protocol::ServerMinBody(type) : protocol::ClientMinBody(type);
        if (once.size() < min)
            std::abort();
        return true;
    }
};

int runMessages(const uint8_t* data, std::size_t size, bool fromServer) {
    if (size < 2)
        return 0;
    const auto type = uint16_t(data[0] << 8 | data[1]);
    const std::span<const uint8_t> body(data + 2, size - 2);
    const RoundTrip check{type, fromServer};
    const auto result = fromServer ? protocol::DispatchFromServer(type, body, check)
                                   : protocol::DispatchFromClient(type, body, check);
    // A body long enough for its layout is always readable.
    const uint32_t min = fromServer ? protocol::ServerMinBody(type) : protocol::ClientMinBody(type);
    if (result == protocol::DispatchResult::Malformed && body.size() >= min)
        std::abort();
    return 0;
}

} // namespace

int ServerMessages(const uint8_t* data, std::size_t size) {
    return runMessages(data, size, true);
}
int ClientMessages(const uint8_t* data, std::size_t size) {
    return runMessages(data, size, false);
}

} // namespace fuzz
