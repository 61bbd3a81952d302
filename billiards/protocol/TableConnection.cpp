#include "billiards/protocol/TableConnection.h"

#include "billiards/protocol/ConnectionTexts.h"

namespace protocol {

using platform::qevsock::ProxyHttpConnect;
using platform::qevsock::ProxyHttpConnectAuth;
using platform::qevsock::ProxySocks5;
using platform::qevsock::ProxySocks5Auth;

CTableConnection::CTableConnection(platform::IQevSock& socket, IConnectionReporter& reporter)
    : m_socket(socket), m_reporter(reporter) {}

CTableConnection::~CTableConnection() = default;

void CTableConnection::SetHandlers(IMessageHandler* table, IMessageHandler* chat,
                                   IMessageHandler* billiards) {
    m_handlers[0] = table;
    m_handlers[1] = chat;
    m_handlers[2] = billiards;
}

void CTableConnection::reArm(int id, int ms) {
    m_timers.KillTimer(id);
    m_timers.SetTimer(id, ms);
}

// ---- connecting ----------------------------------------------------------------

void CTableConnection::chooseProxy() {
    const auto& s = m_settings;
    if (s.proxyKind == 0)
        m_socket.SetProxy(ProxyHttpConnect, s.proxyAddress, s.proxyPort);
    else if (s.proxyKind == 1 && !s.proxyNeedsPassword)
        m_socket.SetProxyWithAuth(ProxySocks5, s.proxyAddress, s.proxyPort, {}, {});
    else if (s.proxyKind == 1)
        m_socket.SetProxyWithAuth(ProxySocks5Auth, s.proxyAddress, s.proxyPort, s.proxyUser,
                                  s.proxyPassword);
    else if (!s.proxyNeedsPassword)
        m_socket.SetProxy(ProxyHttpConnectAuth, s.proxyAddress, s.proxyPort);
    else
        m_socket.SetProxyWithAuth(ProxyHttpConnectAuth, s.proxyAddress, s.proxyPort, s.proxyUser,
                                  s.proxyPassword);
}

void CTableConnection::Connect() {
    if (m_settings.review)
        return;
    m_socket.Close();
    if (m_settings.useProxy)
        chooseProxy();
    m_socket.Connect(m_settings.address, m_settings.port);
}

void CTableConnection::OnConnect(short result) {
    if (result != 1) {
        m_reporter.ShowTimedDialog(texts::ConnectFailed(), kConnectFailedMs);
        return;
    }
    m_socket.SetTimeoutValue(kSocketTimeoutMs);
    m_state.reconnectCount = 0;
    m_state.phase = ReceivePhase::Header;
    Send(m_login);
    m_socket.ReceiveBytes(kHeaderSize);
    m_timers.SetTimer(kLoginWatchdogTimer, kLoginWatchdogMs);
}

// ---- sending -------------------------------------------------------------------

bool CTableConnection::SendBody(uint16_t type, std::span<const uint8_t> body,
                                std::span<const uint8_t> body2) {
    const uint8_t flags = SendFlagsOf(type);
    if ((flags & InGame) && !m_state.inGame)
        return false;
    const bool keepAlive = (flags & KeepAlive) != 0;
    if (keepAlive && type != msg::Detect)
        ReArmKeepAlive();
    const auto frame = m_sender.Next(type, body, ClientTrailerKind(type), body2);
    m_socket.SendData(frame.data(), long(frame.size()), 0);
    if (keepAlive && type == msg::Detect)
        ReArmKeepAlive();
    return true;
}

void CTableConnection::SendDetect() {
    Send(CDetect{});
}

void CTableConnection::ReArmKeepAlive() {
    reArm(kKeepAliveTimer, kKeepAliveMs);
}

bool CTableConnection::RequestExit(const CExit_Request& m) {
    if (!m_state.inGame)
        return false;
    ++m_state.exitRequests;
    if (m_state.exitRequests > kMaxExitRequests)
        return false;
    Send(m);
    m_timers.SetTimer(kExitRequestTimer, kExitRequestMs);
    m_state.exitRequestAllowed = false;
    return true;
}

// ---- receiving -----------------------------------------------------------------

void CTableConnection::OnReceive(const uint8_t* data, long count) {
    reArm(kReceiveWatchdogTimer, kWatchdogMs);
    if (!data || count <= 0) {
        // Nothing to read: a component that delivers less than it was asked
        // for is broken, and the stream with it.
        networkFailure();
        return;
    }
    const std::span<const uint8_t> bytes(data, std::size_t(count));
    if (m_state.phase == ReceivePhase::Header)
        receiveHeader(bytes);
    else
        receiveBody(bytes);
}

void CTableConnection::receiveHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() != kHeaderSize) {
        networkFailure();
        return;
    }
    const MessageHeader header = MessageHeader::Decode(bytes.first<kHeaderSize>());
    // A length no message can have would make us wait for (and allocate) an
    // arbitrary amount, or read a trailer that is not there: the stream is
    // corrupt, which is what a digest failure means too.
    if (!IsValidLength(header.length)) {
        networkFailure();
        return;
    }
    m_state.pendingType = header.type;
    m_state.pendingLength = header.length;
    if (header.seq != 0) {
        if (header.seq > m_state.lastSeq)
            m_state.lastSeq = header.seq;
        else
            sequenceFailure();
    }
    if (header.length == 0) {
        m_socket.ReceiveBytes(kHeaderSize);
        return;
    }
    m_socket.ReceiveBytes(long(header.length));
    m_state.phase = ReceivePhase::Body;
}

void CTableConnection::receiveBody(std::span<const uint8_t> payload) {
    m_state.phase = ReceivePhase::Header;
    if (payload.size() != m_state.pendingLength) {
        networkFailure();
        return;
    }
    const uint16_t type = m_state.pendingType;
    if (!IsTrailerExempt(type) && !KeyedTrailerMatches(payload, m_state.lastSeq, Key())) {
        networkFailure();
        return;
    }
    dispatch(type, payload.first(payload.size() - kTrailerSize));
    m_socket.ReceiveBytes(kHeaderSize);
}

void CTableConnection::dispatch(uint16_t type, std::span<const uint8_t> body) {
    // A body too short for its message's layout is dropped here, so no
    // handler ever reads one.
    if (body.size() < ServerMinBody(type))
        return;
    if (type == msg::Detect)
        return;
    if (type == msg::Connection_Key_Server) {
        CConnection_Key_Server m;
        if (m.Parse(body))
            setUpConnection(m);
    }
    for (IMessageHandler* handler : m_handlers)
        if (handler && handler->HandleMessage(type, body))
            break;
}

void CTableConnection::setUpConnection(const CConnection_Key_Server& m) {
    m_sender.SetKey(m.m_nKey);
    m_sender.SetCounter(m.m_nSendCounter);
    m_state.lastSeq = m.m_nLastSeq;
    SendDetect();
    reArm(kReceiveWatchdogTimer, kWatchdogMs);
}

// ---- failures ------------------------------------------------------------------

void CTableConnection::networkFailure() {
    m_state.phase = ReceivePhase::Header;
    m_reporter.ShowModalMessage(texts::NetworkFault());
    m_socket.Close();
    Connect();
}

void CTableConnection::sequenceFailure() {
    m_socket.Close();
    m_timers.KillTimer(kKeepAliveTimer);
    ++m_state.reconnectCount;
    m_state.reconnecting = true;
    if (m_state.reconnectCount < kMaxReconnects) {
        m_reporter.ShowModalMessage(texts::NetworkFault());
        Connect();
        return;
    }
    m_state.reconnectCount = 0;
    m_state.ended = true;
    m_timers.KillTimer(kKeepAliveTimer);
    m_reporter.ShowModalMessage(texts::CannotConnect());
    LeaveTable();
}

void CTableConnection::LeaveTable() {
    m_socket.Close();
    m_timers.KillTimer(kReceiveWatchdogTimer);
    m_timers.KillTimer(kKeepAliveTimer);
    m_reporter.CloseTable();
}

void CTableConnection::giveUp(int timerId) {
    m_state.reconnectCount = 0;
    m_state.ended = true;
    m_timers.KillTimer(timerId);
    m_reporter.ShowEndMessage(texts::CannotConnect());
}

// ---- timers --------------------------------------------------------------------

void CTableConnection::OnTimer(int id) {
    if (m_settings.review || m_state.ended) {
        m_timers.KillTimer(id);
        return;
    }
    switch (id) {
    case kKeepAliveTimer:
        SendDetect();
        break;
    case kReceiveWatchdogTimer:
        m_timers.KillTimer(kKeepAliveTimer);
        ++m_state.reconnectCount;
        m_state.reconnecting = true;
        if (m_state.reconnectCount < kMaxReconnects)
            Connect(); // the watchdog keeps running
        else
            giveUp(id);
        break;
    case kPlayerWatchdogTimer:
        watchdogExpired(id, kWatchdogMs);
        break;
    case kLoginWatchdogTimer:
        watchdogExpired(id, kLoginWatchdogMs);
        break;
    case kExitRequestTimer:
        m_timers.KillTimer(id);
        m_state.exitRequestAllowed = true;
        break;
    default:
        break;
    }
}

void CTableConnection::watchdogExpired(int id, int periodMs) {
    ++m_state.reconnectCount;
    m_state.reconnecting = true;
    if (m_state.reconnectCount < kMaxReconnects) {
        Connect();
        reArm(id, periodMs);
    } else {
        giveUp(id);
    }
}

// ---- the connection's part of table messages -----------------------------------

void CTableConnection::ApplyPersonState(const CPerson_State_Server& m, bool aboutOwnPlayer) {
    const int state = m.m_nState;
    if (aboutOwnPlayer && (state == 4 || state == 6))
        m_timers.SetTimer(kPlayerWatchdogTimer, kWatchdogMs);
    if (m.m_nEndFlag == 1 || m.m_nEndFlag == 2)
        return;
    if (state == 1 || state == 3 || state == 5)
        m_timers.KillTimer(kLoginWatchdogTimer);
    if (aboutOwnPlayer) {
        if (state == 2)
            m_state.reconnecting = false;
        m_state.inGame = state == 1 || state == 2;
    }
}

void CTableConnection::ApplyGameAbort() {
    m_timers.KillTimer(kPlayerWatchdogTimer);
    m_timers.KillTimer(kLoginWatchdogTimer);
    reArm(kReceiveWatchdogTimer, kWatchdogMs);
}

} // namespace protocol
