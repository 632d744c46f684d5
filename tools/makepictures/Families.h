#pragma once

#include "Drawing.h"

#include <vector>

namespace makepictures {

// The profile chooser's picture list, 32x32 on a clear background, one picture per position
// of the catalogue's list ("01.png" ...): at a position a header row names, its family's
// picture; elsewhere a tinted tile with a mark. Empty, with the reason in `problem`, when a
// header row's family has no drawing here or families sharing a position are drawn apart.
std::vector<NamedPicture> drawChooserPictures(QString* problem);

} // namespace makepictures
