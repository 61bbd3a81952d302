#pragma once
// Turns a received body into its message class, chosen by the type table,
// and hands it to a visitor: any callable with overloads for the classes it
// cares about, returning bool (taken or not) or void (always taken).
//
//   DispatchFromServer(type, body, Overloaded{
//       [&](const CCrash_End_InPlay_Server& m) { ... },
//       [&](const CGame_End_Server& m) { ... return true; }});
//
// The client dispatches what the server sends; a server dispatches what the
// client sends with DispatchFromClient.

#include "billiards/protocol/MessageTable.h"
#include "billiards/protocol/Messages.h"

#include <span>
#include <type_traits>

namespace protocol {

enum class DispatchResult {
    Unknown,  // no class for this type in this direction
    NotTaken, // the visitor has no overload for it, or declined it
    Taken,
    Malformed, // the body is shorter than the message's layout
};

template <class... Fs> struct Overloaded : Fs... { using Fs::operator()...; };
template <class... Fs> Overloaded(Fs...) -> Overloaded<Fs...>;

namespace detail {

template <class Cls, class V>
DispatchResult visitAs(uint16_t type, std::span<const uint8_t> body, V& v) {
    if constexpr (std::is_same_v<Cls, CNone>) {
        return DispatchResult::Unknown;
    } else if constexpr (!std::is_invocable_v<V&, const Cls&>) {
        return DispatchResult::NotTaken;
    } else {
        Cls m;
        if constexpr (requires { m.m_nType; })
            m.m_nType = type;
        if (!m.Parse(body))
            return DispatchResult::Malformed;
        if constexpr (std::is_void_v<std::invoke_result_t<V&, const Cls&>>) {
            v(m);
            return DispatchResult::Taken;
        } else {
            return v(m) ? DispatchResult::Taken : DispatchResult::NotTaken;
        }
    }
}

} // namespace detail

template <class V>
DispatchResult DispatchFromServer(uint16_t type, std::span<const uint8_t> body, V&& visitor) {
    switch (type) {
#define BILLIARDS_DISPATCH_SERVER(name, number, cli, srv, ...)                                     \
    case (number):                                                                                 \
        return detail::visitAs<srv>(type, body, visitor);
        BILLIARDS_MESSAGES(BILLIARDS_DISPATCH_SERVER)
#undef BILLIARDS_DISPATCH_SERVER
    default:
        return DispatchResult::Unknown;
    }
}

template <class V>
DispatchResult DispatchFromClient(uint16_t type, std::span<const uint8_t> body, V&& visitor) {
    switch (type) {
#define BILLIARDS_DISPATCH_CLIENT(name, number, cli, srv, ...)                                     \
    case (number):                                                                                 \
        return detail::visitAs<cli>(type, body, visitor);
        BILLIARDS_MESSAGES(BILLIARDS_DISPATCH_CLIENT)
#undef BILLIARDS_DISPATCH_CLIENT
    default:
        return DispatchResult::Unknown;
    }
}

} // namespace protocol
