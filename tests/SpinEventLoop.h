#pragma once
// Test helper: runs the Qt event loop until a condition holds or the time is up.
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>

namespace lodgeview::test {

// Returns done() at the end. The condition is checked every 10 ms; meanwhile the loop sleeps.
inline bool SpinUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    if (done())
        return true;
    const QDeadlineTimer deadline(timeout);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    return done();
}

} // namespace lodgeview::test
