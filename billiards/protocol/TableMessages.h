#pragma once
// The table and system messages with a fixed body: logging in, connection
// keys, keep-alive, person states, leaving, exit negotiation, game end,
// magic actions. Person lists, referees and avatars are in PersonMessages.h,
// chat lines in ChatLine.h.

#include "billiards/protocol/MessageBase.h"
#include "billiards/protocol/MessageTable.h"

namespace protocol {

// Sent after every connect, with a fixed trailer.
struct CTable_Login : CFixedMessage<CTable_Login, msg::Table_Login, 16> {
    uint32_t m_nPersonId = 0;
    uint16_t m_nDeskNo = 0; // server desk
    uint16_t m_nSeatNo = 0; // server seat
    int16_t m_nWatchNo = 0;
    int16_t m_nServiceType = 0;
    int16_t m_nGameType = 0;
    int16_t m_nSubType = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.u16(s.m_nDeskNo);
        io.u16(s.m_nSeatNo);
        io.i16(s.m_nWatchNo);
        io.i16(s.m_nServiceType);
        io.i16(s.m_nGameType);
        io.i16(s.m_nSubType);
    }
};

struct CPerson_State_Server : CFixedMessage<CPerson_State_Server, msg::Person_State_Server, 8> {
    uint32_t m_nPersonId = 0;
    int16_t m_nEndFlag = 0;
    int16_t m_nState = 0; // connection state

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.i16(s.m_nEndFlag);
        io.i16(s.m_nState);
    }
};

struct CGame_Abort_Server : CFixedMessage<CGame_Abort_Server, msg::Game_Abort_Server, 12> {
    int16_t m_nValue = 0; // not read by the client
    int16_t m_nMode = 0;
    int16_t m_nKind = 0;
    uint32_t m_nPersonId = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.i16(s.m_nValue);
        io.i16(s.m_nMode);
        io.i16(s.m_nKind);
        io.pad(2);
        io.u32(s.m_nPersonId);
    }
};

struct CNo_Server : CFixedMessage<CNo_Server, msg::No_Server, 8> {
    uint32_t m_nValue = 0; // not read by the client
    int16_t m_nValue2 = 0; // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nValue);
        io.i16(s.m_nValue2);
        io.pad(2);
    }
};

// Leaving the seat before the game has started, with a fixed trailer.
struct CLeave_Seat : CFixedMessage<CLeave_Seat, msg::Leave_Seat, 8> {
    uint32_t m_nPersonId = 0;
    uint16_t m_nSeatNo = 0; // server seat

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.u16(s.m_nSeatNo);
        io.pad(2);
    }
};

struct CConnection_Key_Server
    : CFixedMessage<CConnection_Key_Server, msg::Connection_Key_Server, 28> {
    uint32_t m_nValue = 0; // the fields without a name are not read by the client
    int16_t m_nValue2 = 0;
    uint32_t m_nKey = 0;
    int16_t m_nValue3 = 0;
    uint32_t m_nSendCounter = 0;
    int16_t m_nValue4 = 0;
    uint32_t m_nLastSeq = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nValue);
        io.i16(s.m_nValue2);
        io.pad(2);
        io.u32(s.m_nKey);
        io.i16(s.m_nValue3);
        io.pad(2);
        io.u32(s.m_nSendCounter);
        io.i16(s.m_nValue4);
        io.pad(2);
        io.u32(s.m_nLastSeq);
    }
};

// Keep-alive: no body.
struct CDetect : CFixedMessage<CDetect, msg::Detect, 0> {
    template <class S, class IO> static void Fields(S&, IO&) {}
};

struct CPerson_Offline_Server
    : CFixedMessage<CPerson_Offline_Server, msg::Person_Offline_Server, 8> {
    uint32_t m_nPersonId = 0;
    int16_t m_nValue[2] = {}; // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.i16(s.m_nValue[0]);
        io.i16(s.m_nValue[1]);
    }
};

// A player leaves the game.
struct CExit_Game : CFixedMessage<CExit_Game, msg::Exit_Game, 8> {
    uint32_t m_nPersonId = 0;
    uint16_t m_nSeatNo = 0; // server seat
    int16_t m_nForce = 0;   // 1 when leaving by force

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.u16(s.m_nSeatNo);
        io.i16(s.m_nForce);
    }
};

// The game is over; the same type number as CExit_Game, from the server.
struct CGame_End_Server : CFixedMessage<CGame_End_Server, msg::Exit_Game, 8> {
    int32_t m_nPersonId = 0; // 0 or negative when no person is named
    int16_t m_nValue = 0;    // not read by the client
    int16_t m_nReason = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.i32(s.m_nPersonId);
        io.i16(s.m_nValue);
        io.i16(s.m_nReason);
    }
};

// A watcher (or a player outside a game) leaves the table.
struct CExit_Watch : CFixedMessage<CExit_Watch, msg::Exit_Watch, 12> {
    uint32_t m_nPersonId = 0;
    uint16_t m_nSeatNo = 0; // server seat
    int16_t m_nWatchNo = 0;
    int16_t m_nValue = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.u16(s.m_nSeatNo);
        io.i16(s.m_nWatchNo);
        io.i16(s.m_nValue);
        io.pad(2);
    }
};

// Somebody left the table; the same type number as CExit_Watch.
struct CPerson_Leave_Server : CFixedMessage<CPerson_Leave_Server, msg::Exit_Watch, 12> {
    uint32_t m_nPersonId = 0;
    int16_t m_nValue[3] = {}; // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        for (auto& v : s.m_nValue)
            io.i16(v);
        io.pad(2);
    }
};

struct CExit_Request : CFixedMessage<CExit_Request, msg::Exit_Request, 8> {
    uint32_t m_nPersonId = 0;
    uint16_t m_nSeatNo = 0; // server seat
    int16_t m_nValue = 1;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.u16(s.m_nSeatNo);
        io.i16(s.m_nValue);
    }
};

struct CExit_Answer : CFixedMessage<CExit_Answer, msg::Exit_Answer, 16> {
    uint32_t m_nPersonId = 0;
    int16_t m_nSeatNo = 0;
    uint32_t m_nAskerId = 0;
    int16_t m_nAskerSeatNo = 0;
    int16_t m_nAnswer = 0; // 0 agreed, 1 refused or timed out

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nPersonId);
        io.i16(s.m_nSeatNo);
        io.pad(2);
        io.u32(s.m_nAskerId);
        io.i16(s.m_nAskerSeatNo);
        io.i16(s.m_nAnswer);
    }
};

struct CExit_Refused_Server : CFixedMessage<CExit_Refused_Server, msg::Exit_Refused_Server, 12> {
    int16_t m_nValue = 0; // not read by the client
    uint32_t m_nPersonId = 0;
    int16_t m_nValue2 = 0; // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.i16(s.m_nValue);
        io.pad(2);
        io.u32(s.m_nPersonId);
        io.i16(s.m_nValue2);
        io.pad(2);
    }
};

struct CMagic_Action : CFixedMessage<CMagic_Action, msg::Magic_Action, 228> {
    uint16_t m_nSeatNo = 0; // sender's seat
    int32_t m_nKind = 0;
    uint32_t m_nItemId = 0;
    int16_t m_nToAll = 0; // 1 when the target is −1
    uint32_t m_nSenderId = 0;
    int32_t m_nTargetId = -1; // −1 = everybody
    int16_t m_nValue = 0;
    int16_t m_nTextLength = 0;
    char m_sText[200] = {}; // at most 199 bytes and a zero

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.m_nKind);
        io.u32(s.m_nItemId);
        io.i16(s.m_nToAll);
        io.pad(2);
        io.u32(s.m_nSenderId);
        io.i32(s.m_nTargetId);
        io.i16(s.m_nValue);
        io.i16(s.m_nTextLength);
        io.text(s.m_sText);
    }

    // Sets the text (GBK, cut to whole characters) and its length field.
    void SetText(std::string_view gbk);
};

struct CMagic_Action_Failed_Server
    : CFixedMessage<CMagic_Action_Failed_Server, msg::Magic_Action_Failed_Server, 20> {
    int16_t m_nValue = 0; // not read by the client
    uint32_t m_nPersonId = 0;
    uint32_t m_nValue2[2] = {}; // not read by the client
    int16_t m_nKind = 0;        // failure kind

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.i16(s.m_nValue);
        io.pad(2);
        io.u32(s.m_nPersonId);
        io.u32(s.m_nValue2[0]);
        io.u32(s.m_nValue2[1]);
        io.i16(s.m_nKind);
        io.pad(2);
    }
};

struct CPlay_Time_Server : CFixedMessage<CPlay_Time_Server, msg::Play_Time_Server, 8> {
    uint16_t m_nSeatNo = 0;
    int16_t m_nKind = 0;   // 1: three hours, 2: five hours
    uint32_t m_nValue = 0; // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.i16(s.m_nKind);
        io.u32(s.m_nValue);
    }
};

struct CReferee_Leave_Server : CFixedMessage<CReferee_Leave_Server, msg::Referee_Leave_Server, 12> {
    uint32_t m_nRefereeId = 0;
    int16_t m_nValue[3] = {}; // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u32(s.m_nRefereeId);
        for (auto& v : s.m_nValue)
            io.i16(v);
        io.pad(2);
    }
};

} // namespace protocol
