#include "platform/qevsock/ReceiveQueue.h"

#include <gtest/gtest.h>
#include <numeric>

using platform::CReceiveQueue;

namespace {

TEST(ReceiveQueue, HandsOutExactlyTheRequestedCountsInOrder) {
    std::vector<uint8_t> bytes(1000);
    std::iota(bytes.begin(), bytes.end(), uint8_t(0));
    CReceiveQueue q;
    std::vector<uint8_t> out;
    std::size_t fed = 0;
    const std::size_t requests[] = {32, 1, 500, 17, 32, 418};
    std::size_t r = 0;
    q.Request(long(requests[r]));
    // Feed in uneven pieces; take whenever the request can be served.
    for (std::size_t piece = 3; fed < bytes.size(); piece = piece * 2 + 1) {
        const std::size_t n = std::min(piece, bytes.size() - fed);
        q.Append(std::span(bytes).subspan(fed, n));
        fed += n;
        while (q.Ready()) {
            const auto got = q.Take();
            EXPECT_EQ(got.size(), requests[r]);
            out.insert(out.end(), got.begin(), got.end());
            EXPECT_FALSE(q.Ready()); // one request, one delivery
            if (++r < std::size(requests))
                q.Request(long(requests[r]));
        }
    }
    EXPECT_EQ(out, bytes);
    EXPECT_EQ(q.Size(), 0u);
}

TEST(ReceiveQueue, ZeroOrNegativeHoldsBack) {
    CReceiveQueue q;
    q.Append(std::vector<uint8_t>(10, 1));
    for (long n : {0L, -5L}) {
        q.Request(n);
        EXPECT_FALSE(q.Ready());
        EXPECT_TRUE(q.Take().empty());
    }
    q.Request(11);
    EXPECT_FALSE(q.Ready());
    q.Request(10);
    EXPECT_EQ(q.Take().size(), 10u);
    q.Append(std::vector<uint8_t>(3, 2));
    q.Clear();
    q.Request(1);
    EXPECT_FALSE(q.Ready());
}

} // namespace
