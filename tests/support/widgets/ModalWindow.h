#pragma once

#include <functional>

class QWidget;

namespace vidora::test {

// Acts on the modal window that an entry is about to open, once it is open. It looks every
// 10 ms from whatever event loop runs (a wait before the window's own loop starts, then the
// window's), up to timeoutMs; when no modal window opened in that time, `act` never runs.
// The entry is triggered after this call; it returns when the window has closed, so `act`
// must close it.
void whenModalOpens(const std::function<void(QWidget* window)>& act, int timeoutMs = 10000);

} // namespace vidora::test
