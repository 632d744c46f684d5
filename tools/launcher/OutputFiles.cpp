#include "launcher/OutputFiles.h"

#include "launcher/EncoderOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace vidora {

std::string temporaryOutputPath(const std::string& output) {
    const std::size_t slash = output.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = output.substr(nameStart);
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    return output.substr(0, nameStart) + "." + stem + ".part" + extension;
}

bool isWrittenThroughTemporary(const std::string& output) {
    if (output.empty() || output == "-" || output.back() == '/' || output.starts_with("/dev/")) {
        return false;
    }
    const std::size_t colon = output.find(':');
    return colon == std::string::npos || colon > output.find('/');
}

std::string publishOutput(const std::string& temporary, const std::string& output) {
    struct stat status {};
    if (stat(temporary.c_str(), &status) != 0) {
        return "fp.dll: FFmpeg wrote no file \"" + output + "\"";
    }
    if (status.st_size == 0) {
        discardOutput(temporary);
        return "fp.dll: FFmpeg wrote an empty file, " + std::string(NothingEncodedWords) + "; \"" +
               output + "\" was not written";
    }
    if (std::rename(temporary.c_str(), output.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        discardOutput(temporary);
        return "fp.dll: cannot name the output \"" + output + "\": " + why;
    }
    return {};
}

void discardOutput(const std::string& temporary) {
    std::remove(temporary.c_str());
}

} // namespace vidora
