#pragma once

#include <QElapsedTimer>
#include <QTest>

#include <functional>

// Serves the event loop until `done` holds or a second has passed.
inline bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
        QTest::qWait(5);
    return done();
}
