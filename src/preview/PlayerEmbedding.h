#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

namespace vidora {

// The player draws into a window of ours given by its X11 id, so the program needs an X11
// connection: in a Wayland session with XWayland (DISPLAY set) it asks Qt for the xcb
// platform, unless the person chose one with QT_QPA_PLATFORM. Returns the platform to ask for,
// or an empty text to leave Qt's choice alone.
QByteArray embeddingPlatform(const QProcessEnvironment& environment);

// Before the application object exists: applies embeddingPlatform to this process, and keeps
// a native host from turning its siblings and parents native too.
void prepareForEmbeddedPlayer();

} // namespace vidora
