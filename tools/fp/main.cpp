// fp.dll: the program's encoder. It runs the system's FFmpeg on the program's command line,
// fitted to today's FFmpeg, and stays beside it: FFmpeg writes no statistics file for an
// output without video, so the launcher follows FFmpeg's progress report and writes the
// statistics lines for such jobs itself. FFmpeg shares the launcher's standard input (the
// key "q" written to the launcher stops it), ends when the launcher is ended, and its exit
// code is the launcher's.

#include "launcher/EncoderArguments.h"
#include "launcher/FileIdentity.h"
#include "launcher/Progress.h"
#include "launcher/ToolLookup.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace vidora;

// FFmpeg writes its progress report to this descriptor ("-progress pipe:3").
constexpr int ProgressDescriptor = 3;

constexpr LaunchedTool kEncoder{"fp.dll", "ffmpeg", "ffmpeg"};

constexpr int ForwardedSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

volatile sig_atomic_t encoderProcess = 0;

void forwardSignal(int signalNumber) {
    if (encoderProcess > 0) {
        kill(encoderProcess, signalNumber);
    }
}

// A launcher started with a standard descriptor closed would hand that number to its pipe,
// and FFmpeg would read its keys from the progress report.
void openStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) == -1) {
            open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        }
    }
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
        std::size_t written = 0;
        while (written < line.size()) {
            const ssize_t count =
                ::write(m_descriptor, line.data() + written, line.size() - written);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                return;
            }
            written += static_cast<std::size_t>(count);
        }
    }

private:
    std::string m_path;
    int m_descriptor = -1;
};

[[noreturn]] void runEncoder(const std::string& ffmpeg, std::vector<std::string>& arguments,
                             int progressWriteEnd, pid_t launcher, const sigset_t& oldMask) {
    // FFmpeg stops (and closes its output properly) when the launcher is ended by force.
    if (!endWithParent(launcher, SIGTERM)) {
        _exit(128 + SIGTERM);
    }
    for (int signalNumber : ForwardedSignals) {
        signal(signalNumber, SIG_DFL);
    }
    sigprocmask(SIG_SETMASK, &oldMask, nullptr);

    if (progressWriteEnd == ProgressDescriptor) {
        fcntl(progressWriteEnd, F_SETFD, 0);
    } else if (dup2(progressWriteEnd, ProgressDescriptor) < 0) {
        _exit(127);
    }

    execTool(kEncoder, ffmpeg, arguments);
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

} // namespace

int main(int argc, char** argv) {
    openStandardDescriptors();

    const char* searchPath = std::getenv("PATH");
    const std::string ffmpeg =
        findExecutable("ffmpeg", searchPath ? std::string_view(searchPath) : DefaultSearchPath);
    if (ffmpeg.empty()) {
        std::fprintf(
            stderr, "%s\n",
            missingToolMessage(kEncoder.launcher, kEncoder.name, kEncoder.package).c_str());
        return 127;
    }

    EncoderCall call = translateEncoderArguments(std::vector<std::string>(argv + 1, argv + argc),
                                                 ProgressDescriptor);
    if (const std::string refusal = inputOverwriteMessage(call); !refusal.empty()) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return 1;
    }

    int progressPipe[2];
    if (pipe2(progressPipe, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "fp.dll: cannot create a pipe: %s\n", std::strerror(errno));
        return 1;
    }

    // Signals wait until the encoder's process id is known, then go to it.
    sigset_t forwarded;
    sigset_t oldMask;
    sigemptyset(&forwarded);
    for (int signalNumber : ForwardedSignals) {
        sigaddset(&forwarded, signalNumber);
    }
    sigprocmask(SIG_BLOCK, &forwarded, &oldMask);
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : ForwardedSignals) {
        sigaction(signalNumber, &action, nullptr);
    }

    const pid_t launcher = getpid();
    const pid_t child = fork();
    if (child < 0) {
        std::fprintf(stderr, "fp.dll: cannot start ffmpeg: %s\n", std::strerror(errno));
        return 1;
    }
    if (child == 0) {
        close(progressPipe[0]);
        runEncoder(ffmpeg, call.arguments, progressPipe[1], launcher, oldMask);
    }
    encoderProcess = child;
    sigprocmask(SIG_SETMASK, &oldMask, nullptr);
    close(progressPipe[1]);

    StatisticsFile statistics(call.statisticsFile);
    ProgressReader reader;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(progressPipe[0], buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        for (const ProgressReport& report :
             reader.feed(std::string_view(buffer, static_cast<std::size_t>(count)))) {
            // With a video stream FFmpeg writes the file itself, one line per frame.
            if (!report.hasVideo) {
                statistics.write(statisticsLine(report));
            }
        }
    }
    close(progressPipe[0]);

    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return 1;
        }
    }
    return exitCodeOf(status);
}
