#pragma once

class QWidget;

namespace vidora {

// Which windows the host's parents are.
enum class HostParents {
    // Qt's own: only the host gets an X11 window (the usual case).
    Windowless,
    // Native windows too, so that the host's X11 window moves when they move.
    Native,
};

// Makes `host` the box the embedded player draws into: a native child widget with its own X11
// window (its id goes after "-wid"), black where no picture is yet, which Qt never paints over.
void preparePlayerHost(QWidget* host, HostParents parents = HostParents::Windowless);

} // namespace vidora
