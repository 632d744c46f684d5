#pragma once

#include "Drawing.h"

#include <vector>

namespace makepictures {

// The button bar's pictures, 48x48 on a clear background: add.png, remove.png, clear.png,
// settings.png, help.png, exit.png and convert.png.
std::vector<NamedPicture> drawButtonPictures();

} // namespace makepictures
