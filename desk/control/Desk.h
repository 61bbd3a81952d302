#pragma once
// The desk control as its host sees it: the one header the program includes.
//
// The program creates the control by class id through the component registry
// (platform/components) and then talks to it through IDesk:
//
//   platform::CComponentRegistry registry;
//   auto created = registry.createControl(desk::kDeskClassId, tableArea);
//   desk::IDesk* desk = desk::deskOf(created.control); // null if it is no desk
//   desk->Advise(&mySink);                             // a desk::_IDeskEvents
//   desk->SetResourceDir(dir);
//   desk->InitTable(mainWindow, 0, 800, 600, style);
//
// Every method and every event runs on the host's UI thread, the thread that
// created the control. Methods never fail: arguments out of range are
// ignored or clamped. Records go in and out as spans over the packed
// little-endian records below; an array with fewer than sixteen ball records
// (or none) is refused as a whole, and records handed out with an event are
// valid only during the event call.

#include "desk/model/PersonInfo.h"
#include "desk/model/SphereRecord.h"
#include "desk/rules/JudgeRecord.h"
#include "platform/packed/Packed.h"

#include <QObject>
#include <QUuid>
#include <QtPlugin>
#include <cstdint>
#include <span>

class QImage;
class QWidget;

namespace desk {

// Identity of the control and of its type library.
// {3B8D03D5-D47C-493C-BFCD-CCE1A3310D0A}
inline constexpr QUuid kDeskClassId{0x3B8D03D5, 0xD47C, 0x493C, 0xBF, 0xCD, 0xCC,
                                    0xE1,       0xA3,   0x31,   0x0D, 0x0A};
inline constexpr const char* kDeskProgId = "Bexlo.Desk.1";
inline constexpr const char* kDeskVersionIndependentProgId = "Bexlo.Desk";
inline constexpr const char* kDeskWindowName = "Bexlo.Desk";
// {B101B190-BEF8-4B30-861E-E7EFA8C1E658}
inline constexpr QUuid kDeskTypeLibId{0xB101B190, 0xBEF8, 0x4B30, 0x86, 0x1E, 0xE7,
                                      0xEF,       0xA8,   0xC1,   0xE6, 0x58};
inline constexpr int kDeskTypeLibMajor = 1;
inline constexpr int kDeskTypeLibMinor = 6;

// The desk status: which input the desk takes and what it shows.
namespace DeskStatus {
inline constexpr int16_t NoInput = -1;      // set by the host while it waits for the server
inline constexpr int16_t BeforeGame = 0;    // the start button is shown
inline constexpr int16_t BreakAiming = 1;   // aiming the break
inline constexpr int16_t BreakInFlight = 2; // the break shot runs
inline constexpr int16_t Aiming = 3;        // aiming in play
inline constexpr int16_t InFlight = 4;      // a shot in play runs
inline constexpr int16_t BallInHand = 5;    // placing the cue ball
} // namespace DeskStatus

// One row of the score list shown at the end of a game (56 bytes).
#pragma pack(push, 1)
struct CScoreListItem {
    int32_t reserved;      // not used
    char m_szNickname[32]; // GBK, zero-terminated
    int32_t m_nGameScore;  // score of this game
    int32_t m_nTotalScore;
    int32_t m_nWins;
    int32_t m_nLosses;
    int32_t m_nDraws; // not shown
};
#pragma pack(pop)

// Dispatch ids of the methods, in interface order.
namespace DeskDispid {
inline constexpr int BackColor = -501;
inline constexpr int InitTable = 1;
inline constexpr int CrashLoop = 2;
inline constexpr int SetResourceDir = 3;
inline constexpr int SetParam_Ball_Ball = 4;
inline constexpr int SetParam_Ball_Down = 5;
inline constexpr int SetParam_Ball_Desk = 6;
inline constexpr int SetParam_Gravity = 7;
inline constexpr int StartDeal = 8;
inline constexpr int StartGame = 9;
inline constexpr int StartOneHand = 10;
inline constexpr int SetStatus = 11;
inline constexpr int TurnCue = 12;
inline constexpr int StartCrash = 13;
inline constexpr int EndCrash = 14;
inline constexpr int SetMyColor = 15;
inline constexpr int BallMoving = 16;
inline constexpr int BallMoved = 17;
inline constexpr int Guo_InPlay = 18;
inline constexpr int Guo_InMoving = 19;
inline constexpr int SetScoreItem = 20;
inline constexpr int StartChoice = 21;
inline constexpr int SetChance = 22;
inline constexpr int ExitChoice = 23;
inline constexpr int SetPersonInfo = 24;
inline constexpr int SetScore = 25;
inline constexpr int LButtonUp = 26;
inline constexpr int SetWatchStyle = 27;
inline constexpr int SetDeskStyle = 28;
inline constexpr int SetSound = 29;
inline constexpr int EndCrashWithStatus = 30;
inline constexpr int StartOneHandInRecover = 31;
inline constexpr int SetSubtype = 32;
inline constexpr int GetTableSize = 33;
inline constexpr int SetBkImage_InBitmap = 34;
} // namespace DeskDispid

// Dispatch ids of the events, in interface order.
namespace DeskEventDispid {
inline constexpr int AgreeStart = 1;
inline constexpr int Turn_OnStart = 2;
inline constexpr int Turn_OnPlay = 3;
inline constexpr int Begin_OnStart = 4;
inline constexpr int Begin_OnPlay = 5;
inline constexpr int End_OnStart = 6;
inline constexpr int End_OnPlay = 7;
inline constexpr int Guo = 8;
inline constexpr int Guo_Moving = 9;
inline constexpr int Moving = 10;
inline constexpr int Moved = 11;
inline constexpr int EnableAdv = 12;
inline constexpr int EndCrash = 13;
inline constexpr int SendDetect = 14;
inline constexpr int StartCrash = 15;
inline constexpr int End_OnStart_NoSendJg = 16;
inline constexpr int End_OnPlay_NoSendJg = 17;
} // namespace DeskEventDispid

using SphereRecordSpan = std::span<const SphereRecord>;

// The events of the desk, fired synchronously on the UI thread through every
// advised sink. A sink overrides the events it handles. Integers are the
// interface values: world coordinates, angles and tip offsets × 1 000 000.
class _IDeskEvents {
public:
    virtual ~_IDeskEvents() = default;

    virtual void AgreeStart() {}
    virtual void Turn_OnStart(int32_t /*arc*/) {}
    virtual void Turn_OnPlay(int32_t /*arc*/) {}
    virtual void Begin_OnStart(int32_t /*arc*/, int32_t /*speed*/, int32_t /*x*/, int32_t /*y*/,
                               int32_t /*z*/) {}
    virtual void Begin_OnPlay(int32_t /*arc*/, int32_t /*speed*/, int32_t /*x*/, int32_t /*y*/,
                              int32_t /*z*/) {}
    // num is 16; info holds the sixteen ball records; both valid during the call only.
    virtual void End_OnStart(int /*num*/, SphereRecordSpan /*info*/,
                             const JudgeRecord& /*jginfo*/) {}
    virtual void End_OnPlay(int /*num*/, SphereRecordSpan /*info*/, const JudgeRecord& /*jginfo*/) {
    }
    virtual void Guo() {}
    virtual void Guo_Moving() {}
    virtual void Moving(int32_t /*x*/, int32_t /*y*/, int32_t /*z*/) {}
    virtual void Moved(int32_t /*x*/, int32_t /*y*/, int32_t /*z*/) {}
    virtual void EnableAdv(int16_t /*isenable*/) {} // never fired
    virtual void EndCrash() {}
    virtual void SendDetect() {}
    virtual void StartCrash() {}
    virtual void End_OnStart_NoSendJg() {}
    virtual void End_OnPlay_NoSendJg() {} // never fired
};

// The desk's methods in dispatch-id order (BackColor first), then the
// connection of event sinks.
class IDesk {
public:
    virtual ~IDesk() = default;

    virtual void put_BackColor(uint32_t colour) = 0;
    virtual uint32_t get_BackColor() const = 0;

    // mainWindow and type are not used.
    virtual void InitTable(QWidget* mainWindow, int16_t type, int16_t table_width,
                           int16_t table_height, int32_t bkcolor) = 0;
    virtual void CrashLoop() = 0;
    // A zero-terminated directory path without a trailing slash; null is ignored.
    virtual void SetResourceDir(const char* str) = 0;
    virtual void SetParam_Ball_Ball(int32_t peng, int32_t damp) = 0;
    virtual void SetParam_Ball_Down(int32_t peng, int32_t damp) = 0;
    virtual void SetParam_Ball_Desk(int32_t peng, int32_t damp) = 0;
    virtual void SetParam_Gravity(int32_t gravity, int32_t density) = 0;
    virtual void StartDeal(int16_t loc) = 0;
    virtual void StartGame() = 0;
    virtual void StartOneHand(int16_t loc, int16_t num, SphereRecordSpan info) = 0;
    virtual void SetStatus(int16_t status) = 0;
    virtual void TurnCue(int16_t loc, int32_t arc) = 0;
    virtual void StartCrash(int16_t loc, int32_t arc, int32_t speed, int32_t x, int32_t y,
                            int32_t z) = 0;
    virtual void EndCrash(int16_t loc, int16_t gan_num, int16_t num, SphereRecordSpan info,
                          int16_t iserror) = 0;
    virtual void SetMyColor(int16_t color) = 0;
    virtual void BallMoving(int16_t loc, int32_t x, int32_t y, int32_t z) = 0;
    virtual void BallMoved(int16_t loc, int32_t x, int32_t y, int32_t z) = 0;
    virtual void Guo_InPlay(int16_t loc_guo, int16_t loc_next, int16_t num) = 0;
    virtual void Guo_InMoving(int16_t loc_guo, int16_t loc_next, int16_t num) = 0;
    // Copies min(count, items.size(), 2) rows: the list has room for two.
    virtual void SetScoreItem(int16_t winloc, int count, std::span<const CScoreListItem> items) = 0;
    virtual void StartChoice(int16_t loc) = 0;
    virtual void SetChance(int16_t loc, int16_t num) = 0;
    virtual void ExitChoice() = 0;
    virtual void SetPersonInfo(int16_t loc, const PersonInfo* info) = 0;
    virtual void SetScore(int16_t my_loc, int32_t my_score, int16_t other_loc,
                          int32_t other_score) = 0;
    virtual void LButtonUp() = 0;
    virtual void SetWatchStyle(int16_t iswatch) = 0;
    virtual void SetDeskStyle(int16_t style) = 0;
    virtual void SetSound(int16_t issound) = 0;
    virtual void EndCrashWithStatus(int16_t loc, int16_t gan_num, int16_t num,
                                    SphereRecordSpan info, int16_t iserror, int16_t status) = 0;
    virtual void StartOneHandInRecover(int16_t loc, int16_t num, SphereRecordSpan info) = 0;
    virtual void SetSubtype(int16_t subtype) = 0;
    // Either pointer may be null.
    virtual void GetTableSize(int16_t* width, int16_t* height) const = 0;
    virtual void SetBkImage_InBitmap(int16_t width, int16_t height, const QImage& bitmap) = 0;

    // Event sinks: each advised sink gets every event until it is unadvised.
    // Advising a sink twice has no further effect; a null sink is ignored.
    virtual void Advise(_IDeskEvents* sink) = 0;
    virtual void Unadvise(_IDeskEvents* sink) = 0;
};

} // namespace desk

#define BEXLO_IDESK_IID "org.vorlan.Bexlo.IDesk/1.6"
Q_DECLARE_INTERFACE(desk::IDesk, BEXLO_IDESK_IID)

namespace desk {

// The IDesk of a control made by the registry; null for any other widget.
inline IDesk* deskOf(QObject* control) {
    return control ? qobject_cast<IDesk*>(control) : nullptr;
}

} // namespace desk

PACKED_RECORD_SIZE(desk::CScoreListItem, 56);
PACKED_FIELD_AT(desk::CScoreListItem, reserved, 0);
PACKED_FIELD_AT(desk::CScoreListItem, m_szNickname, 4);
PACKED_FIELD_AT(desk::CScoreListItem, m_nGameScore, 36);
PACKED_FIELD_AT(desk::CScoreListItem, m_nTotalScore, 40);
PACKED_FIELD_AT(desk::CScoreListItem, m_nWins, 44);
PACKED_FIELD_AT(desk::CScoreListItem, m_nLosses, 48);
PACKED_FIELD_AT(desk::CScoreListItem, m_nDraws, 52);
