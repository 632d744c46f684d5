#include "launcher/EncoderOutput.h"

namespace vidora {

namespace {

// FFmpeg's words, each at the start of a line of its own (with no "[muxer @ ...]" prefix).
constexpr std::string_view IncompleteOutputLines[] = {
    "Output file is empty, nothing was encoded",
    "Error writing trailer of ",
    "Error closing file ",
};

// A line is judged by its start; the rest of a long line is not kept.
constexpr std::size_t KeptLineLength = 512;

} // namespace

void IncompleteOutputWatcher::feed(std::string_view bytes) {
    for (char c : bytes) {
        // FFmpeg ends its progress lines with CR, all others with LF.
        if (c == '\n' || c == '\r') {
            takeLine();
        } else if (m_line.size() < KeptLineLength) {
            m_line.push_back(c);
        }
    }
}

void IncompleteOutputWatcher::takeLine() {
    if (m_reason.empty()) {
        for (std::string_view start : IncompleteOutputLines) {
            if (m_line.starts_with(start)) {
                m_reason = m_line;
            }
        }
    }
    m_line.clear();
}

EncoderVerdict judgeEncoderEnd(const EncoderEnd& end) {
    if (end.exitCode != 0) {
        return {false, end.exitCode, {}};
    }
    if (end.quitKeySent || end.stopRequested) {
        return {false, StoppedExitCode,
                "fp.dll: the job was stopped before its end; its unfinished output was removed"};
    }
    // FFmpeg's own line says what went wrong.
    if (!end.incompleteOutput.empty()) {
        return {false, 1, {}};
    }
    if (end.nothingWritten) {
        return {false, 1,
                "fp.dll: " + std::string(NothingEncodedWords) +
                    " (does the start lie beyond the end?); no file was written"};
    }
    return {true, 0, {}};
}

} // namespace vidora
