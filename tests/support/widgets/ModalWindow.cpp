#include "support/widgets/ModalWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace vidora::test {

void whenModalOpens(const std::function<void(QWidget* window)>& act, int timeoutMs) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, clock, act, timeoutMs] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window && clock->elapsed() < timeoutMs)
            return;
        // Done before `act`, which may run event loops of its own.
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (window)
            act(window);
    });
    poll->start();
}

} // namespace vidora::test
