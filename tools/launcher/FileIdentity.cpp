#include "launcher/FileIdentity.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vidora {

namespace {

std::string currentFolder() {
    std::vector<char> buffer(PATH_MAX);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20)) {
            return "/";
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// "/a//b/./c/../d" -> "/a/b/d" for an absolute path, without looking at the disk.
std::string lexicallyNormal(const std::string& absolute) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= absolute.size()) {
        std::size_t slash = absolute.find('/', start);
        if (slash == std::string::npos) {
            slash = absolute.size();
        }
        const std::string part = absolute.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string normal;
    for (const std::string& part : parts) {
        normal += "/" + part;
    }
    return normal.empty() ? "/" : normal;
}

// The absolute path with the symbolic links of its longest existing leading part resolved.
std::string resolvedPath(const std::string& path) {
    std::string absolute =
        lexicallyNormal(path.starts_with('/') ? path : currentFolder() + "/" + path);
    std::string head = absolute;
    std::string tail;
    for (;;) {
        if (char* real = realpath(head.c_str(), nullptr)) {
            std::string resolved = real;
            std::free(real);
            return lexicallyNormal(resolved + tail);
        }
        const std::size_t slash = head.rfind('/');
        if (slash == std::string::npos || head == "/") {
            return absolute;
        }
        tail = head.substr(slash) + tail;
        head = slash == 0 ? "/" : head.substr(0, slash);
    }
}

} // namespace

bool sameFile(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty()) {
        return false;
    }
    struct stat firstStatus {};
    struct stat secondStatus {};
    if (stat(first.c_str(), &firstStatus) == 0 && stat(second.c_str(), &secondStatus) == 0) {
        return firstStatus.st_dev == secondStatus.st_dev &&
               firstStatus.st_ino == secondStatus.st_ino;
    }
    return resolvedPath(first) == resolvedPath(second);
}

std::string inputOverwriteMessage(const EncoderCall& call) {
    std::vector<std::string> written = call.outputs;
    for (const TemporaryOutput& output : call.temporaryOutputs) {
        written.push_back(output.temporary);
    }
    if (!call.statisticsFile.empty()) {
        written.push_back(call.statisticsFile);
    }
    for (const std::string& target : written) {
        for (const std::string& input : call.inputs) {
            if (sameFile(target, input)) {
                return "fp.dll: will not write \"" + target + "\": it is the input file \"" +
                       input + "\"";
            }
        }
    }
    return {};
}

} // namespace vidora
