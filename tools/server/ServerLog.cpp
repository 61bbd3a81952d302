#include "tools/server/ServerLog.h"

#include <QDateTime>
#include <cstdio>

namespace server {

namespace {
LogSink g_sink;
bool g_stderr = true;
} // namespace

void LogLine(const QString& line) {
    if (g_stderr) {
        const QByteArray text =
            (QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QLatin1Char(' ') + line)
                .toUtf8();
        std::fprintf(stderr, "%s\n", text.constData());
        std::fflush(stderr);
    }
    if (g_sink)
        g_sink(line);
}

void SetLogSink(LogSink sink) {
    g_sink = std::move(sink);
}

void SetLogToStderr(bool on) {
    g_stderr = on;
}

} // namespace server
