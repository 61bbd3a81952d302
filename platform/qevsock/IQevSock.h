#pragma once
// The socket component the table talks to the game server through. Methods
// and events keep the dispatch ids the callers know them by; any component
// that offers them this way will do. CQevSock is the one on QTcpSocket, and
// tests drive the protocol through fakes of this interface.

#include <cstdint>
#include <string>

namespace platform {

namespace qevsock {

enum Dispid : int {
    DISPID_Close = 2,
    DISPID_Connect = 3,
    DISPID_SendData = 5,
    DISPID_SetProxy = 7,
    DISPID_SetProxyWithAuth = 8,
    DISPID_ReceiveBytes = 9,
    DISPID_SetTimeoutValue = 10,
};

enum EventDispid : int {
    DISPID_OnConnect = 1,
    DISPID_OnReceive = 2,
};

// The first argument of SetProxy / SetProxyWithAuth.
enum ProxyKind : short {
    ProxyHttpConnect = 1,     // HTTP CONNECT, no user name
    ProxySocks5 = 2,          // SOCKS5, no user name
    ProxySocks5Auth = 3,      // SOCKS5 with user name and password
    ProxyHttpConnectAuth = 4, // HTTP CONNECT, with user name and password when given
};

} // namespace qevsock

// Events, called synchronously on the thread that owns the component.
class IQevSockEvents {
public:
    virtual ~IQevSockEvents() = default;
    // 1: connected, 0: the connection could not be made.
    virtual void OnConnect(short result) = 0; // dispid 1
    // Exactly the number of bytes asked for with ReceiveBytes. The bytes are
    // valid during the call only.
    virtual void OnReceive(const uint8_t* data, long count) = 0; // dispid 2
};

class IQevSock {
public:
    virtual ~IQevSock() = default;

    // Drops the current connection and everything buffered for it.
    virtual void Close() = 0; // dispid 2
    // Starts connecting; OnConnect reports the outcome. The result says only
    // whether the attempt could be started.
    virtual bool Connect(const std::string& address, long port) = 0; // dispid 3
    // Sends one complete message. Returns the bytes queued, 0 when there is
    // no connection.
    virtual short SendData(const uint8_t* data, long count, short flag) = 0;      // dispid 5
    virtual void SetProxy(short kind, const std::string& address, long port) = 0; // dispid 7
    virtual void SetProxyWithAuth(short kind, const std::string& address, long port,
                                  const std::string& user, const std::string& password) = 0; // 8
    // Asks for exactly `count` bytes in one OnReceive; 0 holds delivery back.
    // One request, one delivery: the receiver asks again for more.
    virtual bool ReceiveBytes(long count) = 0; // dispid 9
    // A connection that receives nothing for `ms` milliseconds is closed
    // (0: never). Also bounds how long a connect may take.
    virtual void SetTimeoutValue(long ms) = 0; // dispid 10

    virtual void Advise(IQevSockEvents* sink) = 0;
    virtual void Unadvise(IQevSockEvents* sink) = 0;
};

} // namespace platform
