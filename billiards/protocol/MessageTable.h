#pragma once
// The one table of game message types. Everything that depends on a type
// number (its constant, its names, which handler group it belongs to, whether
// its trailer is checked on receipt, which trailer the client sends, whether
// sending re-arms the keep-alive or needs the in-game flag, and which class
// parses it) is generated from this table, so a new type is one new row.
//
// Append-only: peers on older builds rely on every number below.
//
// Columns: X(constant, number, class the client sends, class the server
// sends, group, receive trailer, client trailer, send flags)
//   class:   CNone when that direction does not exist
//   group:   Table, Chat or Billiards; received messages are offered to the
//            table handler first, then the chat handler, then billiards
//   receive: Checked (digest compared on receipt) or Exempt
//   client:  Keyed or Fixed trailer when the client sends the type
//   flags:   KeepAlive (sending re-arms timer 201), InGame (sent only while
//            the in-game flag is on), 0

#include <cstddef>
#include <cstdint>

#define BILLIARDS_PERSON_FAMILY(X, k)                                                              \
    X(Person_List_##k, 3100 + 50 * (k) + 6, CNone, CPerson_List_Server, Table, Exempt, Keyed, 0)   \
    X(Watcher_Arrive_##k, 3100 + 50 * (k) + 7, CNone, CWatcher_Arrive_Server, Table, Exempt,       \
      Keyed, 0)                                                                                    \
    X(Avatar_List_##k, 3100 + 50 * (k) + 10, CNone, CAvatar_List_Server, Table, Exempt, Keyed, 0)  \
    X(Avatar_Item_##k, 3100 + 50 * (k) + 11, CNone, CAvatar_Item_Server, Table, Exempt, Keyed, 0)

#define BILLIARDS_MESSAGES(X)                                                                      \
    X(Game_Start_Server, 601, CNone, CGame_Start_Server, Billiards, Checked, Keyed, 0)             \
    X(Agree_Start, 602, CAgree_Start, CAgree_Start, Billiards, Checked, Keyed, KeepAlive | InGame) \
    X(OneHand_Start_Server, 605, CNone, COneHand_Start_Server, Billiards, Checked, Keyed, 0)       \
    X(Turn_InStart, 607, CTurn_InStart, CTurn_InStart, Billiards, Checked, Keyed,                  \
      KeepAlive | InGame)                                                                          \
    X(Crash_Begin_InStart, 608, CCrash_Begin_InStart, CCrash_Begin_InStart, Billiards, Checked,    \
      Keyed, KeepAlive | InGame)                                                                   \
    X(Crash_End_InStart, 609, CCrash_End_InStart, CNone, Billiards, Checked, Keyed,                \
      KeepAlive | InGame)                                                                          \
    X(Crash_End_InStart_Server, 610, CNone, CCrash_End_InStart_Server, Billiards, Checked, Keyed,  \
      0)                                                                                           \
    X(Turn_InPlay, 615, CTurn_InPlay, CTurn_InPlay, Billiards, Checked, Keyed, KeepAlive | InGame) \
    X(Crash_Begin_InPlay, 616, CCrash_Begin_InPlay, CCrash_Begin_InPlay, Billiards, Checked,       \
      Keyed, KeepAlive | InGame)                                                                   \
    X(Crash_End_InPlay, 617, CCrash_End_InPlay, CNone, Billiards, Checked, Keyed,                  \
      KeepAlive | InGame)                                                                          \
    X(Crash_End_InPlay_Server, 618, CNone, CCrash_End_InPlay_Server, Billiards, Checked, Keyed, 0) \
    X(Ball_Moving, 621, CBall_Moving, CBall_Moving, Billiards, Checked, Keyed, KeepAlive | InGame) \
    X(Ball_Moved, 622, CBall_Moved, CBall_Moved, Billiards, Checked, Keyed, KeepAlive | InGame)    \
    X(Guo_InMoving, 623, CGuo_InMoving, CNone, Billiards, Checked, Keyed, KeepAlive | InGame)      \
    X(Guo_InMoving_Server, 624, CNone, CGuo_InMoving_Server, Billiards, Checked, Keyed, 0)         \
    X(Guo_InPlay, 625, CGuo_InPlay, CNone, Billiards, Checked, Keyed, KeepAlive | InGame)          \
    X(Guo_InPlay_Server, 626, CNone, CGuo_InPlay_Server, Billiards, Checked, Keyed, 0)             \
    X(Score_List_Server, 631, CNone, CScore_List_Server, Billiards, Checked, Keyed, 0)             \
    X(Recover_Idle, 641, CNone, CRecover_Idle, Billiards, Checked, Keyed, 0)                       \
    X(Recover_Turn_OnKai, 642, CNone, CRecover_Turn_OnKai, Billiards, Checked, Keyed, 0)           \
    X(Recover_Crash_OnKai, 643, CNone, CRecover_Crash_OnKai, Billiards, Checked, Keyed, 0)         \
    X(Recover_Turn_OnPlay, 644, CNone, CRecover_Turn_OnPlay, Billiards, Checked, Keyed, 0)         \
    X(Recover_Crash_OnPlay, 645, CNone, CRecover_Crash_OnPlay, Billiards, Checked, Keyed, 0)       \
    X(Recover_Moving, 646, CNone, CRecover_Moving, Billiards, Checked, Keyed, 0)                   \
    X(Table_Login, 3001, CTable_Login, CNone, Table, Checked, Fixed, 0)                            \
    X(Person_State_Server, 3002, CNone, CPerson_State_Server, Table, Exempt, Keyed, 0)             \
    X(Game_Abort_Server, 3003, CNone, CGame_Abort_Server, Table, Exempt, Keyed, 0)                 \
    X(No_Server, 3004, CNone, CNo_Server, Table, Exempt, Keyed, 0)                                 \
    X(Leave_Seat, 3005, CLeave_Seat, CNone, Table, Checked, Fixed, InGame)                         \
    X(Chat_Line_Plain, 3009, CChat_Line, CChat_Line, Chat, Exempt, Fixed, 0)                       \
    X(Connection_Key_Server, 3010, CNone, CConnection_Key_Server, Table, Exempt, Keyed, 0)         \
    X(Detect, 3011, CDetect, CDetect, Table, Exempt, Keyed, KeepAlive)                             \
    X(Person_Offline_Server, 3016, CNone, CPerson_Offline_Server, Table, Exempt, Keyed, 0)         \
    X(Chat_Line, 3021, CChat_Line, CChat_Line, Chat, Checked, Keyed, KeepAlive)                    \
    X(Exit_Game, 3026, CExit_Game, CGame_End_Server, Table, Checked, Keyed, KeepAlive | InGame)    \
    X(Exit_Watch, 3027, CExit_Watch, CPerson_Leave_Server, Table, Exempt, Keyed, KeepAlive)        \
    X(Exit_Request, 3031, CExit_Request, CExit_Request, Table, Checked, Keyed, KeepAlive | InGame) \
    X(Exit_Answer, 3032, CExit_Answer, CExit_Answer, Table, Checked, Keyed, KeepAlive)             \
    X(Exit_Refused_Server, 3033, CNone, CExit_Refused_Server, Table, Exempt, Keyed, 0)             \
    X(Magic_Action, 3040, CMagic_Action, CMagic_Action, Table, Checked, Keyed, KeepAlive)          \
    X(Magic_Action_Failed_Server, 3041, CNone, CMagic_Action_Failed_Server, Table, Checked, Keyed, \
      0)                                                                                           \
    X(Play_Time_Server, 3045, CNone, CPlay_Time_Server, Table, Checked, Keyed, 0)                  \
    BILLIARDS_PERSON_FAMILY(X, 0)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 1)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 2)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 3)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 4)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 5)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 6)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 7)                                                                  \
    BILLIARDS_PERSON_FAMILY(X, 8)                                                                  \
    X(Referee_List_Server, 3806, CNone, CReferee_List_Server, Table, Exempt, Keyed, 0)             \
    X(Referee_Arrive_Server, 3817, CNone, CReferee_Arrive_Server, Table, Exempt, Keyed, 0)         \
    X(Chat_Line_Server, 3819, CNone, CChat_Line, Chat, Exempt, Keyed, 0)                           \
    X(Referee_Leave_Server, 3821, CNone, CReferee_Leave_Server, Table, Exempt, Keyed, 0)

namespace protocol {

// The type constants: msg::Table_Login == 3001, msg::Person_List_3 == 3256 …
namespace msg {
enum : uint16_t {
#define BILLIARDS_MESSAGE_ENUM(name, number, ...) name = (number),
    BILLIARDS_MESSAGES(BILLIARDS_MESSAGE_ENUM)
#undef BILLIARDS_MESSAGE_ENUM
};
} // namespace msg

enum class MessageGroup : uint8_t { Unknown, Table, Chat, Billiards };
enum class TrailerKind : uint8_t { Keyed, Fixed };

enum SendFlags : uint8_t { KeepAlive = 1, InGame = 2 };

struct MessageInfo {
    uint16_t type;
    const char* constant;   // "Table_Login"
    const char* clientName; // class the client sends, "" when it sends none
    const char* serverName; // class the server sends, "" when it sends none
    MessageGroup group;
    bool receiveExempt; // the client does not compare the trailer
    TrailerKind clientTrailer;
    uint8_t sendFlags;
    uint32_t clientMinBody; // fixed part of the client's form, 0 when none
    uint32_t serverMinBody; // fixed part of the server's form, 0 when none
};

// The row of `type`, or nullptr for a number the table does not hold.
const MessageInfo* FindMessage(uint16_t type);
// All rows, in table order.
const MessageInfo* MessageRows(std::size_t& count);

// The class name of the form that travels in the given direction; the
// constant's name when that direction has no class; "" for unknown types.
const char* MessageName(uint16_t type, bool fromServer = true);
MessageGroup GroupOf(uint16_t type);
// Whether the client skips the trailer comparison for a received type.
// Unknown types are checked (their digest must still be right).
bool IsTrailerExempt(uint16_t type);
TrailerKind ClientTrailerKind(uint16_t type);
uint8_t SendFlagsOf(uint16_t type);
// Bytes of a received server body below which the message cannot be read.
uint32_t ServerMinBody(uint16_t type);
uint32_t ClientMinBody(uint16_t type);

// The person-record family k (0 … 8) of the types 3100 + 50·k + {6, 7, 10,
// 11}, or −1 for any other type.
int PersonFamilyOf(uint16_t type);

} // namespace protocol
