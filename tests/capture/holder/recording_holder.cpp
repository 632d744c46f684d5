// A program that holds a recording of the test pattern with its live picture, for the test
// that ends a program under its recording:
//
//   recording_holder PROGRAM_FOLDER FILE
//     Records into FILE through the program's capture device (the player with no picture
//     output), prints "RECORDER_PID PLAYER_PID" once both run, and waits to be ended.

#include "capture/SystemCaptureDevice.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>

using namespace vidora;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: recording_holder PROGRAM_FOLDER FILE\n");
        return 2;
    }
    setAppFolderForTesting(arguments[1]);
    qputenv(kTestPatternVariable, "1");
    CaptureSession::Tools tools;
    tools.ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    tools.player = AppFolder() + kPlayerFileName;
    tools.playerVideoOutput = QStringLiteral("null");

    SystemCaptureDevice device(nullptr, &tools);
    device.setPreviewWindow(1); // no window: the null output draws nowhere
    device.setSelectedDevice(device.deviceCount() - 1);
    device.setConnected(true);
    device.setCaptureFile(arguments[2]);
    if (!device.startRecording()) {
        std::fprintf(stderr, "%s\n", qPrintable(device.errorText()));
        return 1;
    }
    std::printf("%lld %lld\n", static_cast<long long>(device.session().recorderProcessId()),
                static_cast<long long>(device.session().playerProcessId()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
