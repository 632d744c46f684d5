// fp.dll: the program's encoder. It runs the system's FFmpeg on the program's command line,
// fitted to today's FFmpeg, and stays beside it for the whole job:
// - FFmpeg writes each output under a temporary name beside it; the file gets its final name
//   only when FFmpeg succeeded and is removed otherwise, so a failed, cancelled or stopped job
//   leaves nothing under the final name, and an existing file is replaced only by a complete
//   one;
// - the launcher's standard input reaches FFmpeg through a pipe, so the key "q" written to the
//   launcher still stops FFmpeg, and the launcher knows that the job was cancelled;
// - FFmpeg's error output passes through unchanged while the launcher watches it for the lines
//   that say the output is empty or unfinished although FFmpeg ends with 0;
// - when the program that started it is gone (the kernel's parent-death signal, or the end of
//   its standard input pipe) the launcher stops FFmpeg in steps: its quit key, SIGTERM, SIGKILL.
//   The kernel kills FFmpeg when the launcher itself is killed;
// - FFmpeg writes no statistics file for an output without video, so the launcher follows
//   FFmpeg's progress report and writes the statistics lines for such jobs itself.
// Its exit code is FFmpeg's, unless FFmpeg's 0 would not tell the truth (see judgeEncoderEnd).

#include "launcher/EncoderArguments.h"
#include "launcher/EncoderOutput.h"
#include "launcher/FileIdentity.h"
#include "launcher/OutputFiles.h"
#include "launcher/Progress.h"
#include "launcher/SourceProbe.h"
#include "launcher/ToolLookup.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace vidora;

// FFmpeg writes its progress report to this descriptor ("-progress pipe:3").
constexpr int ProgressDescriptor = 3;

constexpr LaunchedTool kEncoder{"fp.dll", "ffmpeg", "ffmpeg"};
constexpr LaunchedTool kProbe{"fp.dll", "ffprobe", "ffmpeg"};

// Signals that stop the job; each is passed on to FFmpeg, which closes its file and ends.
constexpr int ForwardedSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
// What the kernel sends the launcher when the program that started it ends.
constexpr int ParentGoneSignal = SIGUSR1;

// A stop in steps: FFmpeg gets its quit key, SIGTERM when it still runs QuitKeyGraceMs later,
// SIGKILL after another TerminateGraceMs.
constexpr long long QuitKeyGraceMs = 3000;
constexpr long long TerminateGraceMs = 2000;
// How long the launcher still reads FFmpeg's output pipes once FFmpeg has ended.
constexpr long long DrainMs = 1000;
// A probe of the source that takes longer is given up; FFmpeg then meets the source as it is.
constexpr long long ProbeTimeoutMs = 15000;

long long nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A launcher started with a standard descriptor closed would hand that number to a pipe.
void openStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1) {
            open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        }
    }
}

void writeAll(int descriptor, const char* data, std::size_t size) {
    std::size_t written = 0;
    while (written < size) {
        const ssize_t count = ::write(descriptor, data + written, size - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        written += static_cast<std::size_t>(count);
    }
}

void printLine(const std::string& line) {
    const std::string text = line + "\n";
    writeAll(STDERR_FILENO, text.data(), text.size());
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return 1;
}

// The signals the launcher takes through its signal descriptor instead of handlers.
sigset_t handledSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signalNumber : ForwardedSignals) {
        sigaddset(&signals, signalNumber);
    }
    sigaddset(&signals, ParentGoneSignal);
    sigaddset(&signals, SIGCHLD);
    return signals;
}

// In a child before its exec: the tool ends when the launcher goes, gets the descriptors
// `moves` names (source, target) and the signal state the launcher was started with.
void prepareChild(pid_t launcher, std::initializer_list<std::pair<int, int>> moves,
                  const sigset_t& startMask) {
    if (!endWithParent(launcher, SIGKILL)) {
        _exit(128 + SIGKILL);
    }
    // First out of the way of every target, then onto the targets: a source may sit on
    // another move's target.
    std::vector<std::pair<int, int>> placed;
    for (const auto& [source, target] : moves) {
        const int moved = fcntl(source, F_DUPFD_CLOEXEC, 10);
        if (moved < 0) {
            _exit(127);
        }
        placed.emplace_back(moved, target);
    }
    for (const auto& [source, target] : placed) {
        if (dup2(source, target) < 0) {
            _exit(127);
        }
    }
    signal(SIGPIPE, SIG_DFL);
    sigprocmask(SIG_SETMASK, &startMask, nullptr);
}

// Runs ffprobe on the job's only input and reads what the row's limits need to know.
SourceFacts probeSource(const std::string& ffprobe, const EncoderCall& call, pid_t launcher,
                        const sigset_t& startMask) {
    int output[2];
    if (ffprobe.empty() || call.inputs.size() != 1 || pipe2(output, O_CLOEXEC) != 0) {
        return {};
    }
    std::vector<std::string> arguments = sourceProbeArguments(call.inputs[0], call.inputFormat);
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
        prepareChild(launcher, {{nothing, 0}, {output[1], 1}, {nothing, 2}}, startMask);
        execTool(kProbe, ffprobe, arguments);
    }
    close(output[1]);
    std::string text;
    const long long deadline = nowMs() + ProbeTimeoutMs;
    bool complete = child > 0;
    while (complete) {
        pollfd readable{output[0], POLLIN, 0};
        const long long left = deadline - nowMs();
        const int ready = left > 0 ? poll(&readable, 1, static_cast<int>(left)) : 0;
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            complete = false;
            break;
        }
        char buffer[4096];
        const ssize_t count = read(output[0], buffer, sizeof buffer);
        if (count == 0) {
            break;
        }
        if (count > 0 && text.size() < 65536) {
            text.append(buffer, static_cast<std::size_t>(count));
        }
    }
    close(output[0]);
    if (child <= 0) {
        return {};
    }
    if (!complete) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return complete && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? parseSourceProbe(text)
                                                                     : SourceFacts{};
}

// Appends the launcher's own statistics lines; the file is emptied at the first line, as
// FFmpeg does with its own.
class StatisticsFile {
public:
    explicit StatisticsFile(std::string path) : m_path(std::move(path)) {}
    ~StatisticsFile() {
        if (m_descriptor >= 0) {
            close(m_descriptor);
        }
    }
    StatisticsFile(const StatisticsFile&) = delete;
    StatisticsFile& operator=(const StatisticsFile&) = delete;

    void write(const std::string& line) {
        if (m_path.empty()) {
            return;
        }
        if (m_descriptor < 0) {
            m_descriptor = open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            // A statistics file that cannot be written costs the progress display, not the
            // conversion: the encode goes on.
            if (m_descriptor < 0) {
                m_path.clear();
                return;
            }
        }
        writeAll(m_descriptor, line.data(), line.size());
    }

private:
    std::string m_path;
    int m_descriptor = -1;
};

// The descriptors through which the launcher stays beside a running FFmpeg.
struct EncoderChannels {
    pid_t encoder = -1;
    int keys = -1;     // FFmpeg's standard input
    int errors = -1;   // FFmpeg's error output
    int progress = -1; // FFmpeg's progress report
    int signals = -1;  // the launcher's signal descriptor
};

// Passes keys, error output and statistics between the program and FFmpeg until FFmpeg has
// ended, and stops FFmpeg when the job is to stop.
class EncoderWatch {
public:
    EncoderWatch(const EncoderChannels& channels, std::string statisticsFile)
        : m_channels(channels), m_statistics(std::move(statisticsFile)) {
        struct stat input {};
        // Only the end of a pipe means that the program is gone: a launcher started by hand
        // may read /dev/null or a terminal.
        m_inputIsChannel = fstat(STDIN_FILENO, &input) == 0 &&
                           (S_ISFIFO(input.st_mode) || S_ISSOCK(input.st_mode));
    }

    EncoderEnd run();

private:
    enum class Stop { None, QuitKey, Terminate, Kill };

    void readSignals();
    void readInput();
    // What one read of a pipe of FFmpeg's brought; nothing at its end (the pipe is then closed)
    // or when a signal came first.
    std::string_view readPipe(int& descriptor);
    void readErrors();
    void readProgress();
    void stopInSteps();
    void nextStopStep();
    void closeChannel(int& descriptor);

    EncoderChannels m_channels;
    StatisticsFile m_statistics;
    ProgressReader m_progressReader;
    IncompleteOutputWatcher m_watcher;
    EncoderEnd m_end;
    bool m_inputIsChannel = false;
    bool m_inputOpen = true;
    bool m_ended = false;
    int m_status = 0;
    Stop m_stop = Stop::None;
    long long m_deadline = -1; // of the current stop step, or of the drain once FFmpeg ended
    char m_buffer[4096];
};

EncoderEnd EncoderWatch::run() {
    while (!m_ended || m_channels.errors >= 0 || m_channels.progress >= 0) {
        std::vector<pollfd> watched;
        watched.push_back({m_channels.signals, POLLIN, 0});
        if (m_inputOpen && !m_ended) {
            watched.push_back({STDIN_FILENO, POLLIN, 0});
        }
        if (m_channels.errors >= 0) {
            watched.push_back({m_channels.errors, POLLIN, 0});
        }
        if (m_channels.progress >= 0) {
            watched.push_back({m_channels.progress, POLLIN, 0});
        }
        const int timeout =
            m_deadline < 0 ? -1 : static_cast<int>(std::max(0LL, m_deadline - nowMs()));
        if (poll(watched.data(), watched.size(), timeout) < 0 && errno != EINTR) {
            break;
        }
        for (const pollfd& entry : watched) {
            if (entry.revents == 0) {
                continue;
            }
            if (entry.fd == m_channels.signals) {
                readSignals();
            } else if (entry.fd == STDIN_FILENO) {
                readInput();
            } else if (entry.fd == m_channels.errors) {
                readErrors();
            } else if (entry.fd == m_channels.progress) {
                readProgress();
            }
        }
        if (m_deadline >= 0 && nowMs() >= m_deadline) {
            nextStopStep();
        }
    }
    closeChannel(m_channels.errors);
    closeChannel(m_channels.progress);
    closeChannel(m_channels.keys);
    if (!m_ended) {
        // The watch itself failed: the job cannot be followed to its end, so it ends now.
        m_end.stopRequested = true;
        kill(m_channels.encoder, SIGKILL);
        while (waitpid(m_channels.encoder, &m_status, 0) < 0 && errno == EINTR) {
        }
    }
    m_end.exitCode = exitCodeOf(m_status);
    m_end.incompleteOutput = m_watcher.reason();
    return m_end;
}

void EncoderWatch::readSignals() {
    signalfd_siginfo received{};
    while (read(m_channels.signals, &received, sizeof received) == sizeof received) {
        const int signalNumber = static_cast<int>(received.ssi_signo);
        if (signalNumber == SIGCHLD) {
            if (!m_ended && waitpid(m_channels.encoder, &m_status, WNOHANG) > 0) {
                m_ended = true;
                m_deadline = nowMs() + DrainMs;
            }
        } else if (m_ended) {
            continue;
        } else if (signalNumber == ParentGoneSignal) {
            m_end.stopRequested = true;
            stopInSteps();
        } else {
            m_end.stopRequested = true;
            kill(m_channels.encoder, signalNumber);
            // FFmpeg stops on the signal; should it hang, it is killed in the end.
            if (m_stop != Stop::Kill) {
                m_stop = Stop::Terminate;
                m_deadline = nowMs() + QuitKeyGraceMs + TerminateGraceMs;
            }
        }
    }
}

void EncoderWatch::readInput() {
    char buffer[4096];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
        return;
    }
    if (count <= 0) {
        m_inputOpen = false;
        if (m_inputIsChannel) {
            m_end.stopRequested = true;
            stopInSteps();
        }
        return;
    }
    if (std::memchr(buffer, 'q', static_cast<std::size_t>(count)) != nullptr) {
        m_end.quitKeySent = true;
    }
    // A key FFmpeg does not take in time is dropped rather than waited for.
    [[maybe_unused]] const ssize_t passed = write(m_channels.keys, buffer, count);
}

std::string_view EncoderWatch::readPipe(int& descriptor) {
    const ssize_t count = read(descriptor, m_buffer, sizeof m_buffer);
    if (count < 0 && errno == EINTR) {
        return {};
    }
    if (count <= 0) {
        closeChannel(descriptor);
        return {};
    }
    return std::string_view(m_buffer, static_cast<std::size_t>(count));
}

void EncoderWatch::readErrors() {
    const std::string_view piece = readPipe(m_channels.errors);
    writeAll(STDERR_FILENO, piece.data(), piece.size());
    m_watcher.feed(piece);
}

void EncoderWatch::readProgress() {
    for (const ProgressReport& report : m_progressReader.feed(readPipe(m_channels.progress))) {
        if (report.last) {
            m_end.nothingWritten = wroteNothing(report);
        }
        // With a video stream FFmpeg writes the file itself, one line per frame.
        if (!report.hasVideo) {
            m_statistics.write(statisticsLine(report));
        }
    }
}

void EncoderWatch::stopInSteps() {
    if (m_stop != Stop::None) {
        return;
    }
    [[maybe_unused]] const ssize_t sent = write(m_channels.keys, "q", 1);
    m_stop = Stop::QuitKey;
    m_deadline = nowMs() + QuitKeyGraceMs;
}

void EncoderWatch::nextStopStep() {
    if (m_ended) {
        // The drain time is over: whatever still holds FFmpeg's pipes is not FFmpeg.
        closeChannel(m_channels.errors);
        closeChannel(m_channels.progress);
        return;
    }
    if (m_stop == Stop::QuitKey) {
        kill(m_channels.encoder, SIGTERM);
        m_stop = Stop::Terminate;
        m_deadline = nowMs() + TerminateGraceMs;
    } else if (m_stop == Stop::Terminate) {
        kill(m_channels.encoder, SIGKILL);
        m_stop = Stop::Kill;
        m_deadline = -1;
    }
}

void EncoderWatch::closeChannel(int& descriptor) {
    if (descriptor >= 0) {
        close(descriptor);
        descriptor = -1;
    }
}

} // namespace

int main(int argc, char** argv) {
    openStandardDescriptors();
    // Keys written after FFmpeg has gone, or error output nobody reads any more, must not end
    // the launcher before it has cleared up.
    signal(SIGPIPE, SIG_IGN);
    const sigset_t handled = handledSignals();
    sigset_t startMask;
    sigprocmask(SIG_BLOCK, &handled, &startMask);
    const int signals = signalfd(-1, &handled, SFD_NONBLOCK | SFD_CLOEXEC);
    const pid_t launcher = getpid();
    // A parent already gone leaves nobody to convert for.
    if (signals < 0 || !endWithParent(getppid(), ParentGoneSignal)) {
        return 127;
    }

    const std::string ffmpeg = findOnPath(kEncoder.name);
    if (ffmpeg.empty()) {
        printLine(missingToolMessage(kEncoder.launcher, kEncoder.name, kEncoder.package));
        return 127;
    }

    const std::vector<std::string> given(argv + 1, argv + argc);
    EncoderCall call = translateEncoderArguments(given, ProgressDescriptor);
    if (call.needsSource) {
        const SourceFacts source = probeSource(findOnPath(kProbe.name), call, launcher, startMask);
        if (source.known) {
            call = translateEncoderArguments(given, ProgressDescriptor, source);
        }
    }
    if (const std::string refusal = inputOverwriteMessage(call); !refusal.empty()) {
        printLine(refusal);
        return 1;
    }

    int keys[2];
    int errors[2];
    int progress[2];
    if (pipe2(keys, O_CLOEXEC) != 0 || pipe2(errors, O_CLOEXEC) != 0 ||
        pipe2(progress, O_CLOEXEC) != 0) {
        printLine(std::string("fp.dll: cannot create a pipe: ") + std::strerror(errno));
        return 1;
    }
    fcntl(keys[1], F_SETFL, O_NONBLOCK);

    const pid_t child = fork();
    if (child < 0) {
        printLine(std::string("fp.dll: cannot start ffmpeg: ") + std::strerror(errno));
        return 1;
    }
    if (child == 0) {
        prepareChild(launcher,
                     {{keys[0], STDIN_FILENO},
                      {errors[1], STDERR_FILENO},
                      {progress[1], ProgressDescriptor}},
                     startMask);
        execTool(kEncoder, ffmpeg, call.arguments);
    }
    close(keys[0]);
    close(errors[1]);
    close(progress[1]);

    EncoderWatch watch({child, keys[1], errors[0], progress[0], signals}, call.statisticsFile);
    const EncoderVerdict verdict = judgeEncoderEnd(watch.run());
    int exitCode = verdict.exitCode;
    for (const TemporaryOutput& output : call.temporaryOutputs) {
        if (!verdict.keepOutput || exitCode != 0) {
            discardOutput(output.temporary);
        } else if (const std::string failure = publishOutput(output.temporary, output.output);
                   !failure.empty()) {
            printLine(failure);
            exitCode = 1;
        }
    }
    if (!verdict.message.empty()) {
        printLine(verdict.message);
    }
    return exitCode;
}
