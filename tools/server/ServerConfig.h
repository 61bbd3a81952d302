#pragma once
// What the table server is told at start: where to listen, where the
// accounts are, and the time limits of a table. Every value has a default
// that works without any file: loopback, generated accounts.

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace server {

struct CTimeLimits {
    int startupMs = 120000;       // the second player must come within this
    int watchdogMs = 75000;       // a client silent for this long is dropped
    int reconnectGraceMs = 60000; // a dropped player may come back within this
    int turnMs = 60000;           // backstop when a desk never reports its time-out
    int flightMs = 60000;         // backstop when the shooter never reports a shot
    int exitAnswerMs = 45000;     // the other player's answer to an exit request
    int magicIntervalMs = 3000;   // one magic action per person within this
    int64_t playTimeNotice1Ms = 3LL * 3600 * 1000;
    int64_t playTimeNotice2Ms = 5LL * 3600 * 1000;
};

struct CServerConfig {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 7100; // 0: any free port
    QString accountsFile;
    QString configFile;
    CTimeLimits limits;
    int maxShotsPerGame = 0; // 0: no limit; otherwise the game is decided on the balls left
    int maxConnections = 1000;
    int maxTables = 500;
    uint32_t seed = 0; // racks and keys; 0: from the clock
};

// Reads the command line (without argv[0]) into `config`, then the config
// file it names. Returns false with `error` set on bad input; `help` is set
// when --help was asked for (then nothing else is read).
bool ParseCommandLine(const QStringList& args, CServerConfig& config, QString& error, bool& help);
QString UsageText();

// Reads the JSON config file: time limits and table settings. Keys that are
// missing keep their value; keys of the wrong type or range are errors.
bool LoadConfigFile(const QString& path, CServerConfig& config, QString& error);
bool ParseConfigJson(const QByteArray& json, CServerConfig& config, QString& error);

} // namespace server
