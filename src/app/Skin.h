#pragma once

class QWidget;

namespace vidora {

// Applies the shared skin, skins/frmmain.skn of the program folder (a Qt style sheet), to a
// window as it opens. A missing or unreadable skin leaves the window in its plain look.
// Returns whether a skin was applied.
bool applySkin(QWidget* window);

} // namespace vidora
