// billiards-bot: a headless eight-ball player (or watcher) for one table of
// a billiards-server. See tools/server/README.md for how to run one.

#include "tools/bot/BotOptions.h"
#include "tools/bot/BotPlayer.h"
#include "tools/bot/client/BotClient.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void out(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    bot::CBotOptions options;
    std::string error;
    if (!bot::ParseBotOptions(args, options, error)) {
        std::fprintf(stderr, "billiards-bot: %s\n\n%s", error.c_str(), bot::BotUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(bot::BotUsage().c_str(), stdout);
        return 0;
    }

    bot::CBotClient client(options.settings);
    bot::BrainSettings settings;
    settings.level = options.level;
    settings.seed = options.seed;
    bot::CShotBrain brain(settings);
    bot::CBotPlayer player(client, [&brain](const bot::ShotRequest& r) { return brain.choose(r); });
    bool leaving = false;
    auto& cb = client.Callbacks();
    cb.log = [](const QString& line) {
        std::fprintf(stderr, "billiards-bot: %s\n", line.toUtf8().constData());
    };
    cb.agreeTurn = [&] {
        if (!leaving)
            client.Agree();
    };
    cb.breakTurn = [&] { player.Break(); };
    cb.shotTurn = [&] { player.Shoot(); };
    cb.placeTurn = [&] { player.PlaceCueBall(); };
    // Another player who wants to leave is let go: a bot has no reason to
    // hold anybody at the table.
    cb.exitRequested = [&](uint32_t personId) {
        out(QStringLiteral("exit-request person=%1 answer=agree").arg(personId));
        return 0;
    };
    cb.shotChecked = [](const bot::CShotCheck& c) {
        out(QStringLiteral("shot seat=%1 own=%2 identical=%3 recovered=%4 steps=%5 next=%6")
                .arg(c.shooter)
                .arg(c.own ? 1 : 0)
                .arg(c.identical ? 1 : 0)
                .arg(c.recovered ? 1 : 0)
                .arg(c.steps)
                .arg(c.nextSeat));
    };
    cb.gameOver = [&](const protocol::CScore_List_Server& m) {
        out(QStringLiteral("game-over winner=%1 scores=%2:%3 totals=%4:%5")
                .arg(m.m_nWinner)
                .arg(m.m_nScore[0])
                .arg(m.m_nScore[1])
                .arg(m.m_nTotalScore[0])
                .arg(m.m_nTotalScore[1]));
        if (options.games > 0 && client.GamesOver() >= options.games && !leaving &&
            !options.settings.watcher) {
            leaving = true;
            out(QStringLiteral("leaving after %1 games").arg(client.GamesOver()));
            client.ExitGame(false);
        }
    };
    cb.ended = [&](const QString& why) {
        out(QStringLiteral("ended %1").arg(why));
        const int chosen = player.ShotsChosen();
        out(QStringLiteral("summary games=%1 compared=%2 mismatches=%3 faults=%4 recoveries=%5 "
                           "chosen=%6 think_us=%7 stale=%8")
                .arg(client.GamesOver())
                .arg(client.ShotsCompared())
                .arg(client.ShotMismatches())
                .arg(client.NetworkFaults())
                .arg(client.RecoveriesReceived())
                .arg(chosen)
                .arg(chosen > 0 ? player.ThinkingMicroseconds() / chosen : 0)
                .arg(player.StaleChoices()));
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    };
    client.Connect();
    return app.exec();
}
