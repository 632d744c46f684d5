#pragma once

#include <string>
#include <string_view>

namespace vidora {

// Watches FFmpeg's error output, which arrives in pieces of any size, for the lines in which
// FFmpeg says that its output is empty or unfinished although it may still end with exit code
// 0: a run that encoded nothing, a trailer or a close that failed (a full disk).
class IncompleteOutputWatcher {
public:
    void feed(std::string_view bytes);
    // The first such line seen; empty while there is none.
    const std::string& reason() const { return m_reason; }

private:
    void takeLine();

    std::string m_line;
    std::string m_reason;
};

// How one FFmpeg run of fp.dll ended.
struct EncoderEnd {
    int exitCode = 0;             // FFmpeg's, 128 + the signal's number when a signal ended it
    bool quitKeySent = false;     // a "q" reached FFmpeg: the job was cancelled
    bool stopRequested = false;   // a signal or the end of the program stopped the job
    std::string incompleteOutput; // what IncompleteOutputWatcher saw
    bool nothingWritten = false;  // FFmpeg's last progress report: no picture and no time
};

// What fp.dll makes of that end: whether the output is complete and gets its final name, the
// launcher's exit code, and a line to add to FFmpeg's output (empty for none).
struct EncoderVerdict {
    bool keepOutput = false;
    int exitCode = 0;
    std::string message;
};

// A job stopped before its end exits with this code even when FFmpeg closed its file and
// ended with 0, as it does on its quit key.
inline constexpr int StoppedExitCode = 255;

// The words every line about an output without content holds, FFmpeg's own ("Output file is
// empty, nothing was encoded") and fp.dll's: the program recognises the failure by them.
inline constexpr std::string_view NothingEncodedWords = "nothing was encoded";

EncoderVerdict judgeEncoderEnd(const EncoderEnd& end);

} // namespace vidora
