#pragma once

#include <QIcon>

namespace vidora {

// The program's icon in every size the program folder's "icons" folder holds (vidora-16.png
// ... vidora-256.png); an empty icon when there are none.
QIcon programIcon();

} // namespace vidora
