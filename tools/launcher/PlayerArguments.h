#pragma once

#include <string>
#include <vector>

namespace vidora {

// Turns the arguments the program gives its player into arguments for MPlayer 1.5: drops the
// Windows-only "-priority" with its value and replaces the video output "gl2", which this
// build lacks, by a list it has, adding "-zoom" so that every output of the list fills the
// window it draws into. Everything else, file names included, passes unchanged.
std::vector<std::string> translatePlayerArguments(const std::vector<std::string>& arguments);

} // namespace vidora
