#pragma once
// The client's side of the connection to the game server: connecting
// (directly or through the hall's proxy), the login, the two-phase receive
// machine (a 32-byte header, then its body and trailer), the sequence and
// digest checks, dispatch to the handlers, sending with the send counter and
// the connection key, the keep-alive and the watchdogs, and the reconnect
// and give-up rules.
//
// Socket events come in through IQevSockEvents (advise the connection on the
// socket component, or forward to it); dialogs and leaving go out through
// IConnectionReporter; received messages go to the IMessageHandlers.

#include "billiards/protocol/Framing.h"
#include "billiards/protocol/IConnectionReporter.h"
#include "billiards/protocol/TableMessages.h"
#include "platform/qevsock/IQevSock.h"
#include "platform/timers/WindowTimers.h"

#include <string>

namespace protocol {

// What the hall told us about the server and the proxy.
struct CConnectionSettings {
    std::string address;
    long port = 0;
    bool useProxy = false;
    short proxyKind = 0; // the hall's socket type
    bool proxyNeedsPassword = false;
    std::string proxyAddress;
    long proxyPort = 0;
    std::string proxyUser;
    std::string proxyPassword;
    bool review = false; // hand review: no connection, no timers
};

enum class ReceivePhase { Header, Body };

struct CConnectionState {
    uint32_t lastSeq = 0; // last accepted seq; also keys the receive-side digest
    ReceivePhase phase = ReceivePhase::Header;
    uint16_t pendingType = 0;
    uint32_t pendingLength = 0;
    uint16_t reconnectCount = 0; // consecutive failure reconnects
    bool reconnecting = false;
    bool ended = false;       // gave up, or the game is over
    bool interrupted = false; // waiting for recovery messages after a failure
    bool inGame = false;      // on for a player at start, then set by 3002
    bool exitRequestAllowed = true;
    uint16_t exitRequests = 0; // sent so far, at most 2 per table
};

class CTableConnection final : public platform::IQevSockEvents, private platform::ITimerOwner {
public:
    static constexpr int kKeepAliveTimer = 201;
    static constexpr int kPlayerWatchdogTimer = 203;
    static constexpr int kLoginWatchdogTimer = 204;
    static constexpr int kReceiveWatchdogTimer = 205;
    static constexpr int kExitRequestTimer = 212;

    static constexpr int kKeepAliveMs = 30000;
    static constexpr int kWatchdogMs = 45000;
    static constexpr int kLoginWatchdogMs = 57606648; // about 16 hours
    static constexpr int kExitRequestMs = 45000;
    static constexpr long kSocketTimeoutMs = 60000;
    static constexpr int kConnectFailedMs = 2000;
    static constexpr int kMaxReconnects = 4; // the fourth consecutive failure gives up
    static constexpr int kMaxExitRequests = 2;

    CTableConnection(platform::IQevSock& socket, IConnectionReporter& reporter);
    ~CTableConnection() override;
    CTableConnection(const CTableConnection&) = delete;
    CTableConnection& operator=(const CTableConnection&) = delete;

    void SetSettings(const CConnectionSettings& settings) { m_settings = settings; }
    // The login sent after every connect.
    void SetLogin(const CTable_Login& login) { m_login = login; }
    // Non-owning; each may be null. They must outlive the connection or be
    // reset before they go.
    void SetHandlers(IMessageHandler* table, IMessageHandler* chat, IMessageHandler* billiards);

    // Close, the proxy call, Connect. Nothing in review mode.
    void Connect();

    // Sends a message: the next seq, the trailer the type table names, the
    // keep-alive re-armed when the table says so. Types that need the
    // in-game flag are not sent while it is off; returns whether it was sent.
    template <class M> bool Send(const M& m) {
        if constexpr (requires { m.m_nType; })
            return SendBody(m.m_nType, m.Build());
        else
            return SendBody(M::kType, m.Build());
    }
    bool SendBody(uint16_t type, std::span<const uint8_t> body,
                  std::span<const uint8_t> body2 = {});
    // The keep-alive message 3011; re-arms timer 201.
    void SendDetect();
    void ReArmKeepAlive();

    // Asks the others to let us leave: only in game and at most twice per
    // table; arms timer 212, until which no further request is offered.
    bool RequestExit(const CExit_Request& m);

    // The connection's part of the table messages:
    // 3002 — arms 203 when it is about the own player in state 4 or 6;
    // unless its end flag is 1 or 2: stops 204 for states 1, 3, 5, and for
    // the own player sets the in-game flag (states 1, 2) and clears
    // reconnecting (state 2).
    void ApplyPersonState(const CPerson_State_Server& m, bool aboutOwnPlayer);
    // 3003 — stops 203, 204, 205 and re-arms 205.
    void ApplyGameAbort();

    // Close the socket, stop 205 and 201, close the main window.
    void LeaveTable();

    CConnectionState& State() { return m_state; }
    const CConnectionState& State() const { return m_state; }
    uint32_t Key() const { return m_sender.Key(); }
    uint32_t SendCounter() const { return m_sender.Counter(); }
    platform::CWindowTimers& Timers() { return m_timers; }
    platform::IQevSock& Socket() { return m_socket; }

    // Socket events.
    void OnConnect(short result) override;
    void OnReceive(const uint8_t* data, long count) override;

private:
    void OnTimer(int id) override;
    void receiveHeader(std::span<const uint8_t> bytes);
    void receiveBody(std::span<const uint8_t> payload);
    void dispatch(uint16_t type, std::span<const uint8_t> body);
    void setUpConnection(const CConnection_Key_Server& m);
    void sequenceFailure();
    void networkFailure();
    void watchdogExpired(int id, int periodMs);
    void giveUp(int timerId);
    void chooseProxy();
    void reArm(int id, int ms);

    platform::IQevSock& m_socket;
    IConnectionReporter& m_reporter;
    IMessageHandler* m_handlers[3] = {};
    CConnectionSettings m_settings;
    CTable_Login m_login;
    CFrameSender m_sender;
    CConnectionState m_state;
    platform::CWindowTimers m_timers{*this};
};

} // namespace protocol
