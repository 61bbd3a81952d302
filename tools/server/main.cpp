// billiards-server: the game server of the eight-ball tables. See
// tools/server/README.md for the connection flow and how to run it.

#include "tools/server/ClientLink.h"
#include "tools/server/GameServer.h"
#include "tools/server/ServerConfig.h"
#include "tools/server/ServerLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Nothing else is safe in a signal handler; the event loop does the rest.
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
}

// Waits for the sockets of closed connections to hand over their last bytes,
// at most a couple of seconds, then quits.
void quitWhenFlushed(QElapsedTimer started) {
    if (server::CClientLink::LingeringSockets() == 0 || started.elapsed() > 2000) {
        QCoreApplication::quit();
        return;
    }
    QTimer::singleShot(10, [started] { quitWhenFlushed(started); });
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();

    server::CServerConfig config;
    QString error;
    bool help = false;
    if (!server::ParseCommandLine(args, config, error, help)) {
        std::fprintf(stderr, "billiards-server: %s\n\n%s", qPrintable(error),
                     qPrintable(server::UsageText()));
        return 2;
    }
    if (help) {
        std::fputs(qPrintable(server::UsageText()), stdout);
        return 0;
    }

    server::CGameServer gameServer(config);
    if (!config.accountsFile.isEmpty() && !gameServer.Accounts().Load(config.accountsFile, error)) {
        std::fprintf(stderr, "billiards-server: %s\n", qPrintable(error));
        return 2;
    }
    if (!gameServer.Listen(error)) {
        std::fprintf(stderr, "billiards-server: cannot listen: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("listening %s:%u\n", qPrintable(gameServer.Address().toString()),
                unsigned(gameServer.Port()));
    std::fflush(stdout);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        std::perror("billiards-server: socketpair");
        return 1;
    }
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    bool stopping = false;
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        char byte = 0;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &byte, 1);
        if (stopping)
            return;
        stopping = true;
        server::LogLine(QStringLiteral("signal received, shutting down"));
        gameServer.Shutdown([] {
            QElapsedTimer started;
            started.start();
            quitWhenFlushed(started);
        });
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const int rc = app.exec();
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    return rc;
}
