#include "tools/server/ServerConfig.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

namespace server {

QString UsageText() {
    return QStringLiteral(
        "usage: billiards-server [--port P] [--address A] [--accounts FILE] [--config FILE]\n"
        "\n"
        "Serves eight-ball tables over TCP: any number of desks on one port.\n"
        "\n"
        "  --port P         TCP port to listen on (default 7100; 0 picks a free one)\n"
        "  --address A      address to listen on (default 127.0.0.1)\n"
        "  --accounts FILE  JSON array of accounts: id, username, nickname, sex,\n"
        "                   headpicid, gamescore, winnum, losenum, equalnum;\n"
        "                   unknown ids get generated names\n"
        "  --config FILE    JSON object of time limits and table settings:\n"
        "                   startupMs, watchdogMs, reconnectGraceMs, turnMs, flightMs,\n"
        "                   exitAnswerMs, magicIntervalMs, playTimeNotice1Ms,\n"
        "                   playTimeNotice2Ms, maxShotsPerGame, maxConnections,\n"
        "                   maxTables, seed\n"
        "  --help           this text\n"
        "\n"
        "The listening address is printed on standard output as\n"
        "\"listening HOST:PORT\"; a log line per connection, game and verdict goes to\n"
        "standard error. SIGTERM or SIGINT shuts the server down cleanly.\n");
}

bool ParseCommandLine(const QStringList& args, CServerConfig& config, QString& error, bool& help) {
    help = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            help = true;
            return true;
        }
        const auto value = [&](QString& out) {
            if (i + 1 >= args.size()) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            out = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--port")) {
            if (!value(v))
                return false;
            bool ok = false;
            const uint port = v.toUInt(&ok);
            if (!ok || port > 65535) {
                error = QStringLiteral("bad port: ") + v;
                return false;
            }
            config.port = static_cast<quint16>(port);
        } else if (a == QLatin1String("--address")) {
            if (!value(v))
                return false;
            QHostAddress address;
            if (!address.setAddress(v)) {
                error = QStringLiteral("bad address: ") + v;
                return false;
            }
            config.address = address;
        } else if (a == QLatin1String("--accounts")) {
            if (!value(config.accountsFile))
                return false;
        } else if (a == QLatin1String("--config")) {
            if (!value(config.configFile))
                return false;
        } else {
            error = QStringLiteral("unknown option: ") + a;
            return false;
        }
    }
    if (!config.configFile.isEmpty())
        return LoadConfigFile(config.configFile, config, error);
    return true;
}

bool LoadConfigFile(const QString& path, CServerConfig& config, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read config file ") + path;
        return false;
    }
    // A config file is a few lines; anything huge is not one.
    const QByteArray bytes = file.read(1 << 20);
    if (!ParseConfigJson(bytes, config, error)) {
        error = path + QStringLiteral(": ") + error;
        return false;
    }
    return true;
}

bool ParseConfigJson(const QByteArray& json, CServerConfig& config, QString& error) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        error = QStringLiteral("not a JSON object");
        return false;
    }
    const QJsonObject o = doc.object();
    struct Field {
        const char* key;
        int64_t lo;
        int64_t hi;
        std::function<void(int64_t)> set;
    };
    constexpr int64_t kDay = 24LL * 3600 * 1000;
    auto& l = config.limits;
    const Field fields[] = {
        {"startupMs", 1, kDay, [&](int64_t v) { l.startupMs = int(v); }},
        {"watchdogMs", 1, kDay, [&](int64_t v) { l.watchdogMs = int(v); }},
        {"reconnectGraceMs", 1, kDay, [&](int64_t v) { l.reconnectGraceMs = int(v); }},
        {"turnMs", 1, kDay, [&](int64_t v) { l.turnMs = int(v); }},
        {"flightMs", 1, kDay, [&](int64_t v) { l.flightMs = int(v); }},
        {"exitAnswerMs", 1, kDay, [&](int64_t v) { l.exitAnswerMs = int(v); }},
        {"magicIntervalMs", 0, kDay, [&](int64_t v) { l.magicIntervalMs = int(v); }},
        {"playTimeNotice1Ms", 1, 30 * kDay, [&](int64_t v) { l.playTimeNotice1Ms = v; }},
        {"playTimeNotice2Ms", 1, 30 * kDay, [&](int64_t v) { l.playTimeNotice2Ms = v; }},
        {"maxShotsPerGame", 0, 100000, [&](int64_t v) { config.maxShotsPerGame = int(v); }},
        {"maxConnections", 1, 100000, [&](int64_t v) { config.maxConnections = int(v); }},
        {"maxTables", 1, 100000, [&](int64_t v) { config.maxTables = int(v); }},
        {"seed", 0, 0xFFFFFFFFLL, [&](int64_t v) { config.seed = uint32_t(v); }},
    };
    for (auto it = o.begin(); it != o.end(); ++it) {
        const Field* field = nullptr;
        for (const Field& f : fields)
            if (it.key() == QLatin1String(f.key))
                field = &f;
        if (!field) {
            error = QStringLiteral("unknown key \"") + it.key() + QLatin1Char('"');
            return false;
        }
        const double d = it.value().toDouble(-1.0);
        // The range first: converting an out-of-range double is undefined.
        if (!it.value().isDouble() || !(d >= static_cast<double>(field->lo)) ||
            !(d <= static_cast<double>(field->hi)) ||
            d != static_cast<double>(static_cast<int64_t>(d))) {
            error = QStringLiteral("bad value for \"") + it.key() + QLatin1Char('"');
            return false;
        }
        field->set(static_cast<int64_t>(d));
    }
    if (l.playTimeNotice2Ms < l.playTimeNotice1Ms) {
        error = QStringLiteral("playTimeNotice2Ms is before playTimeNotice1Ms");
        return false;
    }
    return true;
}

} // namespace server
