#pragma once
// Waiting in the tests of the server and the bots is always for an event:
// the event loop runs until the condition holds, or fails at the deadline.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace tools::testing {

inline bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

} // namespace tools::testing
