#include "support/widgets/ModalWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

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

OpenedModal openModal(const std::function<void()>& open,
                      const std::function<void(QWidget*)>& inspect) {
    // Shared, so a window that only opens after `open` returned finds something to write to.
    auto opened = std::make_shared<OpenedModal>();
    whenModalOpens([opened, inspect](QWidget* found) {
        const QPointer<QWidget> window(found);
        opened->name = window->objectName();
        opened->modal = window->isModal();
        if (inspect)
            inspect(window);
        if (window && window->isVisible())
            window->close();
    });
    open();
    return *opened;
}

} // namespace vidora::test
