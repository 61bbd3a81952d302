#include "billiards/protocol/MessageTable.h"

#include "billiards/protocol/Messages.h"

#include <algorithm>
#include <type_traits>
#include <vector>

namespace protocol {

namespace {

// The spellings the table uses for its columns.
constexpr MessageGroup Table = MessageGroup::Table;
constexpr MessageGroup Chat = MessageGroup::Chat;
constexpr MessageGroup Billiards = MessageGroup::Billiards;
constexpr bool Checked = false;
constexpr bool Exempt = true;
constexpr TrailerKind Keyed = TrailerKind::Keyed;
constexpr TrailerKind Fixed = TrailerKind::Fixed;

template <class C> uint32_t minBody(uint16_t type) {
    if constexpr (std::is_same_v<C, CNone>)
        return 0;
    else if constexpr (requires { C::MinBodySizeFor(type); })
        return uint32_t(C::MinBodySizeFor(type));
    else
        return uint32_t(C::kMinBodySize);
}

const std::vector<MessageInfo>& rows() {
    static const std::vector<MessageInfo> table = [] {
        std::vector<MessageInfo> t{
#define BILLIARDS_MESSAGE_ROW(name, number, cli, srv, group, receive, trailer, flags)              \
    MessageInfo{uint16_t(number),                                                                  \
                #name,                                                                             \
                std::is_same_v<cli, CNone> ? "" : #cli,                                            \
                std::is_same_v<srv, CNone> ? "" : #srv,                                            \
                group,                                                                             \
                receive,                                                                           \
                trailer,                                                                           \
                uint8_t(flags),                                                                    \
                minBody<cli>(uint16_t(number)),                                                    \
                minBody<srv>(uint16_t(number))},
            BILLIARDS_MESSAGES(BILLIARDS_MESSAGE_ROW)
#undef BILLIARDS_MESSAGE_ROW
        };
        return t;
    }();
    return table;
}

} // namespace

const MessageInfo* FindMessage(uint16_t type) {
    const auto& t = rows();
    const auto it =
        std::find_if(t.begin(), t.end(), [type](const auto& r) { return r.type == type; });
    return it == t.end() ? nullptr : &*it;
}

const MessageInfo* MessageRows(std::size_t& count) {
    count = rows().size();
    return rows().data();
}

const char* MessageName(uint16_t type, bool fromServer) {
    const MessageInfo* r = FindMessage(type);
    if (!r)
        return "";
    const char* name = fromServer ? r->serverName : r->clientName;
    return *name ? name : r->constant;
}

MessageGroup GroupOf(uint16_t type) {
    const MessageInfo* r = FindMessage(type);
    return r ? r->group : MessageGroup::Unknown;
}

bool IsTrailerExempt(uint16_t type) {
    const MessageInfo* r = FindMessage(type);
    return r && r->receiveExempt;
}

TrailerKind ClientTrailerKind(uint16_t type) {
    const MessageInfo* r = FindMessage(type);
    return r ? r->clientTrailer : TrailerKind::Keyed;
}

uint8_t SendFlagsOf(uint16_t type) {
    const MessageInfo* r = FindMessage(type);
    return r ? r->sendFlags : 0;
}

uint32_t ServerMinBody(uint16_t type) {
    const MessageInfo* r = FindMessage(type);
    return r ? r->serverMinBody : 0;
}

uint32_t ClientMinBody(uint16_t type) {
    const MessageInfo* r = FindMessage(type);
    return r ? r->clientMinBody : 0;
}

int PersonFamilyOf(uint16_t type) {
    if (type < 3106 || type > 3511)
        return -1;
    const int offset = (type - 3100) % 50;
    if (offset != 6 && offset != 7 && offset != 10 && offset != 11)
        return -1;
    return (type - 3100) / 50;
}

} // namespace protocol
