#pragma once
// Test helper: runs the Qt event loop until a condition holds or the time is up.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace lodgeview::test {

inline bool SpinUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace lodgeview::test
