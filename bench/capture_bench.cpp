// A recording from the test pattern device while the live picture shows, through the capture
// window and the program's own capture device, as a person would make it.
//
//   capture_bench PROGRAM_FOLDER OUTPUT_FILE SECONDS
//     Opens the capture window on the test pattern (640x480, 25 frames/s), records SECONDS of
//     recorded time, stops, and prints the figures: frames, dropped frames (target 0), the
//     recorded time against the wall time, the AVI's length, and the CPU time of the program
//     itself as a share of the wall time (target <= 2 %) beside that of its tools (FFmpeg and
//     the player).

#include "capture/CaptureWindow.h"
#include "capture/SystemCaptureDevice.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "preview/PlayerEmbedding.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

using namespace vidora;

namespace {

class ToStandardError : public Messages {
public:
    void information(const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void error(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double probedDuration(const QString& file) {
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("format=duration"), QStringLiteral("-of"),
                 QStringLiteral("csv=p=0"), file});
    probe.waitForFinished(30000);
    return QString::fromLatin1(probe.readAllStandardOutput()).trimmed().toDouble();
}

} // namespace

int main(int argc, char** argv) {
    // As the program starts.
    prepareForEmbeddedPlayer();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: capture_bench PROGRAM_FOLDER OUTPUT_FILE SECONDS\n");
        return 2;
    }
    setAppFolderForTesting(arguments[1]);
    ToStandardError messages;
    setMessagesForTesting(&messages);
    const QString file = arguments[2];
    const qint64 recordMs = arguments[3].toLongLong() * 1000;
    qputenv(kTestPatternVariable, "1");

    SystemCaptureDevice device;
    CaptureWindow window(device);
    window.load();
    window.show();
    window.findChild<QWidget*>(QStringLiteral("Text1"))->setProperty("text", file);

    // The live picture settles first, as it does before a person presses "Start capture".
    QEventLoop settle;
    QTimer::singleShot(2000, &settle, &QEventLoop::quit);
    settle.exec();

    const double ownBefore = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer wall;
    wall.start();
    window.startCapture();
    if (!device.isRecording()) {
        std::fprintf(stderr, "the recording did not start\n");
        return 1;
    }
    // A recording that falls far behind the wall clock (or records nothing) ends the bench.
    const qint64 deadlineMs = 2 * recordMs + 30000;
    QEventLoop recording;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (device.statistics().elapsedMs >= recordMs || !device.isRecording() ||
            wall.elapsed() > deadlineMs)
            recording.quit();
    });
    poll.start(100);
    recording.exec();
    const bool recordedInTime = device.statistics().elapsedMs >= recordMs;
    window.stopCapture();
    const double wallSeconds = double(wall.elapsed()) / 1000.0;
    const double ownSeconds = cpuSeconds(RUSAGE_SELF) - ownBefore;
    const CaptureStatistics figures = device.statistics();
    window.close();
    // The tools have ended (the window ended them) and been waited for: their CPU is counted.
    const double toolSeconds = cpuSeconds(RUSAGE_CHILDREN);

    std::printf("frames recorded        %lld\n", static_cast<long long>(figures.framesCaptured));
    std::printf("frames dropped         %lld   (target 0)\n",
                static_cast<long long>(figures.framesDropped));
    std::printf("recorded time          %.2f s in %.2f s wall\n", double(figures.elapsedMs) / 1000,
                wallSeconds);
    std::printf("AVI length (ffprobe)   %.2f s\n", probedDuration(file));
    std::printf("program's own CPU      %.2f s = %.2f %% of the wall time   (target <= 2 %%)\n",
                ownSeconds, 100.0 * ownSeconds / wallSeconds);
    std::printf("tools' CPU             %.2f s = %.1f %% of the wall time (FFmpeg and the player, "
                "with the live picture before the recording)\n",
                toolSeconds, 100.0 * toolSeconds / wallSeconds);
    setMessagesForTesting(nullptr);
    if (!recordedInTime) {
        std::fprintf(stderr, "the recording ended or stalled before %lld s were recorded\n",
                     static_cast<long long>(recordMs / 1000));
        return 1;
    }
    return figures.framesDropped == 0 ? 0 : 1;
}
