#pragma once
// The billiards messages, types 601 … 646: one game of pool between the
// clients of a table and the server. Each class builds and parses its body
// (see MessageBase.h); classes without the _Server suffix travel both ways.
// Field names follow the desk interface where the desk gives them.

#include "billiards/protocol/MessageBase.h"
#include "billiards/protocol/MessageTable.h"
#include "desk/rules/JudgeRecord.h"

namespace protocol {

// The protocol version the client announces in 602; the server answers a
// seat's 602 with kWrongVersion when that player's version is wrong.
inline constexpr uint16_t kClientVersion = 18;
inline constexpr uint16_t kWrongVersion = 99;

struct CGame_Start_Server : CFixedMessage<CGame_Start_Server, msg::Game_Start_Server, 6> {
    uint16_t m_nValue[3] = {}; // the server's; the client reads none of them

    template <class S, class IO> static void Fields(S& s, IO& io) {
        for (auto& v : s.m_nValue)
            io.u16(v);
    }
};

struct CAgree_Start : CFixedMessage<CAgree_Start, msg::Agree_Start, 4> {
    uint16_t m_nSeatNo = 0;
    uint16_t m_nVersion = kClientVersion; // from the server: kWrongVersion or agreed

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.u16(s.m_nVersion);
    }
};

struct COneHand_Start_Server
    : CFixedMessage<COneHand_Start_Server, msg::OneHand_Start_Server, 1096> {
    SphereArray m_Sphere{};
    uint16_t m_nSeatNo = 0; // the breaker
    int32_t m_nValue = 0;   // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.spheres(s.m_Sphere);
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.m_nValue);
    }
};

// 607 and 615: the cue turned.
template <class Derived, uint16_t Type> struct CTurnBody : CFixedMessage<Derived, Type, 8> {
    uint16_t m_nSeatNo = 0;
    int32_t arc = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.arc);
    }
};
struct CTurn_InStart : CTurnBody<CTurn_InStart, msg::Turn_InStart> {};
struct CTurn_InPlay : CTurnBody<CTurn_InPlay, msg::Turn_InPlay> {};

// 608 and 616: a shot starts. The client sends −1 as m_nStatus; the
// server's relay carries the desk state to set.
template <class Derived, uint16_t Type> struct CCrashBeginBody : CFixedMessage<Derived, Type, 28> {
    uint16_t m_nSeatNo = 0;
    int32_t arc = 0;
    int32_t speed = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int16_t m_nStatus = -1;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.arc);
        io.i32(s.speed);
        io.i32(s.x);
        io.i32(s.y);
        io.i32(s.z);
        io.i16(s.m_nStatus);
        io.pad(2);
    }
};
struct CCrash_Begin_InStart : CCrashBeginBody<CCrash_Begin_InStart, msg::Crash_Begin_InStart> {};
struct CCrash_Begin_InPlay : CCrashBeginBody<CCrash_Begin_InPlay, msg::Crash_Begin_InPlay> {};

// The break's outcome as the breaker's desk reported it.
struct CCrash_End_InStart : CFixedMessage<CCrash_End_InStart, msg::Crash_End_InStart, 1096> {
    uint16_t m_nSeatNo = 0;
    SphereArray m_Sphere{};
    int16_t m_nFirst_Gone = 0;
    int16_t m_nNum_TouchDesk = 0;

    // From the desk's End_OnStart(num, info, jginfo).
    static CCrash_End_InStart FromDesk(uint16_t seat, int num, const SphereRecord* info,
                                       const JudgeRecord& jg);

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.spheres(s.m_Sphere);
        io.i16(s.m_nFirst_Gone);
        io.i16(s.m_nNum_TouchDesk);
    }
};

struct CCrash_End_InStart_Server
    : CFixedMessage<CCrash_End_InStart_Server, msg::Crash_End_InStart_Server, 1100> {
    SphereArray m_Sphere{};
    uint16_t m_nSeatNo = 0; // the shooter
    int16_t gan_num = 0;
    uint16_t m_nSeatNo_Mono = 0; // plays the solids
    uint16_t m_nSeatNo_Hua = 0;  // plays the stripes
    int16_t m_nStatus = 0;
    int16_t iserror = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.spheres(s.m_Sphere);
        io.u16(s.m_nSeatNo);
        io.i16(s.gan_num);
        io.u16(s.m_nSeatNo_Mono);
        io.u16(s.m_nSeatNo_Hua);
        io.i16(s.m_nStatus);
        io.i16(s.iserror);
    }
};

// A shot's outcome as the shooter's desk reported it.
struct CCrash_End_InPlay : CFixedMessage<CCrash_End_InPlay, msg::Crash_End_InPlay, 1100> {
    uint16_t m_nSeatNo = 0;
    SphereArray m_Sphere{};
    int16_t m_bIsTouch_Nothing = 0;
    int16_t m_bIsTouch_MySelf = 0; // 0 exactly when the desk's m_bIsTouch_Other is 1
    int16_t m_bIsTouch_No_Desk = 0;

    // From the desk's End_OnPlay(num, info, jginfo).
    static CCrash_End_InPlay FromDesk(uint16_t seat, int num, const SphereRecord* info,
                                      const JudgeRecord& jg);

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.spheres(s.m_Sphere);
        io.i16(s.m_bIsTouch_Nothing);
        io.i16(s.m_bIsTouch_MySelf);
        io.i16(s.m_bIsTouch_No_Desk);
        io.pad(2);
    }
};

struct CCrash_End_InPlay_Server
    : CFixedMessage<CCrash_End_InPlay_Server, msg::Crash_End_InPlay_Server, 1096> {
    SphereArray m_Sphere{};
    uint16_t m_nSeatNo = 0; // the shooter
    int16_t gan_num = 0;
    int16_t m_nStatus = 0;
    int16_t iserror = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.spheres(s.m_Sphere);
        io.u16(s.m_nSeatNo);
        io.i16(s.gan_num);
        io.i16(s.m_nStatus);
        io.i16(s.iserror);
    }
};

// The cue ball being dragged.
struct CBall_Moving : CFixedMessage<CBall_Moving, msg::Ball_Moving, 16> {
    uint16_t m_nSeatNo = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.x);
        io.i32(s.y);
        io.i32(s.z);
    }
};

// The cue ball placed. The client sends −1 as m_nStatus.
struct CBall_Moved : CFixedMessage<CBall_Moved, msg::Ball_Moved, 20> {
    uint16_t m_nSeatNo = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    int16_t m_nStatus = -1;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.x);
        io.i32(s.y);
        io.i32(s.z);
        io.i16(s.m_nStatus);
        io.pad(2);
    }
};

// Passing the turn while placing the cue ball.
struct CGuo_InMoving : CFixedMessage<CGuo_InMoving, msg::Guo_InMoving, 4> {
    uint16_t m_nSeatNo = 0;
    uint16_t m_nValue = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.u16(s.m_nValue);
    }
};

struct CGuo_InMoving_Server : CFixedMessage<CGuo_InMoving_Server, msg::Guo_InMoving_Server, 6> {
    uint16_t m_nSeatNo = 0;      // passed
    uint16_t m_nSeatNo_Next = 0; // plays next
    int16_t num = 0;             // chances of the next player

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.u16(s.m_nSeatNo_Next);
        io.i16(s.num);
    }
};

// Passing the turn while aiming.
struct CGuo_InPlay : CFixedMessage<CGuo_InPlay, msg::Guo_InPlay, 8> {
    uint16_t m_nSeatNo = 0;
    int32_t m_nValue = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.m_nValue);
    }
};

struct CGuo_InPlay_Server : CFixedMessage<CGuo_InPlay_Server, msg::Guo_InPlay_Server, 12> {
    uint16_t m_nSeatNo = 0; // passed
    int32_t m_nValue = 0;   // not read by the client
    uint16_t m_nSeatNo_Next = 0;
    int16_t num = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nSeatNo);
        io.pad(2);
        io.i32(s.m_nValue);
        io.u16(s.m_nSeatNo_Next);
        io.i16(s.num);
    }
};

// Scores at the end of a game, one value per seat.
struct CScore_List_Server : CFixedMessage<CScore_List_Server, msg::Score_List_Server, 44> {
    uint16_t m_nWinner = 0;
    int32_t m_nScore[2] = {};
    int32_t m_nTotalScore[2] = {};
    int32_t m_nWin[2] = {};
    int32_t m_nLose[2] = {};
    int32_t m_nEqual[2] = {};

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nWinner);
        io.pad(2);
        for (auto* pair : {&s.m_nScore, &s.m_nTotalScore, &s.m_nWin, &s.m_nLose, &s.m_nEqual}) {
            io.i32((*pair)[0]);
            io.i32((*pair)[1]);
        }
    }
};

// ---- position snapshots after a reconnect ----------------------------------

struct CRecover_Idle : CFixedMessage<CRecover_Idle, msg::Recover_Idle, 10> {
    uint16_t m_nValue = 0;     // not read by the client
    int16_t m_nScore[2] = {};  // seat 0, seat 1
    int16_t m_nAgreed[2] = {}; // 1 = agreed to start

    template <class S, class IO> static void Fields(S& s, IO& io) {
        io.u16(s.m_nValue);
        io.i16(s.m_nScore[0]);
        io.i16(s.m_nScore[1]);
        io.i16(s.m_nAgreed[0]);
        io.i16(s.m_nAgreed[1]);
    }
};

// The part every snapshot with balls starts with (bytes 0 … 1097).
struct CRecoverHead {
    uint16_t m_nValue = 0; // not read by the client
    int16_t m_nScore[2] = {};
    SphereArray m_Sphere{};
    uint16_t m_nNext = 0; // seat to play

    template <class S, class IO> static void HeadFields(S& s, IO& io) {
        io.u16(s.m_nValue);
        io.i16(s.m_nScore[0]);
        io.i16(s.m_nScore[1]);
        io.pad(2);
        io.spheres(s.m_Sphere);
        io.u16(s.m_nNext);
    }
};

struct CRecoverShot {
    int32_t arc = 0;
    int32_t speed = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;

    template <class S, class IO> static void ShotFields(S& s, IO& io) {
        io.i32(s.arc);
        io.i32(s.speed);
        io.i32(s.x);
        io.i32(s.y);
        io.i32(s.z);
    }
};

struct CRecover_Turn_OnKai : CFixedMessage<CRecover_Turn_OnKai, msg::Recover_Turn_OnKai, 1104>,
                             CRecoverHead {
    int16_t num = 0;       // chances
    int32_t m_nValue2 = 0; // not read by the client

    template <class S, class IO> static void Fields(S& s, IO& io) {
        HeadFields(s, io);
        io.i16(s.num);
        io.i32(s.m_nValue2);
    }
};

struct CRecover_Crash_OnKai : CFixedMessage<CRecover_Crash_OnKai, msg::Recover_Crash_OnKai, 1120>,
                              CRecoverHead,
                              CRecoverShot {
    template <class S, class IO> static void Fields(S& s, IO& io) {
        HeadFields(s, io);
        io.pad(2);
        ShotFields(s, io);
    }
};

struct CRecover_Turn_OnPlay : CFixedMessage<CRecover_Turn_OnPlay, msg::Recover_Turn_OnPlay, 1108>,
                              CRecoverHead {
    int16_t num = 0;
    int32_t m_nValue2 = 0; // not read by the client
    uint16_t m_nSeatNo_Mono = 0;
    uint16_t m_nSeatNo_Hua = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        HeadFields(s, io);
        io.i16(s.num);
        io.i32(s.m_nValue2);
        io.u16(s.m_nSeatNo_Mono);
        io.u16(s.m_nSeatNo_Hua);
    }
};

struct CRecover_Crash_OnPlay
    : CFixedMessage<CRecover_Crash_OnPlay, msg::Recover_Crash_OnPlay, 1124>,
      CRecoverHead,
      CRecoverShot {
    uint16_t m_nSeatNo_Mono = 0;
    uint16_t m_nSeatNo_Hua = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        HeadFields(s, io);
        io.pad(2);
        ShotFields(s, io);
        io.u16(s.m_nSeatNo_Mono);
        io.u16(s.m_nSeatNo_Hua);
    }
};

struct CRecover_Moving : CFixedMessage<CRecover_Moving, msg::Recover_Moving, 1104>, CRecoverHead {
    uint16_t m_nSeatNo_Mono = 0;
    uint16_t m_nSeatNo_Hua = 0;

    template <class S, class IO> static void Fields(S& s, IO& io) {
        HeadFields(s, io);
        io.u16(s.m_nSeatNo_Mono);
        io.u16(s.m_nSeatNo_Hua);
        io.pad(2);
    }
};

} // namespace protocol
