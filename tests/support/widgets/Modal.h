#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vidora::test {

// What a command opened modally: the window's object name and whether it was modal; an
// empty name when nothing modal opened.
struct OpenedModal {
    QString name;
    bool modal = false;
};

// Runs `open`, a command that opens a modal window and returns when it has closed. Once the
// window is up, `inspect` sees it; the window is then closed with its close box, unless
// `inspect` closed it already. So no test waits on the window.
OpenedModal openModal(const std::function<void()>& open,
                      const std::function<void(QWidget*)>& inspect = {});

} // namespace vidora::test
