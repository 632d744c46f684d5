#pragma once

#include <QString>

class QWidget;

namespace vidora {

// Help > "Help" (F1) and the "Help" button: opens a new help window on the start page beside
// the owner, not modal, and returns at once. Each call opens one more window.
void OpenHelp(QWidget* owner);

// Hands an address to the desktop's default handler (a web address to the browser) and
// returns at once; the result is not looked at. An address without a scheme names a file of
// the program folder.
void OpenLink(const QString& address);

// The two addresses the Help menu opens, fixed when the program is built (CMake cache
// variables VIDORA_HOME_PAGE and VIDORA_SUPPORT_PAGE).
QString homePageAddress();
QString supportPageAddress();

} // namespace vidora
