#pragma once
// The table server: one listening socket, any number of tables (desks), the
// connections, the accounts and the one simulation engine every table
// replays its shots with. Everything runs on the thread of the event loop.

#include "desk/physics/ShotEngine.h"
#include "tools/server/Accounts.h"
#include "tools/server/ClientLink.h"
#include "tools/server/ServerConfig.h"
#include "tools/server/Table.h"

#include <QTcpServer>
#include <functional>
#include <map>
#include <memory>
#include <random>

namespace server {

class CGameServer final : public ILinkOwner, public ITableHost {
public:
    explicit CGameServer(const CServerConfig& config);
    ~CGameServer() override;
    CGameServer(const CGameServer&) = delete;
    CGameServer& operator=(const CGameServer&) = delete;

    // Starts listening; false with `error` set when the address is taken.
    bool Listen(QString& error);
    QHostAddress Address() const { return m_server.serverAddress(); }
    quint16 Port() const { return m_server.serverPort(); }

    // Every client is told the server goes, and every connection is closed.
    // `done` runs once the last socket has handed over what was queued (or
    // after a short grace), so the process can exit without losing it.
    void Shutdown(std::function<void()> done);

    CAccounts& Accounts() override { return m_accounts; }
    CServerStats& Stats() override { return m_stats; }
    uint32_t Random() override { return static_cast<uint32_t>(m_rng()); }
    desk::CShotEngine& Engine() override { return m_engine; }
    void TableEnded() override { scheduleCollect(); }

    const CTable* Table(uint16_t desk) const;
    std::size_t Connections() const { return m_links.size(); }
    std::size_t Tables() const { return m_tables.size(); }

    // ILinkOwner
    void OnLinkFrame(CClientLink& link, const protocol::CFrame& frame) override;
    void OnLinkClosed(CClientLink& link, const QString& reason) override;

private:
    void onNewConnection();
    void login(CClientLink& link, const protocol::CFrame& frame);
    void collect();
    void scheduleCollect();

    CServerConfig m_config;
    QTcpServer m_server;
    CAccounts m_accounts;
    CServerStats m_stats;
    std::mt19937 m_rng;
    desk::CShotEngine m_engine;
    std::map<uint64_t, std::unique_ptr<CClientLink>> m_links;
    std::map<uint16_t, std::unique_ptr<CTable>> m_tables;
    uint64_t m_nNextLinkId = 1;
    bool m_bCollectPosted = false;
    bool m_bShuttingDown = false;
};

} // namespace server
