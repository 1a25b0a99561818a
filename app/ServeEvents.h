// The waits of a paste-mode send. The clipboard's owner answers paste requests from its
// event loop, so a wait that spins without it would make the paste arrive empty.
#pragma once

#include <QEventLoop>
#include <QObject>
#include <QTimer>

namespace ombrix::app {

// Runs the event loop, without user input, until done() holds.
template <class Done>
void ServeEventsUntil(Done done)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(2);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    tick.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace ombrix::app
