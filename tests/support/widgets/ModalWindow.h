#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vidora::test {

// Acts on the modal window that an entry is about to open, once it is open. It looks every
// 10 ms from whatever event loop runs (a wait before the window's own loop starts, then the
// window's), up to timeoutMs; when no modal window opened in that time, `act` never runs.
// The entry is triggered after this call; it returns when the window has closed, so `act`
// must close it.
void whenModalOpens(const std::function<void(QWidget* window)>& act, int timeoutMs = 10000);

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
