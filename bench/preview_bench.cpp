// How long the preview takes to start at a place far into a file against one near its start.
//
//   preview_bench PROGRAM_FOLDER CLIP LENGTH_SECONDS ROUNDS
//     Shows a preview area and releases its slider at 10 % and at 90 % of CLIP, alternating
//     for ROUNDS rounds; each start is timed from the release until MPlayer reports
//     "Starting playback...". Prints both medians and their ratio (target <= 1.5). Needs an
//     X11 display: the player draws into the area's host window as in the program.

#include "platform/Paths.h"
#include "preview/PlayerEmbedding.h"
#include "preview/PreviewArea.h"
#include "preview/PreviewPlayer.h"
#include "preview/PreviewState.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>

using namespace vidora;

namespace {

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    prepareForEmbeddedPlayer();
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: preview_bench PROGRAM_FOLDER CLIP LENGTH_SECONDS ROUNDS\n");
        return 2;
    }
    setAppFolderForTesting(QString::fromLocal8Bit(argv[1]));
    const QString clip = QString::fromLocal8Bit(argv[2]);
    const int length = QByteArray(argv[3]).toInt();
    const int rounds = QByteArray(argv[4]).toInt();

    PreviewArea area;
    area.resize(640, 480);
    area.show();
    PreviewState state;
    PreviewPlayer player(state, mainWindowOptionTexts());
    connectPreview(&area, &player);
    player.useOwnFile(clip);

    QByteArray output;
    QObject::connect(&state, &PreviewState::playerOutput,
                     [&](const QByteArray& piece) { output += piece; });
    // One start at this slider value: the time until playback starts, or -1 after 60 s.
    const auto startAt = [&](int percent) -> double {
        state.endPlayers();
        output.clear();
        state.PreviewLength = length;
        QElapsedTimer clock;
        clock.start();
        player.seek(percent);
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
            if (output.contains("Starting playback") || clock.elapsed() > 60000)
                wait.quit();
        });
        poll.start(5);
        wait.exec();
        return output.contains("Starting playback") ? clock.elapsed() / 1000.0 : -1;
    };

    QList<double> nearStart;
    QList<double> farIn;
    startAt(50); // the first start reads the file into the cache for both
    for (int round = 0; round < rounds; ++round) {
        nearStart << startAt(10);
        farIn << startAt(90);
        if (nearStart.last() < 0 || farIn.last() < 0) {
            std::fprintf(stderr, "the player did not start: %s\n", output.right(500).constData());
            state.endPlayers();
            return 1;
        }
    }
    state.endPlayers();
    const double near = median(nearStart);
    const double far = median(farIn);
    std::printf("start at 10 %%: median %.3f s\n", near);
    std::printf("start at 90 %%: median %.3f s\n", far);
    std::printf("ratio 90 %%/10 %%: %.2f (target <= 1.5)\n", far / near);
    return 0;
}
