#pragma once

#include "launcher/EncoderArguments.h"

#include <string>

namespace vidora {

// Whether two spellings name the same file: the same device and inode when both exist (so a
// symbolic or hard link counts too), otherwise the same absolute path once ".", "..", doubled
// slashes and the symbolic links of its existing folders are resolved.
bool sameFile(const std::string& first, const std::string& second);

// The line that fp.dll prints when the encoder would write onto one of its own input files
// (an output under its final or its temporary name, or the statistics file); empty when it
// would not.
std::string inputOverwriteMessage(const EncoderCall& call);

} // namespace vidora
