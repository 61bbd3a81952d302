// What the protocol costs per message: building a shot outcome, reading a
// stream of server messages through the client's connection, and the frame
// decoder the table server reads clients with.
#include "billiards/protocol/BilliardsMessages.h"
#include "billiards/protocol/FrameDecoder.h"
#include "billiards/protocol/TableConnection.h"
#include "platform/qevsock/ReceiveQueue.h"

#include <benchmark/benchmark.h>

using namespace protocol;

namespace {

std::vector<uint8_t> shotFrame(uint32_t seq, uint32_t key) {
    CCrash_End_InPlay_Server m;
    for (int i = 0; i < 16; ++i)
        m.m_Sphere[std::size_t(i)].m_nX = i * 1000;
    return BuildFrame(m.kType, seq, m.Build(), TrailerKind::Keyed, key);
}

void BM_BuildShotOutcome(benchmark::State& state) {
    std::array<SphereRecord, 16> balls{};
    JudgeRecord jg{};
    CFrameSender sender;
    for (auto _ : state) {
        const auto m = CCrash_End_InPlay::FromDesk(1, 16, balls.data(), jg);
        benchmark::DoNotOptimize(sender.Next(m.kType, m.Build(), TrailerKind::Keyed));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildShotOutcome);

class Socket : public platform::IQevSock {
public:
    platform::IQevSockEvents* sink = nullptr;
    void Close() override { m_queue.Clear(); }
    bool Connect(const std::string&, long) override { return true; }
    short SendData(const uint8_t*, long count, short) override { return short(count); }
    void SetProxy(short, const std::string&, long) override {}
    void SetProxyWithAuth(short, const std::string&, long, const std::string&,
                          const std::string&) override {}
    bool ReceiveBytes(long count) override {
        m_queue.Request(count);
        return true;
    }
    void SetTimeoutValue(long) override {}
    void Advise(platform::IQevSockEvents* s) override { sink = s; }
    void Unadvise(platform::IQevSockEvents*) override {}
    void Push(std::span<const uint8_t> bytes) {
        m_queue.Append(bytes);
        while (m_queue.Ready()) {
            const auto b = m_queue.Take();
            sink->OnReceive(b.data(), long(b.size()));
        }
    }

private:
    platform::CReceiveQueue m_queue;
};

struct Quiet : IConnectionReporter, IMessageHandler {
    std::size_t taken = 0;
    void ShowTimedDialog(const std::string&, int) override {}
    void ShowModalMessage(const std::string&) override {}
    void ShowEndMessage(const std::string&) override {}
    void CloseTable() override {}
    bool HandleMessage(uint16_t, std::span<const uint8_t>) override {
        ++taken;
        return true;
    }
};

// Ball snapshots (1113-byte frames) through header, body, digest and dispatch.
void BM_ClientReceivesShotOutcomes(benchmark::State& state) {
    platform::CManualTimerDriver clock;
    Socket socket;
    Quiet quiet;
    CTableConnection conn(socket, quiet);
    socket.Advise(&conn);
    conn.SetHandlers(&quiet, nullptr, nullptr);
    conn.OnConnect(1);
    const uint32_t key = 77;
    CConnection_Key_Server k;
    k.m_nKey = key;
    socket.Push(BuildFrame(k.kType, 0, k.Build(), TrailerKind::Keyed, key));
    std::vector<uint8_t> batch;
    uint32_t seq = 1;
    for (auto _ : state) {
        state.PauseTiming();
        batch.clear();
        for (int i = 0; i < 64; ++i) {
            const auto f = shotFrame(seq++, key);
            batch.insert(batch.end(), f.begin(), f.end());
        }
        state.ResumeTiming();
        socket.Push(batch);
    }
    state.SetItemsProcessed(state.iterations() * 64);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(batch.size()));
}
BENCHMARK(BM_ClientReceivesShotOutcomes);

void BM_DecoderReadsClientStream(benchmark::State& state) {
    std::vector<uint8_t> stream;
    for (uint32_t seq = 1; seq <= 64; ++seq) {
        const auto f = shotFrame(seq, 5);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    for (auto _ : state) {
        CFrameDecoder d;
        std::size_t frames = 0;
        for (std::size_t at = 0; at < stream.size(); at += 1460) { // one TCP segment at a time
            d.Feed(std::span(stream).subspan(at, std::min<std::size_t>(1460, stream.size() - at)));
            CFrame f;
            while (d.Next(f) == CFrameDecoder::Status::Frame)
                frames += ClientTrailerMatches(f, 5) ? 1 : 0;
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetItemsProcessed(state.iterations() * 64);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(stream.size()));
}
BENCHMARK(BM_DecoderReadsClientStream);

} // namespace
