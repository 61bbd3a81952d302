#pragma once
// What one shot did, as the shooter's desk reports it: 23 signed 16-bit
// values, evaluated with the desk's own group.

#include "platform/packed/Packed.h"

#include <cstdint>

#pragma pack(push, 1)
struct JudgeRecord {
    int16_t m_bGone[15];        // object ball i was pocketed in this shot
    int16_t m_bWhiteGone;       // the cue ball was pocketed in this shot
    int16_t m_bOtherGone;       // a ball of the opponent's group was pocketed
    int16_t m_bIsTouch_Nothing; // the cue ball has touched no other ball
    int16_t m_bIsTouch_Other;   // the first ball touched was not a legal first contact
    int16_t m_bIsTouch_No_Desk; // no object ball touched a cushion
    int16_t m_nFirst_Gone;      // first object ball pocketed, −1 if none
    int16_t m_nNum_TouchDesk;   // object balls that touched a cushion
    int16_t m_nFirst_Touch;     // first ball the cue ball touched, −1 if none
};
#pragma pack(pop)

PACKED_RECORD_SIZE(JudgeRecord, 46);
PACKED_FIELD_AT(JudgeRecord, m_bGone, 0);
PACKED_FIELD_AT(JudgeRecord, m_bWhiteGone, 30);
PACKED_FIELD_AT(JudgeRecord, m_bOtherGone, 32);
PACKED_FIELD_AT(JudgeRecord, m_bIsTouch_Nothing, 34);
PACKED_FIELD_AT(JudgeRecord, m_bIsTouch_Other, 36);
PACKED_FIELD_AT(JudgeRecord, m_bIsTouch_No_Desk, 38);
PACKED_FIELD_AT(JudgeRecord, m_nFirst_Gone, 40);
PACKED_FIELD_AT(JudgeRecord, m_nNum_TouchDesk, 42);
PACKED_FIELD_AT(JudgeRecord, m_nFirst_Touch, 44);
