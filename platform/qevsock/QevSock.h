#pragma once
// The socket component on QTcpSocket: one TCP connection to the game server,
// directly or through an HTTP CONNECT or SOCKS5 proxy, delivering what
// arrives in the byte counts the receiver asks for.

#include "platform/qevsock/IQevSock.h"
#include "platform/qevsock/ReceiveQueue.h"
#include "platform/timers/WindowTimers.h"

#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <memory>
#include <vector>

namespace platform {

class CQevSock final : public QObject, public IQevSock, private ITimerOwner {
public:
    // The silence timer's id among the component's own timers.
    static constexpr int kTimeoutTimer = 1;

    explicit CQevSock(QObject* parent = nullptr);
    ~CQevSock() override;

    void Close() override;
    bool Connect(const std::string& address, long port) override;
    short SendData(const uint8_t* data, long count, short flag) override;
    void SetProxy(short kind, const std::string& address, long port) override;
    void SetProxyWithAuth(short kind, const std::string& address, long port,
                          const std::string& user, const std::string& password) override;
    bool ReceiveBytes(long count) override;
    void SetTimeoutValue(long ms) override;
    void Advise(IQevSockEvents* sink) override;
    void Unadvise(IQevSockEvents* sink) override;

    // What the next Connect will go through.
    const QNetworkProxy& Proxy() const { return m_proxy; }
    bool IsConnected() const;

private:
    struct SocketDeleter {
        void operator()(QTcpSocket* s) const;
    };

    void OnTimer(int id) override;
    void onConnected();
    void onError();
    void onReadyRead();
    void deliver();
    void scheduleDelivery();
    void armTimeout();
    void dropSocket();
    void fireConnect(short result);

    std::unique_ptr<QTcpSocket, SocketDeleter> m_socket;
    QNetworkProxy m_proxy{QNetworkProxy::NoProxy};
    CReceiveQueue m_queue;
    std::vector<IQevSockEvents*> m_sinks;
    CWindowTimers m_timers{*this};
    long m_nTimeoutMs = 0;
    bool m_bConnecting = false;
    bool m_bDelivering = false;
    bool m_bDeliveryPosted = false;
};

} // namespace platform
