#include "support/widgets/Modal.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace vidora::test {

OpenedModal openModal(const std::function<void()>& open,
                      const std::function<void(QWidget*)>& inspect) {
    OpenedModal opened;
    QTimer::singleShot(0, [&] {
        QPointer<QWidget> window = QApplication::activeModalWidget();
        if (!window)
            return;
        opened.name = window->objectName();
        opened.modal = window->isModal();
        if (inspect)
            inspect(window);
        if (window && window->isVisible())
            window->close();
    });
    open();
    return opened;
}

} // namespace vidora::test
