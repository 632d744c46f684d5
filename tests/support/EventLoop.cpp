#include "support/EventLoop.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace vidora::test {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        settle(10);
    }
    return true;
}

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace vidora::test
