#pragma once
// One line per event worth keeping: connections, logins, games, verdicts,
// drops. Lines go to standard error with a timestamp; tests and tools may
// add a sink to see them too.

#include <QString>
#include <functional>

namespace server {

void LogLine(const QString& line);

// Every line also goes to `sink` while it is installed (empty: none).
using LogSink = std::function<void(const QString&)>;
void SetLogSink(LogSink sink);
// Whether lines go to standard error (on by default).
void SetLogToStderr(bool on);

} // namespace server
