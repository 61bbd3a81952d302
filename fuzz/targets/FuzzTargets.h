#pragma once
// The fuzz targets: each takes one arbitrary input and must neither crash nor
// trip a sanitizer. They abort on a broken invariant so that the fuzzer (or
// the replay test of the default build) reports it.

#include <cstddef>
#include <cstdint>
#include <span>

namespace fuzz {

// A server's byte stream, cut into chunks the input chooses, through the
// client's connection (receive machine, checks, dispatch, timers).
int FrameStream(const uint8_t* data, std::size_t size);
// A client's byte stream through the frame decoder, the trailer checks and
// the parsers of what clients send, as the table server reads it.
int FrameDecoder(const uint8_t* data, std::size_t size);
// Two bytes of message type, then a body: every parser of a message the
// server sends, and build(parse(x)) must parse back to itself.
int ServerMessages(const uint8_t* data, std::size_t size);
// The same for every message the client sends.
int ClientMessages(const uint8_t* data, std::size_t size);

struct Target {
    const char* name; // also the folder of its seeds under fuzz/corpus/
    int (*run)(const uint8_t*, std::size_t);
};

inline constexpr Target kTargets[] = {
    {"frame_stream", FrameStream},
    {"frame_decoder", FrameDecoder},
    {"server_messages", ServerMessages},
    {"client_messages", ClientMessages},
};

} // namespace fuzz
