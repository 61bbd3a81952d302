#include "billiards/protocol/FrameDecoder.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace protocol;

namespace {

std::vector<uint8_t> stream() {
    std::vector<uint8_t> out;
    auto add = [&](std::vector<uint8_t> f) { out.insert(out.end(), f.begin(), f.end()); };
    add(BuildFrame(3021, 1, std::vector<uint8_t>(60, 0xAB), TrailerKind::Keyed, 9));
    const auto empty = MessageHeader::Make(3011, 0, 2).Encode(); // length 0: no trailer
    out.insert(out.end(), empty.begin(), empty.end());
    add(BuildFrame(3011, 3, {}, TrailerKind::Keyed, 9));
    add(BuildFrame(3001, 4, std::vector<uint8_t>(16, 1), TrailerKind::Fixed, 9));
    return out;
}

std::vector<CFrame> decodeInChunks(const std::vector<uint8_t>& bytes, std::size_t chunk) {
    CFrameDecoder d;
    std::vector<CFrame> frames;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        d.Feed(std::span(bytes).subspan(at, std::min(chunk, bytes.size() - at)));
        CFrame f;
        while (d.Next(f) == CFrameDecoder::Status::Frame)
            frames.push_back(f);
    }
    EXPECT_EQ(d.Buffered(), 0u);
    return frames;
}

TEST(FrameDecoder, SameFramesWhateverTheChunking) {
    const auto bytes = stream();
    for (std::size_t chunk : {std::size_t(1), std::size_t(7), std::size_t(31), std::size_t(32),
                              std::size_t(33), std::size_t(49), bytes.size()}) {
        const auto frames = decodeInChunks(bytes, chunk);
        ASSERT_EQ(frames.size(), 4u) << chunk;
        EXPECT_EQ(frames[0].header.type, 3021);
        EXPECT_EQ(frames[0].body.size(), 60u);
        EXPECT_TRUE(KeyedTrailerMatches(frames[0].Payload(), 1, 9));
        EXPECT_FALSE(frames[1].hasTrailer);
        EXPECT_TRUE(frames[1].Payload().empty());
        EXPECT_TRUE(frames[2].hasTrailer);
        EXPECT_TRUE(frames[2].body.empty());
        EXPECT_TRUE(KeyedTrailerMatches(frames[2].Payload(), 3, 9));
        EXPECT_TRUE(FixedTrailerMatches(frames[3].Payload()));
        EXPECT_EQ(frames[3].header.seq, 4u);
    }
}

TEST(FrameDecoder, ImpossibleLengthsBreakTheStreamWithoutBuffering) {
    for (uint32_t length : {1u, 16u, kMaxMessageLength + 1, 0xFFFFFFFFu}) {
        CFrameDecoder d;
        const auto h = MessageHeader::Make(618, length, 1).Encode();
        d.Feed(h);
        CFrame f;
        EXPECT_EQ(d.Next(f), CFrameDecoder::Status::BadLength) << length;
        EXPECT_TRUE(d.Broken());
        d.Feed(std::vector<uint8_t>(100, 0));
        EXPECT_EQ(d.Buffered(), 0u);
        EXPECT_EQ(d.Next(f), CFrameDecoder::Status::BadLength);
        d.Reset();
        d.Feed(BuildFrame(3011, 1, {}, TrailerKind::Keyed, 0));
        EXPECT_EQ(d.Next(f), CFrameDecoder::Status::Frame);
    }
}

TEST(FrameDecoder, WaitsForTheWholeAnnouncedPayload) {
    const auto frame = BuildFrame(618, 5, std::vector<uint8_t>(1096, 3), TrailerKind::Keyed, 1);
    CFrameDecoder d;
    d.Feed(std::span(frame).first(frame.size() - 1));
    CFrame f;
    EXPECT_EQ(d.Next(f), CFrameDecoder::Status::NeedMore);
    d.Feed(std::span(frame).last(1));
    EXPECT_EQ(d.Next(f), CFrameDecoder::Status::Frame);
    EXPECT_EQ(f.body.size(), 1096u);
}

TEST(FrameDecoder, ServerChecksClientTrailersByType) {
    const uint32_t key = 0xABCD;
    const struct {
        uint16_t type;
        TrailerKind sentWith;
        bool accepted;
    } cases[] = {
        {3001, TrailerKind::Fixed, true},  {3001, TrailerKind::Keyed, false},
        {3009, TrailerKind::Fixed, true},  {3021, TrailerKind::Keyed, true},
        {3021, TrailerKind::Fixed, false}, {617, TrailerKind::Keyed, true},
        {3011, TrailerKind::Keyed, true},
    };
    for (const auto& c : cases) {
        CFrameDecoder d;
        d.Feed(BuildFrame(c.type, 12, std::vector<uint8_t>(8, 1), c.sentWith, key));
        CFrame f;
        ASSERT_EQ(d.Next(f), CFrameDecoder::Status::Frame);
        EXPECT_EQ(ClientTrailerMatches(f, key), c.accepted) << c.type;
    }
}

} // namespace
