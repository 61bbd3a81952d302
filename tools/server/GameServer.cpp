#include "tools/server/GameServer.h"

#include "billiards/protocol/TableMessages.h"
#include "tools/server/ServerLog.h"

#include <QDateTime>
#include <QTimer>

namespace server {

CGameServer::CGameServer(const CServerConfig& config)
    : m_config(config),
      m_rng(config.seed != 0 ? config.seed
                             : static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch())) {
    m_server.setMaxPendingConnections(64);
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] { onNewConnection(); });
}

CGameServer::~CGameServer() {
    // Tables refer to links; links call back into tables while closing.
    m_bShuttingDown = true;
    m_tables.clear();
    m_links.clear();
}

bool CGameServer::Listen(QString& error) {
    if (!m_server.listen(m_config.address, m_config.port)) {
        error = m_server.errorString();
        return false;
    }
    LogLine(QStringLiteral("listening on %1:%2").arg(Address().toString()).arg(Port()));
    return true;
}

const CTable* CGameServer::Table(uint16_t desk) const {
    const auto it = m_tables.find(desk);
    return it == m_tables.end() ? nullptr : it->second.get();
}

void CGameServer::onNewConnection() {
    while (QTcpSocket* raw = m_server.nextPendingConnection()) {
        std::unique_ptr<QTcpSocket> socket(raw);
        socket->setParent(nullptr);
        if (m_bShuttingDown ||
            m_links.size() >= static_cast<std::size_t>(m_config.maxConnections)) {
            LogLine(QStringLiteral("refused %1: too many connections")
                        .arg(socket->peerAddress().toString()));
            socket->abort();
            continue;
        }
        const uint64_t id = m_nNextLinkId++;
        ++m_stats.connections;
        auto link =
            std::make_unique<CClientLink>(std::move(socket), *this, id, m_config.limits.watchdogMs);
        LogLine(QStringLiteral("connection %1 from %2").arg(id).arg(link->Peer()));
        m_links.emplace(id, std::move(link));
    }
}

void CGameServer::OnLinkFrame(CClientLink& link, const protocol::CFrame& frame) {
    if (!link.loggedIn) {
        login(link, frame);
        return;
    }
    if (frame.header.type == protocol::msg::Table_Login) {
        link.Close(QStringLiteral("second login on one connection"));
        return;
    }
    const auto it = m_tables.find(link.desk);
    if (it != m_tables.end())
        it->second->OnFrame(link, frame);
}

void CGameServer::login(CClientLink& link, const protocol::CFrame& frame) {
    protocol::CTable_Login login;
    if (frame.header.type != protocol::msg::Table_Login || !login.Parse(frame.body)) {
        link.Close(QStringLiteral("no valid login"));
        return;
    }
    if (login.m_nPersonId == 0 || login.m_nSeatNo > 1) {
        link.Send(protocol::CNo_Server{});
        link.Close(QStringLiteral("login for id %1 seat %2 refused")
                       .arg(login.m_nPersonId)
                       .arg(login.m_nSeatNo));
        return;
    }
    auto it = m_tables.find(login.m_nDeskNo);
    if (it == m_tables.end()) {
        if (m_tables.size() >= static_cast<std::size_t>(m_config.maxTables)) {
            link.Send(protocol::CNo_Server{});
            link.Close(QStringLiteral("too many tables"));
            return;
        }
        it = m_tables
                 .emplace(login.m_nDeskNo,
                          std::make_unique<CTable>(login.m_nDeskNo, m_config, *this))
                 .first;
    }
    link.loggedIn = true;
    link.personId = login.m_nPersonId;
    link.desk = login.m_nDeskNo;
    link.seat = login.m_nSeatNo;
    link.watchNo = login.m_nWatchNo;
    LogLine(QStringLiteral("connection %1: id %2 logs in to desk %3 seat %4%5")
                .arg(link.Id())
                .arg(login.m_nPersonId)
                .arg(login.m_nDeskNo)
                .arg(login.m_nSeatNo)
                .arg(login.m_nWatchNo >= 0 ? QStringLiteral(" as watcher %1").arg(login.m_nWatchNo)
                                           : QString()));
    it->second->Admit(link, login);
}

void CGameServer::OnLinkClosed(CClientLink& link, const QString& reason) {
    LogLine(QStringLiteral("connection %1 (id %2) closed: ").arg(link.Id()).arg(link.personId) +
            reason);
    if (!m_bShuttingDown && link.loggedIn) {
        const auto it = m_tables.find(link.desk);
        if (it != m_tables.end())
            it->second->OnLinkClosed(link);
    }
    scheduleCollect();
}

void CGameServer::scheduleCollect() {
    if (m_bCollectPosted)
        return;
    m_bCollectPosted = true;
    // Links and tables go after the current event: callers up the stack may
    // still hold them.
    QTimer::singleShot(0, &m_server, [this] { collect(); });
}

void CGameServer::collect() {
    m_bCollectPosted = false;
    std::erase_if(m_links, [](const auto& entry) { return entry.second->Closed(); });
    std::erase_if(m_tables, [](const auto& entry) {
        const CTable& t = *entry.second;
        return !t.HasLinks() && (t.Ended() || t.CurrentStage() == CTable::Stage::Waiting);
    });
}

void CGameServer::Shutdown(std::function<void()> done) {
    m_bShuttingDown = true;
    m_server.close();
    for (auto& [desk, table] : m_tables)
        table->Shutdown();
    for (auto& [id, link] : m_links)
        link->Close(QStringLiteral("server shutting down"));
    LogLine(QStringLiteral("shut down: %1 connections, %2 games, %3 shots judged, %4 reports "
                           "differed from the replay, %5 replaced")
                .arg(m_stats.connections)
                .arg(m_stats.games)
                .arg(m_stats.shotsJudged)
                .arg(m_stats.reportDifferences)
                .arg(m_stats.reportsReplaced));
    m_tables.clear();
    // Destroying the links lets their sockets linger until flushed.
    m_links.clear();
    QTimer::singleShot(0, std::move(done));
}

} // namespace server
